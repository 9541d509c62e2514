// One LV2 instance of the effect: takes the host's ports and drives the effect through its own
// operations, as the VST adapter's host does: parameters, then MIDI events, then the block.
#pragma once

#include <cstdint>
#include <optional>

#include "AtomMidiReader.h"
#include "Ferrowin.h"
#include "lv2/core/lv2.h"

class Lv2Adapter {
 public:
  static constexpr const char* kUri = "urn:ferrowin:lv2:ferrowin";

  // Port indices: each parameter at its own index, then the audio and the MIDI ports.
  static constexpr uint32_t kAudioInLeft = kNumParameters;
  static constexpr uint32_t kAudioInRight = kAudioInLeft + 1;
  static constexpr uint32_t kAudioOutLeft = kAudioInLeft + 2;
  static constexpr uint32_t kAudioOutRight = kAudioInLeft + 3;
  static constexpr uint32_t kMidiIn = kAudioInLeft + 4;
  static constexpr uint32_t kNumPorts = kMidiIn + 1;

  // The rates the effect is made for; the coefficients are not checked beyond them.
  static constexpr double kLowestRateHz = 1.0;
  static constexpr double kHighestRateHz = 1.0e6;

  // Null for a rate outside kLowestRateHz..kHighestRateHz, or without memory. MIDI needs the
  // host's URID map among `features`; without it the MIDI port is ignored.
  static Lv2Adapter* create(double rateHz, const LV2_Feature* const* features);

  void connect(uint32_t port, void* data);
  // A host that deactivates and activates an instance again expects it to forget its history:
  // an instance that has run starts from a new effect, which the ports' values then reach.
  void activate();
  void deactivate();
  void run(uint32_t frames);

 private:
  Lv2Adapter(float rateHz, const LV2_Feature* const* features);

  // A new effect at the instance's rate, holding the defaults until the next run.
  void renew();
  // Passes each control port whose value differs from the last one passed (at first, the
  // program's) to setParameter, as a host passes the parameters it changes; so a port's value
  // means what a normalized parameter value means, and the effect hears no other call.
  void applyChangedControls();
  void passMidi();
  // Frames `offset` to `offset + frames` of the connected buffers.
  void process(uint32_t offset, uint32_t frames);

  float rateHz;
  std::optional<Ferrowin> effect;
  bool hasRun = false;  // since the effect was made
  AtomMidiReader midi;
  const float* controls[kNumParameters] = {};
  uint32_t appliedBits[kNumParameters] = {};  // the bits of the value last passed on
  const float* inputs[2] = {};
  float* outputs[2] = {};
  const LV2_Atom_Sequence* midiIn = nullptr;
};

// One instance of the plug-in in the test host, with its port buffers: controls at their
// defaults, stereo audio in and out, and a MIDI sequence for the atom port.
#pragma once

#include <lilv/lilv.h>

#include <cstdint>
#include <vector>

#include "Lv2TestHost.h"

struct MidiAt {
  long frame;  // from the start of the render
  uint8_t bytes[3];
};

class Lv2TestInstance {
 public:
  // With `withFeatures` false the plug-in gets no feature at all.
  Lv2TestInstance(Lv2TestHost& host, double rateHz, bool withFeatures = true);
  ~Lv2TestInstance();
  Lv2TestInstance(const Lv2TestInstance&) = delete;
  Lv2TestInstance& operator=(const Lv2TestInstance&) = delete;

  bool valid() const { return instance != nullptr; }
  // Connects every port to the test host's buffers (done on construction).
  void connectAll();
  LilvInstance* lilv() const { return instance; }
  // The control port's value; false for an unknown symbol.
  bool set(const char* symbol, float value);
  float* control(const char* symbol);
  LV2_URID floatType() const { return atomFloat; }
  // Runs interleaved stereo `input` through in blocks of `block` frames (at most
  // Lv2TestHost::kMaxBlock), each block's MIDI before it; returns the interleaved output, NaN
  // where the plug-in wrote nothing.
  std::vector<float> render(const std::vector<float>& input, int block,
                            const std::vector<MidiAt>& midi = {});
  // The atom port's buffer, for sequences made by hand.
  uint8_t* atomBuffer() { return reinterpret_cast<uint8_t*>(sequence.data()); }
  size_t atomBufferBytes() const { return sequence.size() * sizeof(uint64_t); }

 private:
  // Writes the events of frames [from, from + frames) into the atom buffer.
  void writeSequence(const std::vector<MidiAt>& midi, long from, int frames);

  Lv2TestHost& host;
  LilvInstance* instance = nullptr;
  std::vector<float> controls;
  std::vector<float> audio[4];     // in left, in right, out left, out right
  std::vector<uint64_t> sequence;  // 64-bit aligned, as atoms are
  LV2_URID atomFloat;
  LV2_URID midiType;
};

// The effect: owns the modules, the program table and the editor, and answers the host.
//
// Threads: a host may set parameters on any thread while another processes. setParameter
// stores the normalized value, which getParameter and the display texts read at once, and
// records the change; the working values and the modules' settings belong to the audio side
// (processReplacing, processModuleChain, processEvents, setSampleRate), which applies the
// recorded changes in their order before it does anything else. A sequence of calls on one
// thread therefore works as if every change were applied when it is made.
#pragma once

#include <atomic>

#include "AudioEffectX.h"
#include "EnvelopeFollover.h"
#include "FMOscilator.h"
#include "FastChain.h"
#include "MoogFilter.h"
#include "NoiseOscilator.h"
#include "NoteTable.h"
#include "ParameterChanges.h"
#include "ProgramRecord.h"
#include "WaveShaper.h"

class Ferrowin final : public AudioEffectX {
 public:
  static constexpr VstInt32 kNumPrograms = 1;
  static constexpr VstInt32 kNumParams = kNumParameters;
  static constexpr VstInt32 kUniqueId = fourCharCode('F', 'r', 'w', '2');
  static constexpr VstInt32 kNoKey = -1;

  explicit Ferrowin(audioMasterCallback audioMaster);
  ~Ferrowin() override;

  // Audio and MIDI (FerrowinProcess.cpp).
  void resume() override;
  void setSampleRate(float rateHz) override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  // The same chain one module call at a time: the readable statement of what
  // processReplacing computes, bit for bit, in a fraction of the time.
  void processModuleChain(float** inputs, float** outputs, VstInt32 sampleFrames);
  VstInt32 processEvents(VstEvents* events) override;
  // The fast path's encoding: the processor's best unless a benchmark or test compares them.
  void setInstructionSet(InstructionSet set) { instructionSet = set; }

  // Parameters and programs (FerrowinParameters.cpp).
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

  // Identity and capabilities.
  VstInt32 getChunk(void** data, bool isPreset) override;
  VstInt32 getNumMidiInputChannels() override { return 1; }
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override { return 1; }
  VstInt32 canDo(char* text) override;
  VstPlugCategory getPlugCategory() override { return kPlugCategEffect; }

 private:
  // The parameter rows set and read the working values; tests observe them through a probe.
  friend struct ParameterTable;
  friend struct FerrowinProbe;

  void askForMidi();
  // The audio side's first step: applies the changes recorded since its last one.
  void applyParameterChanges();
  // The normalized value last set, or the default without a program.
  float valueOf(VstInt32 index) const;
  void trackKey(int key);
  // What the fast path works on: the modules, and the effect's values the chain reads.
  FastChain::Modules chainModules();
  FastChain::Settings chainSettings() const;
  FollowerControls followerControls() const;
  static bool buffersUsable(float** inputs, float** outputs, VstInt32 sampleFrames);
  ProgramRecord* currentProgram() const { return programs ? &programs[curProgram] : nullptr; }

  const NoteTable* noteTable;
  ProgramRecord* programs = nullptr;  // kNumPrograms records; null if allocation failed
  ParameterChanges parameterChanges;  // from the host's threads to the audio side
  // The number each display shows, fixed when its value is set: the cutoff's Hz belong to the
  // rate in force then, and a later rate change leaves them, as it leaves the filter's Hz.
  std::atomic<float> shownValues[kNumParameters] = {};
  EnvelopeFollover follower1;  // "EF1": scales oscillator and noise levels
  EnvelopeFollover follower2;  // "EF2": moves cutoff and oscillator frequency
  NoiseOscilator noise;
  MoogFilter filterLeft;
  MoogFilter filterRight;
  FMOscilator oscillator;
  WaveShaper shaper;
  VstInt32 trackedNote = kNoKey;  // key of the last note-on that set the offsets, 0..127
  // The fast path's encoding; tests run each one the processor has.
  InstructionSet instructionSet = InstructionSets::best();

  float noiseAmount = 0.25f;     // base noise level, 0..0.25
  float oscAmount = 0.25f;       // base oscillator level, 0..1
  float ef2CutoffDepth = 0.0f;   // -1..1
  float ef2FmDepth = 0.0f;       // Hz, -1000..1000
  float ef1OscDepth = 0.5f;      // 0..1, 0.5 = no modulation
  float ef1NoiseDepth = 0.5f;    // 0..1, 0.5 = no modulation
  float dry2Filter = 0.5f;       // level of the input copied into the generator path
  float dryLevel = 1.0f;         // level of the unprocessed input in the output
  float filterKeyTrack = 0.0f;   // 0..1
  float oscKeyTrack = 0.0f;      // 0..1
  float filterKeyOffset = 0.0f;  // cutoff offset from key tracking, fraction of Nyquist
  float oscKeyOffset = 0.0f;     // oscillator offset from key tracking, Hz

  // The chunk is a fixed marker; the host saves the state through the parameters instead.
  char chunk[10] = "Test Data";
};

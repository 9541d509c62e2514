// The effect as a host gets it, created through the library's entry point with a host stub, for
// the fuzzers.
#pragma once

#include <vector>

#include "FuzzInput.h"
#include "VstInterface.h"

class FuzzedEffect {
 public:
  FuzzedEffect();   // opened, at 44100 Hz, 512-frame blocks, processing on
  ~FuzzedEffect();  // effClose unless the fuzzer closed it
  FuzzedEffect(const FuzzedEffect&) = delete;
  FuzzedEffect& operator=(const FuzzedEffect&) = delete;

  AEffect* record() const { return effect; }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  void closed() { effect = nullptr; }

  // One processReplacing call of `frames` frames (at most kMaxFrames) of the input's samples.
  void process(FuzzInput& input, int frames, bool inPlace = false, bool mono = false);
  // Hands the plug-in a list of up to 64 events whose bytes come from the input.
  void sendEvents(FuzzInput& input);

  static constexpr int kMaxFrames = 1024;

 private:
  AEffect* effect;
  std::vector<float> buffers[4];
};

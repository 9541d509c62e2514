// Audio buffers for checking a plug-in's processing: white noise in, every output sample
// scanned for NaN, infinity and subnormal values, and guard zones around every channel buffer
// that reveal writes before the start or past the end of a block.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "PluginInstance.h"

struct BlockScan {
  long frames = 0;
  long nans = 0;
  long infinities = 0;
  long subnormals = 0;
  long guardWrites = 0;  // samples written outside the block
  long allocations = 0;  // heap allocations inside processReplacing, when counted
  float peak = 0.0f;

  bool clean() const { return nans == 0 && infinities == 0 && subnormals == 0 && guardWrites == 0; }
  void add(const BlockScan& other);
  // "20480 frames, peak 0.98" when clean; the faults found otherwise.
  std::string figure() const;
};

class AudioBench {
 public:
  AudioBench(const AEffect& record, int maxFrames);

  // One processReplacing call of `frames` frames of noise at about -6 dBFS (0 frames allowed).
  // In place, the inputs are the output buffers.
  void run(PluginInstance& plugin, int frames, bool inPlace, std::mt19937& random, BlockScan* scan);

  // Appends the last block's output, channel after channel, to `samples`.
  void appendOutput(int frames, std::vector<float>* samples) const;

  // Counts heap allocations inside processReplacing (see AllocationHook.h).
  bool countAllocations = false;
  // Feeds silence instead of noise (the random source is left untouched).
  bool silentInput = false;
  // The outputs whose samples are scanned, from the first (guard zones are checked on all).
  size_t scannedOutputs = SIZE_MAX;

 private:
  static constexpr int kGuardFrames = 64;

  std::vector<std::vector<float>> inputBuffers;
  std::vector<std::vector<float>> outputBuffers;
  std::vector<float*> inputPointers;
  std::vector<float*> outputPointers;
  int maxFrames;
};

// The base of every signal-processing module: processes one frame in place and knows the
// sample rate. A frame is float[channelCount]: index 0 left, index 1 right.
#pragma once

#include "NoteTable.h"

class AudioModule {
 public:
  AudioModule() : noteTable(&NoteTable::instance()) {}
  virtual ~AudioModule() = default;

  virtual void process(float* /*frame*/) {}
  virtual void setSampleRate(float rateHz) { sampleRate = rateHz; }

  const NoteTable* noteTable;   // shared, read only
  float sampleRate = 44100.0f;  // Hz
  int channelCount = 1;         // frame values the module reads, 1..kFrameChannels

  // A frame never holds more; the loops over a frame stop there whatever channelCount says.
  static constexpr int kFrameChannels = 2;
};

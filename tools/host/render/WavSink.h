// WAV output through libsndfile: stereo, 32-bit float samples.
#pragma once

#include <string>

#include "AudioSink.h"
#include "PendingFile.h"

struct sf_private_tag;

class WavSink : public AudioSink {
 public:
  // Creates the file under a temporary name; throws std::runtime_error when it cannot.
  WavSink(const std::string& path, int sampleRateHz);
  ~WavSink() override;
  WavSink(const WavSink&) = delete;
  WavSink& operator=(const WavSink&) = delete;

  void write(const float* samples, int64_t count) override;
  void commit() override;

 private:
  PendingFile pending;
  int descriptor = -1;
  sf_private_tag* file = nullptr;
};

// Raw input: 32-bit float little-endian samples, interleaved stereo, no header; the sample rate
// comes from the command line. The exchange format of builds without a sound-file library.
#pragma once

#include <cstdio>
#include <string>

#include "AudioSource.h"

class RawSource : public AudioSource {
 public:
  // Throws std::runtime_error when the file cannot be opened or is not whole frames.
  RawSource(const std::string& path, int sampleRateHz);
  ~RawSource() override;
  RawSource(const RawSource&) = delete;
  RawSource& operator=(const RawSource&) = delete;

  int sampleRateHz() const override { return rateHz; }
  int channels() const override { return 2; }
  int64_t frames() const override { return frameCount; }
  void read(float* samples, int64_t count) override;

 private:
  std::string path;
  std::FILE* file = nullptr;
  int rateHz;
  int64_t frameCount = 0;
};

// WAV output through libsndfile: stereo, 32-bit float samples.
#pragma once

#include <cstdint>
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

  // A WAV file states its sizes in 32 bits; a kilobyte is left for the header's chunks.
  static constexpr int64_t kMaxFrames = (int64_t{0xFFFFFFFF} - 1024) / (2 * sizeof(float));

 private:
  PendingFile pending;
  int descriptor = -1;
  sf_private_tag* file = nullptr;
};

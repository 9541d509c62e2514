// WAV input through libsndfile: mono or stereo, 16- or 24-bit PCM or 32-bit float, read as
// floats (PCM scaled so that full scale is 1.0). The path is opened once, so a pipe works, and
// a header that leaves the data's length unknown (0 or all ones, as a writer to a stream leaves
// it) is read to the end of the data.
#pragma once

#include <string>

#include "AudioSource.h"

struct sf_private_tag;

class WavSource : public AudioSource {
 public:
  // Throws std::runtime_error when the file cannot be read or its format is not supported.
  explicit WavSource(const std::string& path);
  ~WavSource() override;
  WavSource(const WavSource&) = delete;
  WavSource& operator=(const WavSource&) = delete;

  int sampleRateHz() const override { return rateHz; }
  int channels() const override { return channelCount; }
  int64_t frames() const override { return frameCount; }
  int64_t statedFrames() const override { return stated; }
  void read(float* samples, int64_t count) override;

 private:
  std::string path;
  int descriptor = -1;  // the one open of the path, closed after libsndfile's
  sf_private_tag* file = nullptr;
  int rateHz = 0;
  int channelCount = 0;
  int64_t frameCount = 0;
  int64_t stated = 0;
};

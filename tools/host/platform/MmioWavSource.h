// WAV input on Windows through the system's multimedia file functions (RIFF chunks through
// mmio): mono or stereo, 16- or 24-bit PCM or 32-bit float, plain or extensible format, read as
// floats scaled as the native build scales them (full scale of n bits is 2^(n-1)). Files up to
// 2 GiB, the reach of mmio's offsets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AudioSource.h"

struct HMMIO__;

class MmioWavSource : public AudioSource {
 public:
  // Throws std::runtime_error when the file cannot be read or its format is not supported.
  explicit MmioWavSource(const std::string& path);
  ~MmioWavSource() override;
  MmioWavSource(const MmioWavSource&) = delete;
  MmioWavSource& operator=(const MmioWavSource&) = delete;

  int sampleRateHz() const override { return rateHz; }
  int channels() const override { return channelCount; }
  int64_t frames() const override { return frameCount; }
  int64_t statedFrames() const override { return stated; }
  void read(float* samples, int64_t count) override;

 private:
  void readFormat();
  [[noreturn]] void fail(const std::string& message);

  std::string path;
  HMMIO__* file = nullptr;
  int rateHz = 0;
  int channelCount = 0;
  int sampleBytes = 0;  // 2 or 3 for PCM, 4 for float
  bool floating = false;
  int64_t frameCount = 0;
  int64_t stated = 0;
  std::vector<unsigned char> bytes;  // one block as stored
};

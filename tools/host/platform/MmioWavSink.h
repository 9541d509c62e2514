// WAV output on Windows through the system's multimedia file functions (RIFF chunks through
// mmio): stereo, 32-bit float, with the fact chunk a non-PCM format carries. At most 2 GiB of
// samples, the reach of mmio's offsets.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "AudioSink.h"
#include "PendingFile.h"

class MmioWavSink : public AudioSink {
 public:
  // Creates the file under a temporary name; throws std::runtime_error when it cannot.
  MmioWavSink(const std::string& path, int sampleRateHz);
  ~MmioWavSink() override;
  MmioWavSink(const MmioWavSink&) = delete;
  MmioWavSink& operator=(const MmioWavSink&) = delete;

  void write(const float* samples, int64_t count) override;
  void commit() override;

  // mmio's offsets are signed 32-bit: the whole file must stay below 2 GiB.
  static constexpr int64_t kMaxFrames = (LONG_MAX - 4096) / (2 * sizeof(float));

 private:
  [[noreturn]] void fail();

  PendingFile pending;
  HMMIO file = nullptr;
  MMCKINFO riff{};  // open until commit(), which has mmio fill in their sizes
  MMCKINFO data{};
  LONG factValue = 0;  // where the frame count goes
  int64_t frames = 0;
};

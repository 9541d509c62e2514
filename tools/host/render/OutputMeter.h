// Peak and RMS level of each output channel over a whole render, for the summary line.
#pragma once

#include <cstdint>
#include <string>

class OutputMeter {
 public:
  // Adds `count` interleaved stereo frames.
  void add(const float* samples, int64_t count);

  int64_t frames() const { return frameCount; }
  double peak(int channel) const { return peaks[channel]; }  // largest magnitude
  double rms(int channel) const;                             // 0 when nothing was added
  // "frames: N, peak: L R, rms: L R"
  std::string summary() const;

 private:
  int64_t frameCount = 0;
  double peaks[2] = {0.0, 0.0};
  double squares[2] = {0.0, 0.0};  // sums in double: a long file of floats would lose bits
};

// Peak and RMS level of each output channel over a whole render, for the summary line, and the
// count of samples that are not finite (NaN or infinity; left out of the levels) and of
// subnormal ones (which slow down whatever processes them next).
#pragma once

#include <cstdint>
#include <string>

class OutputMeter {
 public:
  // Adds `count` interleaved stereo frames.
  void add(const float* samples, int64_t count);

  int64_t frames() const { return frameCount; }
  double peak(int channel) const { return peaks[channel]; }  // largest finite magnitude
  double rms(int channel) const;                             // 0 when nothing was added
  int64_t nonFinite() const { return nonFiniteCount; }       // samples, both channels
  // "frames: N, peak: L R dBFS, rms: L R dBFS, non-finite: K" (silence is -inf dBFS), and
  // ", subnormal: S" when there are any
  std::string summary() const;

 private:
  int64_t frameCount = 0;
  int64_t nonFiniteCount = 0;
  int64_t subnormalCount = 0;
  double peaks[2] = {0.0, 0.0};
  double squares[2] = {0.0, 0.0};  // sums in double: a long file of floats would lose bits
};

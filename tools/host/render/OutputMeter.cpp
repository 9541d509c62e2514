#include "OutputMeter.h"

#include <cmath>
#include <cstdio>

void OutputMeter::add(const float* samples, int64_t count) {
  for (int64_t i = 0; i < count; ++i) {
    for (int c = 0; c < 2; ++c) {
      const double x = samples[2 * i + c];
      peaks[c] = std::fmax(peaks[c], std::fabs(x));
      squares[c] += x * x;
    }
  }
  frameCount += count;
}

double OutputMeter::rms(int channel) const {
  return frameCount > 0 ? std::sqrt(squares[channel] / static_cast<double>(frameCount)) : 0.0;
}

std::string OutputMeter::summary() const {
  char text[160];
  std::snprintf(text, sizeof text, "frames: %lld, peak: %.6f %.6f, rms: %.6f %.6f",
                static_cast<long long>(frameCount), peaks[0], peaks[1], rms(0), rms(1));
  return text;
}

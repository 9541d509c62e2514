#include "OutputMeter.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

void OutputMeter::add(const float* samples, int64_t count) {
  for (int64_t i = 0; i < count; ++i) {
    for (int c = 0; c < 2; ++c) {
      const double x = samples[2 * i + c];
      if (!std::isfinite(x)) {
        ++nonFiniteCount;
        continue;
      }
      if (x != 0.0 && std::fabs(x) < FLT_MIN) ++subnormalCount;
      peaks[c] = std::fmax(peaks[c], std::fabs(x));
      squares[c] += x * x;
    }
  }
  frameCount += count;
}

double OutputMeter::rms(int channel) const {
  return frameCount > 0 ? std::sqrt(squares[channel] / static_cast<double>(frameCount)) : 0.0;
}

namespace {

// Full scale is 1.0; silence is "-inf".
std::string decibels(double level) {
  if (level <= 0.0) return "-inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", 20.0 * std::log10(level));
  return text;
}

}  // namespace

std::string OutputMeter::summary() const {
  return "frames: " + std::to_string(frameCount) + ", peak: " + decibels(peaks[0]) + " " +
         decibels(peaks[1]) + " dBFS, rms: " + decibels(rms(0)) + " " + decibels(rms(1)) +
         " dBFS, non-finite: " + std::to_string(nonFiniteCount) +
         (subnormalCount > 0 ? ", subnormal: " + std::to_string(subnormalCount) : "");
}

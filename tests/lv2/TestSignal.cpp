#include "TestSignal.h"

#include <cmath>
#include <cstdint>

std::vector<float> testSignal(int frames, int rateHz) {
  std::vector<float> samples(2 * static_cast<size_t>(frames));
  uint32_t noise = 12345;
  const double twoPi = 2.0 * std::acos(-1.0);
  for (int n = 0; n < frames; ++n) {
    const double t = static_cast<double>(n) / rateHz;
    const float burst = (n / (rateHz / 10)) % 2 == 1 ? 0.4f : 0.02f;
    noise = noise * 1664525u + 1013904223u;
    const float white = static_cast<float>(noise >> 8) / 8388608.0f - 1.0f;  // -1..1
    samples[2 * n] = static_cast<float>(0.3 * std::sin(twoPi * 220.0 * t)) + burst * white;
    samples[2 * n + 1] = static_cast<float>(0.3 * std::sin(twoPi * 331.0 * t)) - burst * white;
  }
  return samples;
}

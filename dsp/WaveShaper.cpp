#include "WaveShaper.h"

#include <cmath>

WaveShaper::WaveShaper() { channelCount = 2; }

float WaveShaper::fold(float y, float threshold) {
  // fmod keeps the dividend's sign, so values below -threshold fold the same way mirrored.
  const float r = std::fmod(y - threshold, 4.0f * threshold);
  return std::fabs(std::fabs(r) - 2.0f * threshold) - threshold;
}

#include "FollowerControls.h"

#include <limits>

namespace {
constexpr float kInfinity = std::numeric_limits<float>::infinity();
}  // namespace

FollowerControls::FollowerControls(float noiseAmount, float oscAmount, float noiseDepth,
                                   float oscDepth, float cutoffDepth, float frequencyDepthHz,
                                   float cutoffKeyOffset, float frequencyKeyOffsetHz)
    : noiseLevel{noiseDepth - 0.5f, 4.0f, noiseAmount, 0.0f, 1.0f},
      oscillatorLevel{oscDepth - 0.5f, 4.0f, oscAmount, 0.0f, 1.0f},
      frequencyOffset{frequencyDepthHz, 1.0f, frequencyKeyOffsetHz, -kInfinity, kInfinity},
      cutoffOffset{cutoffDepth, 1.0f, cutoffKeyOffset, -kInfinity, kInfinity} {}

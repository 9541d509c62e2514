#include "EnvelopeFollover.h"

#include "RoundedMath.h"

namespace {

// The one-pole coefficient that shrinks the remaining distance to 1 % (-40 dB) in
// lengthSamples. A length that is not positive (a nonsense rate or smoothing) follows at once,
// which keeps the coefficient in 0..1 and the filter stable.
float coefficientFor(float lengthSamples) {
  if (!(lengthSamples > 0.0f)) return 0.0f;
  return rounded::exp(rounded::log(0.01f) / lengthSamples);
}

}  // namespace

EnvelopeFollover::EnvelopeFollover() {
  channelCount = 2;
  updateCoefficients();
}

void EnvelopeFollover::setSampleRate(float rateHz) {
  sampleRate = rateHz;
  updateCoefficients();
}

void EnvelopeFollover::setSmoothing(float value) {
  smoothing = value;
  updateCoefficients();
}

void EnvelopeFollover::updateCoefficients() {
  const float timeMs = smoothing * 1000.0f + 1.0f;
  const float riseSamples = sampleRate * timeMs * 0.001f;
  const float fallSamples = timeMs * 0.25f * sampleRate * 0.001f;
  riseCoefficient = coefficientFor(riseSamples);
  fallCoefficient = coefficientFor(fallSamples);
}

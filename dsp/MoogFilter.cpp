#include "MoogFilter.h"

#include <cmath>

#include "RoundedMath.h"

MoogFilter::MoogFilter() { setCutoff(1.0f); }

float MoogFilter::cutoffOf(float x) const {
  return (rounded::exp(10.0f * (x * mapSlope + mapOffset)) - 1.0f) / (rounded::exp(10.0f) - 1.0f);
}

void MoogFilter::setCutoff(float x) {
  cutoff = cutoffOf(x);
  cutoffHz = hzOf(cutoff);
  updateCoefficients(cutoff);
}

void MoogFilter::setSampleRate(float rateHz) {
  // A zero, negative or infinite rate would turn the map and the cutoff into inf or NaN,
  // which the ladder's state would then carry for the rest of its life.
  if (!(rateHz > 0.0f) || !std::isfinite(rateHz)) return;
  // The map's floor is tied to the frequency of C1 (32.70318 Hz) at the new rate.
  mapOffset = 100.0f * rounded::log10(1.0f + 9.0f * 32.70318f / rateHz);
  mapSlope = 1.0f - mapOffset;
  const float kept = sampleRate * cutoff / rateHz;
  cutoff = kept > 1.0f ? 1.0f : kept;
  sampleRate = rateHz;
  updateCoefficients(cutoff);
}

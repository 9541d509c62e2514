#include "FMWavetables.h"

#include "RoundedMath.h"

FMWavetables::FMWavetables() {
  // The step is the single-precision constant, slightly below 2 pi / 25000.
  const float sineStep = 0.0002513272f;
  const float rampStep = 0.00008f;      // 2 / 25000
  const float triangleStep = 0.00016f;  // 4 / 25000
  const int half = kLength / 2;
  const int quarter = kLength / 4;
  for (int j = 0; j < kLength; ++j) {
    sineTable[j] = rounded::sin(static_cast<float>(j) * sineStep);
    rampTable[j] = 1.0f - static_cast<float>(j) * rampStep;
    // A rising then falling line from -1, moved back a quarter period so that it starts at 0.
    const float t = j < half ? static_cast<float>(j) * triangleStep - 1.0f
                             : 1.0f - static_cast<float>(j - half) * triangleStep;
    triangleTable[(j - quarter + kLength) % kLength] = t;
  }
}

const FMWavetables& FMWavetables::instance() {
  // A function-local static is initialised exactly once, and other threads wait for it.
  static const FMWavetables tables;
  return tables;
}

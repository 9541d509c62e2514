// The left and right channels side by side in one SSE register, lane 0 left and lane 1 right;
// lanes 2 and 3 repeat them, so that they never hold anything a division could turn into a
// NaN. Each operator is the one single-precision instruction of the float operation, so the
// modules' per-sample templates give every lane the bits of the float form.
#pragma once

#include <emmintrin.h>

#include "SampleOps.h"

namespace sample {

struct Lanes {
  __m128 v;

  Lanes() = default;
  Lanes(__m128 x) : v(x) {}  // NOLINT(google-explicit-constructor): a register is its lanes
  explicit Lanes(float x) : v(_mm_set1_ps(x)) {}
  operator __m128() const { return v; }  // NOLINT(google-explicit-constructor)
};

inline Lanes operator+(Lanes a, Lanes b) { return _mm_add_ps(a.v, b.v); }
inline Lanes operator-(Lanes a, Lanes b) { return _mm_sub_ps(a.v, b.v); }
inline Lanes operator*(Lanes a, Lanes b) { return _mm_mul_ps(a.v, b.v); }
inline Lanes operator/(Lanes a, Lanes b) { return _mm_div_ps(a.v, b.v); }

// maxps(a, b) gives a only where a > b and minps(a, b) only where a < b, so a NaN passes
// through both, as it does through the float form's comparisons.
inline Lanes clampUnit(Lanes x) {
  return _mm_min_ps(_mm_set1_ps(1.0f), _mm_max_ps(_mm_setzero_ps(), x.v));
}

// The sign flipped where x < 0: -0 and NaN keep theirs, as in the float form.
inline Lanes magnitude(Lanes x) {
  const __m128 negative = _mm_cmplt_ps(x.v, _mm_setzero_ps());
  return _mm_xor_ps(x.v, _mm_and_ps(negative, _mm_set1_ps(-0.0f)));
}

// x, or 1 where x is above 1 or NaN: minps(a, b) gives a only where a < b.
inline Lanes atMostOne(Lanes x) { return _mm_min_ps(x.v, _mm_set1_ps(1.0f)); }

// a > b ? whenGreater : otherwise, lane by lane; the exclusive or of the two choices is the
// same every frame where they are, and so leaves the loop.
inline Lanes ifGreater(Lanes a, Lanes b, Lanes whenGreater, Lanes otherwise) {
  const __m128 difference = _mm_xor_ps(whenGreater.v, otherwise.v);
  return _mm_xor_ps(otherwise.v, _mm_and_ps(_mm_cmpgt_ps(a.v, b.v), difference));
}

}  // namespace sample

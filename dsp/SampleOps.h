// The operations whose form depends on the sample type, for the modules' per-sample
// arithmetic written once as templates: these are the float forms, in the order of
// comparisons the modules have always used (a NaN passes a clamp). A vector sample type
// declared in this namespace supplies its own overloads with the same results; the templates
// call them unqualified, after using-declarations of these, so that both are found.
#pragma once

namespace sample {

// x < 0 ? 0 : (x > 1 ? 1 : x).
inline float clampUnit(float x) { return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x); }

// x < 0 ? -x : x.
inline float magnitude(float x) { return x < 0.0f ? -x : x; }

// x < low ? low : (x > high ? high : x).
inline float clampTo(float x, float low, float high) {
  return x < low ? low : (x > high ? high : x);
}

// x, or 1 where x is above 1 or NaN.
inline float atMostOne(float x) { return x <= 1.0f ? x : 1.0f; }

// a > b ? whenGreater : otherwise.
inline float ifGreater(float a, float b, float whenGreater, float otherwise) {
  return a > b ? whenGreater : otherwise;
}

// x - x is 0 exactly for finite x and NaN otherwise: the test costs no library call.
inline bool allFinite(float x) { return x - x == 0.0f; }

// value where test is finite, 0 elsewhere.
inline float whereFinite(float value, float test) { return allFinite(test) ? value : 0.0f; }

// A sample that is not finite (NaN, +-infinity) read as silence.
inline float finiteOrZero(float x) { return whereFinite(x, x); }

}  // namespace sample

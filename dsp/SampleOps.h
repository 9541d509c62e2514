// The operations whose form depends on the sample type, for the modules' per-sample
// arithmetic written once as templates: these are the float forms, in the order of
// comparisons the modules have always used (a NaN passes a clamp). A vector sample type
// supplies its own overloads with the same results where the chain needs them.
#pragma once

namespace sample {

// x < 0 ? 0 : (x > 1 ? 1 : x).
inline float clampUnit(float x) { return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x); }

// x < 0 ? -x : x.
inline float magnitude(float x) { return x < 0.0f ? -x : x; }

}  // namespace sample

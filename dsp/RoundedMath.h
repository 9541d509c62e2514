// Single-precision exp, log, sin and cos that give the same bits in every build. The float
// routines of the two C runtimes disagree in the last bit for many arguments, so each is
// evaluated in double and rounded to float once. For set-up code only, never per sample.
#pragma once

#include <cmath>

namespace rounded {

inline float exp(float x) { return static_cast<float>(std::exp(static_cast<double>(x))); }
inline float log(float x) { return static_cast<float>(std::log(static_cast<double>(x))); }
inline float sin(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }
inline float cos(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }
inline float log10(float x) { return static_cast<float>(std::log10(static_cast<double>(x))); }

}  // namespace rounded

// Flushes denormal numbers to zero, and reads denormal inputs as zero, for as long as the guard
// lives; the caller's floating-point control state comes back when it goes. Decaying filter
// states otherwise settle on denormals, which cost the processor many times more per operation.
#pragma once

#if defined(__SSE__) || defined(_M_X64) || defined(__x86_64__)
#include <xmmintrin.h>
#define FERROWIN_HAS_MXCSR 1
#endif

class DenormalGuard {
 public:
#if defined(FERROWIN_HAS_MXCSR)
  DenormalGuard() : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero); }
  ~DenormalGuard() { _mm_setcsr(saved); }
#else
  DenormalGuard() = default;
#endif
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

 private:
#if defined(FERROWIN_HAS_MXCSR)
  static constexpr unsigned kFlushToZero = 0x8000;       // results below the normal range become 0
  static constexpr unsigned kDenormalsAreZero = 0x0040;  // such inputs are read as 0
  unsigned saved;
#endif
};

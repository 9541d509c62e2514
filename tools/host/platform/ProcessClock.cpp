#include "ProcessClock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>

#include <chrono>
#endif

#if defined(_WIN32)
uint64_t processCpu100ns() {
  FILETIME created;
  FILETIME exited;
  FILETIME kernel;
  FILETIME user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto ticks = [](const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return ticks(kernel) + ticks(user);
}
uint64_t wallMs() { return GetTickCount64(); }
#else
uint64_t processCpu100ns() {
  timespec used = {};
  if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used) != 0) return 0;
  return static_cast<uint64_t>(used.tv_sec) * 10000000U +
         static_cast<uint64_t>(used.tv_nsec) / 100U;
}
uint64_t wallMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}
#endif

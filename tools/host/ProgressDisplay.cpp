#include "ProgressDisplay.h"

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

ProgressDisplay::ProgressDisplay(std::ostream& stream, bool enabled, int64_t totalFrames,
                                 int sampleRateHz)
    : out(stream),
      shown(enabled && totalFrames >= kMinimumSeconds * sampleRateHz),
      total(totalFrames),
      rateHz(sampleRateHz) {}

void ProgressDisplay::update(int64_t done) {
  if (!shown) return;
  const int percent = static_cast<int>(done * 100 / total);
  if (percent == lastPercent) return;
  lastPercent = percent;
  char line[96];
  std::snprintf(line, sizeof line, "\rrendering %3d%%  %.1f of %.1f s", percent,
                static_cast<double>(done) / rateHz, static_cast<double>(total) / rateHz);
  out << line << std::flush;
}

void ProgressDisplay::finish() {
  if (!shown || lastPercent < 0) return;
  // Carriage return, erase to the end of the line.
  out << "\r\x1b[K" << std::flush;
  lastPercent = -1;
}

bool stderrIsTerminal() {
#if defined(_WIN32)
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

#include "ProgressDisplay.h"

#include <algorithm>
#include <cstdio>
#include <string>

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
  const int length =
      std::snprintf(line, sizeof line, "\rrendering %3d%%  %.1f of %.1f s", percent,
                    static_cast<double>(done) / rateHz, static_cast<double>(total) / rateHz);
  lineLength = std::max(lineLength, length - 1);
  out << line << std::flush;
}

void ProgressDisplay::finish() {
  if (!shown || lastPercent < 0) return;
  // Blanks over the line rather than an escape sequence, which not every console knows.
  out << '\r' << std::string(static_cast<size_t>(lineLength), ' ') << '\r' << std::flush;
  lastPercent = -1;
}

// A one-line progress display for long renders on a terminal: rewritten in place as the render
// advances, and erased at the end.
#pragma once

#include <cstdint>
#include <ostream>

class ProgressDisplay {
 public:
  // Renders shorter than this finish before a display would help.
  static constexpr double kMinimumSeconds = 5.0;

  // Shows progress on `out` only when `enabled` (e.g. stderr is a terminal) and the render is
  // at least kMinimumSeconds long.
  ProgressDisplay(std::ostream& out, bool enabled, int64_t totalFrames, int sampleRateHz);

  bool active() const { return shown; }
  // Tells that `done` frames are processed; writes only when the whole percentage changes.
  void update(int64_t done);
  // Erases the line.
  void finish();

 private:
  std::ostream& out;
  bool shown;
  int64_t total;
  int rateHz;
  int lastPercent = -1;
  int lineLength = 0;  // longest line written, characters
};

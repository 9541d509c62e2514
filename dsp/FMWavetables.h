// The oscillator's three waveform tables, one set per process, shared read-only by every
// FMOscilator. The square wave needs no table.
#pragma once

class FMWavetables {
 public:
  static constexpr int kLength = 25000;  // table steps per period

  float sineTable[kLength];      // sin of j times 0.0002513272, a little short of a full turn
  float rampTable[kLength];      // falling saw, 1 down to -0.99992
  float triangleTable[kLength];  // starts at 0 rising, in phase with the sine

  // The one set of the process: built on the first call, safely even when two threads ask at
  // once, and kept until the library is unloaded (it owns no heap memory).
  static const FMWavetables& instance();

 private:
  FMWavetables();
};

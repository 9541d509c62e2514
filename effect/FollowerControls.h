// What the followers' envelopes e1 and e2 (0..1) control every frame. e1 sets the noise and
// oscillator levels, (depth - 0.5) (4 e1) + amount within 0..1: a depth of 0.5 leaves a level
// alone, 1 adds up to 2 e1, 0 takes up to 2 e1 away. e2 moves the oscillator's frequency in Hz
// and the filters' cutoff (fraction of the Nyquist frequency), depth e2 + key offset.
//
// All four are one rule, depth (envelope x scale) + base within low..high, written once for a
// sample type T: float in the module chain, one control at a time; in the fast path the four
// side by side in one register. For the offsets the scale is 1, which leaves e2 exact, and the
// bounds are infinite, which leave the sum alone.
#pragma once

#include "FMOscilator.h"
#include "MoogFilter.h"
#include "NoiseOscilator.h"
#include "SampleOps.h"

struct FollowerControls {
  template <typename T>
  struct Rule {
    T depth, scale, base, low, high;

    T operator()(T envelope) const {
      using sample::clampTo;
      return clampTo(depth * (envelope * scale) + base, low, high);
    }
  };

  // The effect's values: the base levels 0..1, the level depths 0..1, the cutoff depth -1..1,
  // the frequency depth in Hz, the cutoff's key offset (fraction of the Nyquist frequency) and
  // the oscillator's in Hz.
  FollowerControls(float noiseAmount, float oscAmount, float noiseDepth, float oscDepth,
                   float cutoffDepth, float frequencyDepthHz, float cutoffKeyOffset,
                   float frequencyKeyOffsetHz);

  // Writes what the chain gives the modules before a frame whose envelopes are e1 and e2 and
  // whose input has the side signal `side`.
  void apply(float e1, float e2, float side, NoiseOscilator& noise, FMOscilator& oscillator,
             MoogFilter& filterLeft, MoogFilter& filterRight) const {
    noise.setLevel(noiseLevel(e1), side);
    oscillator.amplitude = oscillatorLevel(e1);
    oscillator.frequencyOffset = frequencyOffset(e2);
    filterLeft.cutoffOffset = filterRight.cutoffOffset = cutoffOffset(e2);
  }

  Rule<float> noiseLevel, oscillatorLevel, frequencyOffset, cutoffOffset;
};

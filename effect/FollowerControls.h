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

#include <limits>

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
  // the oscillator's in Hz. Inline, since the fast path builds the rules for every block.
  FollowerControls(float noiseAmount, float oscAmount, float noiseDepth, float oscDepth,
                   float cutoffDepth, float frequencyDepthHz, float cutoffKeyOffset,
                   float frequencyKeyOffsetHz)
      : noiseLevel{noiseDepth - 0.5f, 4.0f, noiseAmount, 0.0f, 1.0f},
        oscillatorLevel{oscDepth - 0.5f, 4.0f, oscAmount, 0.0f, 1.0f},
        frequencyOffset{frequencyDepthHz, 1.0f, frequencyKeyOffsetHz, -kInfinity, kInfinity},
        cutoffOffset{cutoffDepth, 1.0f, cutoffKeyOffset, -kInfinity, kInfinity} {}

  // One frame's values, in this order also the lanes of the fast path's register.
  struct Values {
    float noiseLevel, oscillatorLevel;  // 0..1
    float frequencyOffsetHz, cutoffOffset;
  };
  Values of(float e1, float e2) const {
    return {noiseLevel(e1), oscillatorLevel(e1), frequencyOffset(e2), cutoffOffset(e2)};
  }

  // Writes a frame's values, and its input's side signal, where the modules read them.
  static void write(const Values& v, float side, NoiseOscilator& noise, FMOscilator& oscillator,
                    MoogFilter& filterLeft, MoogFilter& filterRight) {
    noise.setLevel(v.noiseLevel, side);
    oscillator.amplitude = v.oscillatorLevel;
    oscillator.frequencyOffset = v.frequencyOffsetHz;
    filterLeft.cutoffOffset = filterRight.cutoffOffset = v.cutoffOffset;
  }

  Rule<float> noiseLevel, oscillatorLevel, frequencyOffset, cutoffOffset;

 private:
  static constexpr float kInfinity = std::numeric_limits<float>::infinity();
};

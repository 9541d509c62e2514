// The two ladder filters of the chain side by side: the filter's state and its step on both
// channels at once, in registers for as long as the owner keeps the pair in local variables.
#pragma once

#include "Lanes.h"
#include "MoogFilter.h"

struct LadderPair : MoogFilterStateOf<sample::Lanes> {
  // What a frame of the ladders needs, all of it computed before the frame's recursion.
  struct Frame {
    sample::Lanes scaledInput;  // the input already divided by the level scale
    MoogFilterCoefficients<sample::Lanes> coefficients;
  };

  template <int kType>
  sample::Lanes step(const Frame& frame) {
    return MoogFilter::step(frame.scaledInput, frame.coefficients, *this, kType);
  }
};

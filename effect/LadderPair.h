// The two ladder filters of the chain side by side: the filter's own step on both channels
// at once. The stage values stay in registers for as long as the owner keeps the pair in
// local variables.
#pragma once

#include <initializer_list>

#include "Lanes.h"
#include "MoogFilter.h"

struct LadderPair {
  // What a frame of the ladders needs, all of it computed before the frame's recursion:
  // the input already divided by the level scale, and the frame's coefficients.
  struct Frame {
    sample::Lanes scaledInput;
    sample::Lanes stageGain;      // p
    sample::Lanes stageFeedback;  // f = 2p - 1
    sample::Lanes feedback;       // q
  };

  sample::Lanes s0, s1, s2, s3, s4;

  template <int kType>
  sample::Lanes step(const Frame& frame) {
    return MoogFilter::step(frame.scaledInput, frame.stageGain, frame.stageFeedback, frame.feedback,
                            s0, s1, s2, s3, s4, kType);
  }

  // Starts the lanes whose mask is clear again from silence.
  void keepLanes(__m128 mask) {
    for (sample::Lanes* s : {&s0, &s1, &s2, &s3, &s4}) s->v = _mm_and_ps(s->v, mask);
  }
};

// The two ladder filters of the chain side by side in one SSE register: lane 0 the left
// channel, lane 1 the right. Each lane does exactly the operations of MoogFilter::process, in
// the same order and without fused multiply-adds, so both give the same bits. The stage
// values stay in registers for as long as the owner keeps the pair in local variables.
#pragma once

#include <emmintrin.h>

#include "MoogFilter.h"

struct LadderPair {
  // What a frame of the ladders needs, all of it computed before the frame's recursion:
  // the input already divided by the level scale, and the frame's coefficients.
  struct Frame {
    __m128 scaledInput;
    __m128 stageGain;      // p
    __m128 stageFeedback;  // f = 2p - 1
    __m128 feedback;       // q
  };

  __m128 s0, s1, s2, s3, s4;

  // One frame of both ladders; returns the output of the given filter type before the level
  // scale is applied again. Only the lines that read s4 lie on the recursion: the products
  // with s1, s2, s3 are ready before it reaches them.
  template <int kType>
  __m128 step(const Frame& frame) {
    const __m128 p = frame.stageGain;
    const __m128 f = frame.stageFeedback;
    const __m128 in = _mm_sub_ps(frame.scaledInput, _mm_mul_ps(frame.feedback, s4));
    const __m128 n1 = _mm_sub_ps(_mm_mul_ps(_mm_add_ps(in, s0), p), _mm_mul_ps(f, s1));
    const __m128 n2 = _mm_sub_ps(_mm_mul_ps(_mm_add_ps(n1, s1), p), _mm_mul_ps(f, s2));
    const __m128 n3 = _mm_sub_ps(_mm_mul_ps(_mm_add_ps(n2, s2), p), _mm_mul_ps(f, s3));
    __m128 n4 = _mm_sub_ps(_mm_mul_ps(_mm_add_ps(n3, s3), p), _mm_mul_ps(f, s4));
    // The cubic soft clip: n4 - n4 n4 n4 0.166667, left to right.
    n4 = _mm_sub_ps(n4, _mm_mul_ps(_mm_mul_ps(_mm_mul_ps(n4, n4), n4), _mm_set1_ps(0.166667f)));
    s0 = in;
    s1 = n1;
    s2 = n2;
    s3 = n3;
    s4 = n4;
    if constexpr (kType == MoogFilter::kHighPass) {
      return _mm_sub_ps(in, n4);
    } else if constexpr (kType == MoogFilter::kBandPass) {
      return _mm_mul_ps(_mm_set1_ps(4.0f), _mm_sub_ps(n2, n4));
    } else {
      return n4;
    }
  }

  // Starts the lanes whose mask is clear again from silence.
  void keepLanes(__m128 mask) {
    s0 = _mm_and_ps(s0, mask);
    s1 = _mm_and_ps(s1, mask);
    s2 = _mm_and_ps(s2, mask);
    s3 = _mm_and_ps(s3, mask);
    s4 = _mm_and_ps(s4, mask);
  }
};

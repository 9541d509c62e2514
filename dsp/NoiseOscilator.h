// Stereo noise from two cheap 32-bit integer generators running side by side: a
// multiplicative congruential generator (multiplier 16807, the minimal-standard multiplier,
// here without the prime modulus: the product simply wraps at 32 bits) and an xor-add
// generator. `color` blends them; the input's side signal tilts the level toward the right.
#pragma once

#include <cstdint>

#include "AudioModule.h"
#include "SampleOps.h"

// What the noise carries from one frame to the next, in one piece, so that the effect's fast
// path can take it into its registers and give it back whole.
struct NoiseOscilatorState {
  float amount = 0.1f;                // 0..1, written by the chain every frame
  float gain = 0.1f / 2147483648.0f;  // intScale x amount, written with amount
  float side = 0.0f;                  // (right - left) / 2 of the current input
  uint32_t lcgState = 1;              // congruential generator
  uint32_t mixA = 0x67452301u;        // xor-add generator, first word
  uint32_t mixB = 0xEFCDAB89u;        // xor-add generator, second word
};

class NoiseOscilator final : public AudioModule, public NoiseOscilatorState {
 public:
  NoiseOscilator();

  // Adds one noise value to each of the two channels of the frame.
  void process(float* frame) override {
    const Words words = step(lcgState, mixA, mixB);
    frame[0] +=
        value(asSigned(words.congruential[0]), asSigned(words.xorAdd[0]), color, gain, side, -1.0f);
    frame[1] +=
        value(asSigned(words.congruential[1]), asSigned(words.xorAdd[1]), color, gain, side, 1.0f);
  }

  // What the chain writes before every frame: the level, 0..1, and the input's side signal.
  void setLevel(float level, float sideSignal) {
    amount = level;
    gain = levelGain(level, intScale);
    side = sideSignal;
  }

  // The per-frame arithmetic, for any sample type T with +, -, * and the helpers of
  // SampleOps.h: a float here, both channels side by side in the effect's fast path.

  // The side signal (right - left) / 2 of an input frame.
  template <typename T>
  static T sideOf(T left, T right) {
    return (right - left) * T(0.5f);
  }

  // A level, 0..1, as the gain of a signed 32-bit word.
  template <typename T>
  static T levelGain(T level, T scale) {
    return scale * level;
  }

  // The generators' words of one frame, left and right.
  struct Words {
    uint32_t congruential[2];
    uint32_t xorAdd[2];
  };

  // Both generators one frame on. Unsigned arithmetic, so that the 32-bit wrap-around is
  // defined behaviour; the right word's multiplier is 16807 squared, so that both come from
  // the same state.
  static Words step(uint32_t& lcg, uint32_t& mixA, uint32_t& mixB) {
    Words words{};
    words.congruential[0] = lcg * 16807u;
    words.congruential[1] = lcg * 282475249u;
    lcg = words.congruential[1];
    words.xorAdd[0] = mixA ^ mixB;
    const uint32_t t = mixB + words.xorAdd[0];
    words.xorAdd[1] = t ^ words.xorAdd[0];
    mixB = t + words.xorAdd[1];
    mixA = words.xorAdd[1];
    return words;
  }

  // One channel's noise value from the generators' words read as signed values, blended by
  // color, at the level's gain times 1 - |s| for the left channel (rightward -1) and 1 + |s| for
  // the right (rightward +1): whatever the sign of the side signal s, the left channel gets the
  // smaller share. 1 + (-1)|s| rounds exactly as 1 - |s|.
  template <typename T>
  static T value(T congruential, T xorAdd, T color, T levelGain, T side, T rightward) {
    using sample::magnitude;
    const T gain = (T(1.0f) + rightward * magnitude(side)) * levelGain;
    return (congruential * color + xorAdd * (T(1.0f) - color)) * gain;
  }

  float intScale = 1.0f / 2147483648.0f;  // 2^-31: a signed 32-bit word to -1..1
  float color = 0.0f;                     // 0..1: 1 congruential only, 0 xor-add only

 private:
  // A generator word read as a two's-complement signed value.
  static float asSigned(uint32_t word) { return static_cast<float>(static_cast<int32_t>(word)); }
};

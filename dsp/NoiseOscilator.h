// Stereo noise from two cheap 32-bit integer generators running side by side: a
// multiplicative congruential generator (multiplier 16807, the minimal-standard multiplier,
// here without the prime modulus: the product simply wraps at 32 bits) and an xor-add
// generator. `color` blends them; the input's side signal tilts the level toward the right.
#pragma once

#include <cstdint>

#include "AudioModule.h"

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
    // Whatever the sign of the side signal, the left channel gets the smaller share.
    const float magnitude = side < 0.0f ? -side : side;
    const float leftGain = (1.0f - magnitude) * gain;
    const float rightGain = (1.0f + magnitude) * gain;

    const Words words = step(lcgState, mixA, mixB);

    const float otherWeight = 1.0f - color;
    frame[0] += blend(asSigned(words.congruential[0]), asSigned(words.xorAdd[0]), color,
                      otherWeight, leftGain);
    frame[1] += blend(asSigned(words.congruential[1]), asSigned(words.xorAdd[1]), color,
                      otherWeight, rightGain);
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

  // One noise value from the generators' words read as signed values, for any sample type T
  // with + and *: a float here, both channels side by side in the effect's fast path.
  template <typename T>
  static T blend(T congruential, T xorAdd, T color, T otherWeight, T gain) {
    return (congruential * color + xorAdd * otherWeight) * gain;
  }

  float intScale = 1.0f / 2147483648.0f;  // 2^-31: a signed 32-bit word to -1..1
  float color = 0.0f;                     // 0..1: 1 congruential only, 0 xor-add only

 private:
  // A generator word read as a two's-complement signed value.
  static float asSigned(uint32_t word) { return static_cast<float>(static_cast<int32_t>(word)); }
};

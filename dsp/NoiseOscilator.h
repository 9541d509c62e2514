// Stereo noise from two cheap 32-bit integer generators running side by side: a
// multiplicative congruential generator (multiplier 16807, the minimal-standard multiplier,
// here without the prime modulus: the product simply wraps at 32 bits) and an xor-add
// generator. `color` blends them; the input's side signal tilts the level toward the right.
#pragma once

#include <cstdint>

#include "AudioModule.h"

class NoiseOscilator final : public AudioModule {
 public:
  NoiseOscilator();

  // Adds one noise value to each of the two channels of the frame.
  void process(float* frame) override {
    // Whatever the sign of the side signal, the left channel gets the smaller share.
    const float magnitude = side < 0.0f ? -side : side;
    const float leftGain = (1.0f - magnitude) * gain;
    const float rightGain = (1.0f + magnitude) * gain;

    // Unsigned arithmetic so that the 32-bit wrap-around is defined behaviour.
    const uint32_t m1 = static_cast<uint32_t>(lcgState) * 16807u;
    const uint32_t m2 = m1 * 16807u;
    lcgState = static_cast<int32_t>(m2);

    const uint32_t x1 = mixA ^ mixB;
    const uint32_t t = mixB + x1;
    const uint32_t x2 = t ^ x1;
    mixB = t + x2;
    mixA = x2;

    const float otherWeight = 1.0f - color;
    frame[0] += (asSigned(m1) * color + asSigned(x1) * otherWeight) * leftGain;
    frame[1] += (asSigned(m2) * color + asSigned(x2) * otherWeight) * rightGain;
  }

  float amount = 0.1f;                    // 0..1, written by the chain every frame
  float intScale = 1.0f / 2147483648.0f;  // 2^-31: a signed 32-bit word to -1..1
  float gain = intScale * amount;         // intScale x amount, written with amount
  float color = 0.0f;                     // 0..1: 1 congruential only, 0 xor-add only
  float side = 0.0f;                      // (right - left) / 2 of the current input
  int32_t lcgState = 1;                   // congruential generator
  uint32_t mixA = 0x67452301u;            // xor-add generator, first word
  uint32_t mixB = 0xEFCDAB89u;            // xor-add generator, second word

 private:
  // A generator word read as a two's-complement signed value.
  static float asSigned(uint32_t word) { return static_cast<float>(static_cast<int32_t>(word)); }
};

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "NoiseOscilator.h"

namespace {

struct Pair {
  float left;
  float right;
};

// One frame of noise added to the given frame.
Pair step(NoiseOscilator& noise, Pair start = {0.0f, 0.0f}) {
  float frame[2] = {start.left, start.right};
  noise.process(frame);
  return {frame[0], frame[1]};
}

// Noise of the given color at full scale: a generator word of 2^31 gives 1.
NoiseOscilator fullScale(float color) {
  NoiseOscilator noise;
  noise.color = color;
  noise.gain = noise.intScale;
  return noise;
}

float asSigned(uint32_t word) { return static_cast<float>(static_cast<int32_t>(word)); }

// From the initial state, at the default amount 0.1, added to the frame: the congruential
// generator's words are 16807^n modulo 2^32 (left the odd powers, right the even ones, wrapping
// through negative values), the xor-add generator's first words are 0x67452301 ^ 0xEFCDAB89 =
// 0x88888888 and what follows from it.
TEST(NoiseOscilatorTest, FramesCarryTheGeneratorsWords) {
  const float scale = 0.1f / 2147483648.0f;
  NoiseOscilator congruential;
  congruential.color = 1.0f;
  Pair p = step(congruential, {0.25f, -0.75f});
  EXPECT_FLOAT_EQ(p.left, 0.25f + 16807.0f * scale);
  EXPECT_FLOAT_EQ(p.right, -0.75f + 282475249.0f * scale);

  NoiseOscilator xorAdd;
  xorAdd.color = 0.0f;
  p = step(xorAdd);
  EXPECT_FLOAT_EQ(p.left, asSigned(0x88888888u) * scale);
  EXPECT_FLOAT_EQ(p.right, asSigned(0xF0DEBC99u) * scale);
  p = step(xorAdd);
  EXPECT_FLOAT_EQ(p.left, asSigned(0x99EA4C33u) * scale);
  EXPECT_FLOAT_EQ(p.right, asSigned(0x9AF570EEu) * scale);

  // At amount 0 (gain 0) the frame is left as it was, but the generators still advance.
  NoiseOscilator silent;
  silent.gain = 0.0f;
  silent.color = 0.5f;
  silent.side = 0.25f;
  p = step(silent, {0.25f, -0.75f});
  EXPECT_EQ(p.left, 0.25f);
  EXPECT_EQ(p.right, -0.75f);
  EXPECT_EQ(silent.lcgState, 282475249u);

  NoiseOscilator powers = fullScale(1.0f);
  uint64_t power = 1;
  for (int n = 0; n < 5000; ++n) {
    power = (power * 16807u) % (uint64_t{1} << 32);
    const float left = asSigned(static_cast<uint32_t>(power));
    power = (power * 16807u) % (uint64_t{1} << 32);
    const float right = asSigned(static_cast<uint32_t>(power));
    p = step(powers);
    ASSERT_EQ(p.left * 2147483648.0f, left) << "frame " << n;
    ASSERT_EQ(p.right * 2147483648.0f, right) << "frame " << n;
  }
}

// The side signal's magnitude moves level from the left to the right channel, whatever its
// sign; color blends the generators. Compared against pure or centred instances, which produce
// the same words.
TEST(NoiseOscilatorTest, SideSignalSplitsTheLevelAndColorBlends) {
  const struct {
    float side, leftShare, rightShare;
  } sides[] = {{0.5f, 0.5f, 1.5f},
               {-0.5f, 0.5f, 1.5f},
               {1.0f, 0.0f, 2.0f},
               {-1.5f, -0.5f, 2.5f}};  // beyond full scale the left noise inverts
  for (const auto& c : sides) {
    NoiseOscilator centre = fullScale(0.3f);
    NoiseOscilator tilted = fullScale(0.3f);
    tilted.side = c.side;
    for (int i = 0; i < 100; ++i) {
      const Pair reference = step(centre);
      const Pair p = step(tilted);
      ASSERT_FLOAT_EQ(p.left, reference.left * c.leftShare) << "side " << c.side;
      ASSERT_FLOAT_EQ(p.right, reference.right * c.rightShare) << "side " << c.side;
    }
  }

  const float kTolerance = 1e-6f;
  for (float color : {0.25f, 0.5f}) {
    NoiseOscilator congruential = fullScale(1.0f);
    NoiseOscilator xorAdd = fullScale(0.0f);
    NoiseOscilator blend = fullScale(color);
    for (int i = 0; i < 100; ++i) {
      const Pair a = step(congruential);
      const Pair b = step(xorAdd);
      const Pair m = step(blend);
      ASSERT_NEAR(m.left, a.left * color + b.left * (1.0f - color), kTolerance) << color;
      ASSERT_NEAR(m.right, a.right * color + b.right * (1.0f - color), kTolerance) << color;
    }
  }
}

}  // namespace

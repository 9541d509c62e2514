#include "NoiseOscilator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace {

// One frame of noise added to silence.
struct Pair {
  float left;
  float right;
};

Pair step(NoiseOscilator& noise) {
  float frame[2] = {0.0f, 0.0f};
  noise.process(frame);
  return {frame[0], frame[1]};
}

float asSigned(uint32_t word) { return static_cast<float>(static_cast<int32_t>(word)); }

TEST(NoiseOscilatorTest, StartsWithTheDocumentedState) {
  NoiseOscilator noise;
  EXPECT_EQ(noise.channelCount, 2);
  EXPECT_FLOAT_EQ(noise.amount, 0.1f);
  EXPECT_EQ(noise.intScale, 4.656612873077393e-10f);  // 2^-31 exactly
  EXPECT_FLOAT_EQ(noise.gain, noise.intScale * 0.1f);
  EXPECT_EQ(noise.lcgState, 1);
  EXPECT_EQ(noise.mixA, 0x67452301u);
  EXPECT_EQ(noise.mixB, 0xEFCDAB89u);
}

TEST(NoiseOscilatorTest, FirstFramesCarryTheGeneratorsFirstWords) {
  NoiseOscilator congruential;  // color 1: congruential generator only
  congruential.color = 1.0f;
  congruential.gain = congruential.intScale;
  congruential.side = 0.0f;
  const Pair c = step(congruential);
  EXPECT_EQ(c.left, 16807.0f * congruential.intScale);
  EXPECT_EQ(c.right, 282475249.0f * congruential.intScale);
  EXPECT_EQ(congruential.lcgState, 282475249);

  NoiseOscilator xorAdd;  // color 0: xor-add generator only
  xorAdd.color = 0.0f;
  xorAdd.gain = xorAdd.intScale;
  xorAdd.side = 0.0f;
  Pair x = step(xorAdd);
  EXPECT_EQ(x.left, asSigned(0x88888888u) * xorAdd.intScale);
  EXPECT_EQ(x.right, asSigned(0xF0DEBC99u) * xorAdd.intScale);
  x = step(xorAdd);
  EXPECT_EQ(x.left, asSigned(0x99EA4C33u) * xorAdd.intScale);
  EXPECT_EQ(x.right, asSigned(0x9AF570EEu) * xorAdd.intScale);
}

// The congruential generator's n-th word is 16807^n modulo 2^32; left takes the odd powers
// and right the even ones, wrapping through negative values without going astray.
TEST(NoiseOscilatorTest, CongruentialGeneratorFollowsPowersOfItsMultiplier) {
  NoiseOscilator noise;
  noise.color = 1.0f;
  noise.gain = 1.0f;
  uint64_t power = 1;
  for (int n = 0; n < 5000; ++n) {
    power = (power * 16807u) % (uint64_t{1} << 32);
    const float expectedLeft = asSigned(static_cast<uint32_t>(power));
    power = (power * 16807u) % (uint64_t{1} << 32);
    const float expectedRight = asSigned(static_cast<uint32_t>(power));
    const Pair p = step(noise);
    ASSERT_EQ(p.left, expectedLeft) << "frame " << n;
    ASSERT_EQ(p.right, expectedRight) << "frame " << n;
  }
}

// The side signal's magnitude moves level from the left to the right channel, whatever its
// sign. Compared against an instance with no side signal, which produces the same words.
TEST(NoiseOscilatorTest, SideSignalSplitsTheLevel) {
  struct Case {
    float side;
    float leftShare;
    float rightShare;
  };
  const Case cases[] = {{0.5f, 0.5f, 1.5f}, {-0.5f, 0.5f, 1.5f}, {1.0f, 0.0f, 2.0f},
                        {-1.5f, -0.5f, 2.5f}};  // beyond full scale the left noise inverts
  for (const Case& c : cases) {
    NoiseOscilator centre;
    NoiseOscilator tilted;
    for (NoiseOscilator* n : {&centre, &tilted}) {
      n->color = 0.3f;
      n->amount = 0.8f;
      n->gain = n->intScale * n->amount;
    }
    tilted.side = c.side;
    for (int i = 0; i < 100; ++i) {
      const Pair reference = step(centre);
      const Pair p = step(tilted);
      ASSERT_FLOAT_EQ(p.left, reference.left * c.leftShare) << "side " << c.side;
      ASSERT_FLOAT_EQ(p.right, reference.right * c.rightShare) << "side " << c.side;
    }
  }
}

TEST(NoiseOscilatorTest, ColorBlendsTheGenerators) {
  NoiseOscilator congruential;
  NoiseOscilator xorAdd;
  NoiseOscilator blend;
  congruential.color = 1.0f;
  xorAdd.color = 0.0f;
  blend.color = 0.5f;
  for (NoiseOscilator* n : {&congruential, &xorAdd, &blend}) n->gain = n->intScale;
  const float kTolerance = 1e-6f;
  for (int i = 0; i < 100; ++i) {
    const Pair a = step(congruential);
    const Pair b = step(xorAdd);
    const Pair m = step(blend);
    ASSERT_NEAR(m.left, (a.left + b.left) * 0.5f, kTolerance);
    ASSERT_NEAR(m.right, (a.right + b.right) * 0.5f, kTolerance);
  }
}

TEST(NoiseOscilatorTest, AddsToTheFrameAndZeroGainLeavesItUnchanged) {
  NoiseOscilator silent;
  silent.amount = 0.0f;
  silent.gain = 0.0f;
  silent.color = 0.5f;
  silent.side = 0.25f;
  float frame[2] = {0.25f, -0.75f};
  silent.process(frame);
  EXPECT_EQ(frame[0], 0.25f);
  EXPECT_EQ(frame[1], -0.75f);
  EXPECT_EQ(silent.lcgState, 282475249);  // the generators still advance

  NoiseOscilator loud;
  loud.color = 1.0f;
  loud.gain = loud.intScale;
  float onTop[2] = {0.25f, -0.75f};
  loud.process(onTop);
  EXPECT_FLOAT_EQ(onTop[0], 0.25f + 16807.0f * loud.intScale);
  EXPECT_FLOAT_EQ(onTop[1], -0.75f + 282475249.0f * loud.intScale);
}

// Both generators must give full-scale, zero-mean noise (uniform on -1..1 has RMS 1/sqrt 3)
// with the two channels unrelated to each other.
TEST(NoiseOscilatorTest, BothGeneratorsGiveUncorrelatedFullScaleNoise) {
  const int kFrames = 1 << 17;
  const double kMeanTolerance = 0.01;
  const double kRmsTolerance = 0.02;
  const double kCorrelationTolerance = 0.02;
  for (float color : {0.0f, 1.0f}) {
    NoiseOscilator noise;
    noise.color = color;
    noise.gain = noise.intScale;
    double sumL = 0, sumR = 0, sumLL = 0, sumRR = 0, sumLR = 0;
    for (int i = 0; i < kFrames; ++i) {
      const Pair p = step(noise);
      sumL += p.left;
      sumR += p.right;
      sumLL += double(p.left) * p.left;
      sumRR += double(p.right) * p.right;
      sumLR += double(p.left) * p.right;
    }
    const double meanL = sumL / kFrames;
    const double meanR = sumR / kFrames;
    const double rmsL = std::sqrt(sumLL / kFrames);
    const double rmsR = std::sqrt(sumRR / kFrames);
    const double correlation = (sumLR / kFrames - meanL * meanR) / (rmsL * rmsR);
    EXPECT_NEAR(meanL, 0.0, kMeanTolerance) << "color " << color;
    EXPECT_NEAR(meanR, 0.0, kMeanTolerance) << "color " << color;
    EXPECT_NEAR(rmsL, 1.0 / std::sqrt(3.0), kRmsTolerance) << "color " << color;
    EXPECT_NEAR(rmsR, 1.0 / std::sqrt(3.0), kRmsTolerance) << "color " << color;
    EXPECT_NEAR(correlation, 0.0, kCorrelationTolerance) << "color " << color;
  }
}

}  // namespace

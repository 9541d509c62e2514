#include "EnvelopeFollover.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

// Coefficients are computed in single precision; against the double closed form they agree to
// a few float steps near 1.
constexpr double kCoefficientTolerance = 1e-6;
// One follower step against its closed form: a few float roundings of values up to 1.
constexpr float kStepTolerance = 1e-6f;

// exp(ln(0.01) / n) in double: the coefficient that leaves 1 % after n samples.
double closedFormCoefficient(double lengthSamples) { return std::exp(std::log(0.01) / lengthSamples); }

void feed(EnvelopeFollover& follower, float left, float right, int frames) {
  for (int i = 0; i < frames; ++i) {
    float frame[2] = {left, right};
    follower.process(frame);
  }
}

TEST(EnvelopeFolloverTest, ConstructorUsesSmoothing100At44100) {
  EnvelopeFollover follower;
  EXPECT_EQ(follower.channelCount, 2);
  EXPECT_EQ(follower.envelope, 0.0f);
  EXPECT_EQ(follower.smoothing, 100.0f);
  // 100001 ms of rise, a quarter of it for the fall.
  EXPECT_NEAR(follower.riseCoefficient, closedFormCoefficient(44100.0 * 100.001),
              kCoefficientTolerance);
  EXPECT_NEAR(follower.fallCoefficient, closedFormCoefficient(44100.0 * 100.001 * 0.25),
              kCoefficientTolerance);
}

TEST(EnvelopeFolloverTest, SmoothingZeroGivesOneMillisecondRise) {
  EnvelopeFollover follower;
  follower.setSmoothing(0.0f);
  EXPECT_EQ(follower.smoothing, 0.0f);
  // Nr = 44.1 samples, Nf = 11.025 samples.
  EXPECT_NEAR(follower.riseCoefficient, closedFormCoefficient(44.1), kCoefficientTolerance);
  EXPECT_NEAR(follower.fallCoefficient, closedFormCoefficient(11.025), kCoefficientTolerance);
}

TEST(EnvelopeFolloverTest, FallIsFourTimesFasterThanRise) {
  EnvelopeFollover follower;
  for (float smoothing : {0.0f, 0.1f, 0.5f, 1.0f}) {
    follower.setSmoothing(smoothing);
    // One fall step shrinks the distance as much as four rise steps.
    EXPECT_NEAR(std::pow(static_cast<double>(follower.riseCoefficient), 4.0),
                follower.fallCoefficient, 4 * kCoefficientTolerance)
        << "smoothing " << smoothing;
  }
}

TEST(EnvelopeFolloverTest, ReachesNinetyNinePercentAfterRiseLength) {
  EnvelopeFollover follower;
  follower.setSmoothing(0.0f);  // Nr = 44.1 frames
  feed(follower, 1.0f, 1.0f, 44);
  EXPECT_LT(follower.envelope, 0.99f);
  feed(follower, 1.0f, 1.0f, 1);
  EXPECT_GE(follower.envelope, 0.99f);
}

TEST(EnvelopeFolloverTest, FallsToOnePercentAfterFallLength) {
  EnvelopeFollover follower;
  follower.setSmoothing(0.0f);  // Nf = 11.025 frames
  follower.envelope = 1.0f;
  feed(follower, 0.0f, 0.0f, 11);
  EXPECT_GT(follower.envelope, 0.01f);
  feed(follower, 0.0f, 0.0f, 1);
  EXPECT_LE(follower.envelope, 0.01f);
}

TEST(EnvelopeFolloverTest, RiseTimeScalesWithSmoothing) {
  EnvelopeFollover follower;
  follower.setSmoothing(1.0f);  // 1001 ms: 44144.1 frames to 99 %
  // The bounds leave room for the rounding that 44000 float steps accumulate (about 1e-6).
  feed(follower, 1.0f, 1.0f, 44000);
  EXPECT_LT(follower.envelope, 0.9899f);
  feed(follower, 1.0f, 1.0f, 300);
  EXPECT_GT(follower.envelope, 0.9901f);
}

TEST(EnvelopeFolloverTest, MeanIsTakenBeforeRectifying) {
  EnvelopeFollover follower;
  follower.setSmoothing(0.0f);
  follower.envelope = 0.5f;
  float opposite[2] = {0.5f, -0.5f};
  follower.process(opposite);
  // Level 0: a fall step from 0.5 towards 0.
  EXPECT_NEAR(follower.envelope, 0.5f * follower.fallCoefficient, kStepTolerance);
  // The frame is read, never written.
  EXPECT_EQ(opposite[0], 0.5f);
  EXPECT_EQ(opposite[1], -0.5f);

  follower.envelope = 0.0f;
  float loud[2] = {-2.0f, -2.0f};
  follower.process(loud);
  // Level limited to 1: a rise step from 0 towards 1.
  EXPECT_NEAR(follower.envelope, 1.0f - follower.riseCoefficient, kStepTolerance);

  follower.envelope = 0.0f;
  float oneSided[2] = {0.6f, 0.0f};
  follower.process(oneSided);
  EXPECT_NEAR(follower.envelope, 0.3f * (1.0f - follower.riseCoefficient), kStepTolerance);
}

TEST(EnvelopeFolloverTest, LevelAboveRisesAndLevelAtOrBelowFalls) {
  EnvelopeFollover follower;
  follower.setSmoothing(0.2f);
  const float start = 0.5f;

  follower.envelope = start;
  feed(follower, 0.75f, 0.75f, 1);
  EXPECT_NEAR(follower.envelope, 0.75f - 0.25f * follower.riseCoefficient, kStepTolerance);

  follower.envelope = start;
  feed(follower, 0.25f, 0.25f, 1);
  EXPECT_NEAR(follower.envelope, 0.25f + 0.25f * follower.fallCoefficient, kStepTolerance);

  // At equality both coefficients give the same result: the envelope stays exactly where it is.
  follower.envelope = start;
  feed(follower, start, start, 1000);
  EXPECT_EQ(follower.envelope, start);
}

TEST(EnvelopeFolloverTest, SampleRateChangeKeepsEnvelope) {
  EnvelopeFollover follower;
  follower.setSmoothing(0.0f);
  feed(follower, 0.8f, 0.8f, 10);
  const float envelope = follower.envelope;
  ASSERT_GT(envelope, 0.0f);

  follower.setSampleRate(96000.0f);
  EXPECT_EQ(follower.sampleRate, 96000.0f);
  EXPECT_EQ(follower.envelope, envelope);
  EXPECT_EQ(follower.smoothing, 0.0f);
  EXPECT_NEAR(follower.riseCoefficient, closedFormCoefficient(96.0), kCoefficientTolerance);
  EXPECT_NEAR(follower.fallCoefficient, closedFormCoefficient(24.0), kCoefficientTolerance);

  // At the new rate the 1 ms rise takes 96 frames.
  follower.envelope = 0.0f;
  feed(follower, 1.0f, 1.0f, 95);
  EXPECT_LT(follower.envelope, 0.99f);
  feed(follower, 1.0f, 1.0f, 2);
  EXPECT_GE(follower.envelope, 0.99f);
}

TEST(EnvelopeFolloverTest, StaysWithinZeroToOneForWildInput) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float wild[] = {inf,   -inf,  nan,     1e30f,      -1e30f, 1e-40f, -1e-40f,
                        0.0f,  -0.0f, 1.0f,    -1.0f,      3.5f,   -7.0f,  0.999f,
                        1e-3f, 123.f, -1e-20f, 3.4e38f,    -3.4e38f};
  EnvelopeFollover follower;
  follower.setSmoothing(0.0f);
  // A simple linear congruential walk through the pairs keeps the sequence deterministic.
  std::uint32_t state = 12345u;
  const int count = static_cast<int>(sizeof wild / sizeof wild[0]);
  for (int i = 0; i < 20000; ++i) {
    state = state * 1664525u + 1013904223u;
    float frame[2] = {wild[(state >> 8) % count], wild[(state >> 20) % count]};
    follower.process(frame);
    ASSERT_GE(follower.envelope, 0.0f) << "frame " << i;
    ASSERT_LE(follower.envelope, 1.0f) << "frame " << i;
  }
}

TEST(EnvelopeFolloverTest, NonsenseSettingsKeepTheFollowerStable) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EnvelopeFollover follower;
  for (float smoothing : {-5.0f, -0.001f, nan, 1e30f}) {
    for (float rate : {-44100.0f, 0.0f, nan, 44100.0f}) {
      follower.setSmoothing(smoothing);
      follower.setSampleRate(rate);
      EXPECT_GE(follower.riseCoefficient, 0.0f);
      EXPECT_LE(follower.riseCoefficient, 1.0f);
      EXPECT_GE(follower.fallCoefficient, 0.0f);
      EXPECT_LE(follower.fallCoefficient, 1.0f);
      for (float level : {1.0f, 0.0f, 0.7f, 0.1f}) {
        feed(follower, level, level, 50);
        EXPECT_GE(follower.envelope, 0.0f);
        EXPECT_LE(follower.envelope, 1.0f);
      }
    }
  }
}

}  // namespace

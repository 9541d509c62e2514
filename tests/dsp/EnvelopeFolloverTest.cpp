#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

#include "EnvelopeFollover.h"

namespace {

// Coefficients are computed in single precision; against the double closed form they agree to
// a few float steps near 1.
constexpr double kCoefficientTolerance = 1e-6;
// One follower step against its closed form: a few float roundings of values up to 1.
constexpr float kStepTolerance = 1e-6f;

// exp(ln(0.01) / n) in double: the coefficient that leaves 1 % after n samples.
double closedFormCoefficient(double lengthSamples) {
  return std::exp(std::log(0.01) / lengthSamples);
}

// Feeds a constant level to both channels until the envelope crosses `threshold`, and returns
// the number of frames that took (at most `limit`).
int framesToCross(EnvelopeFollover& follower, float level, float threshold, int limit) {
  const bool rising = follower.envelope < threshold;
  for (int n = 1; n <= limit; ++n) {
    float frame[2] = {level, level};
    follower.process(frame);
    if (rising ? follower.envelope >= threshold : follower.envelope <= threshold) return n;
  }
  return limit + 1;
}

// Rise and fall coefficients, and the frames they take to 99 % of a step up and down to 1 % of
// a step down, after setSmoothing and a rate change, which keeps the envelope where it is.
TEST(EnvelopeFolloverTest, CoefficientsAndReachTimesFollowSmoothingAndRate) {
  const struct {
    float smoothing, rateHz;
    double riseSamples;  // the fall takes a quarter of it
    int riseMin, riseMax, fallMin, fallMax;
  } cases[] = {{0.0f, 44100.0f, 44.1, 45, 45, 12, 12},  // 1 ms: Nr = 44.1, Nf = 11.025
               {0.0f, 96000.0f, 96.0, 96, 97, 24, 25},
               // The bounds leave room for the rounding that 44000 float steps accumulate.
               {1.0f, 44100.0f, 44144.1, 44001, 44300, 11000, 11080}};
  for (const auto& c : cases) {
    EnvelopeFollover follower;
    follower.setSmoothing(c.smoothing);
    follower.envelope = 0.375f;
    follower.setSampleRate(c.rateHz);
    EXPECT_EQ(follower.envelope, 0.375f);
    EXPECT_NEAR(follower.riseCoefficient, closedFormCoefficient(c.riseSamples),
                kCoefficientTolerance)
        << c.smoothing << " at " << c.rateHz;
    EXPECT_NEAR(follower.fallCoefficient, closedFormCoefficient(c.riseSamples * 0.25),
                kCoefficientTolerance)
        << c.smoothing << " at " << c.rateHz;
    follower.envelope = 0.0f;
    const int rise = framesToCross(follower, 1.0f, 0.99f, c.riseMax + 10);
    EXPECT_TRUE(rise >= c.riseMin && rise <= c.riseMax) << rise << " frames at " << c.rateHz;
    follower.envelope = 1.0f;
    const int fall = framesToCross(follower, 0.0f, 0.01f, c.fallMax + 10);
    EXPECT_TRUE(fall >= c.fallMin && fall <= c.fallMax) << fall << " frames at " << c.rateHz;
  }
}

// One step from a given envelope: the level is the mean of the channels, rectified and limited
// to 1 (NaN counts as full level); above the envelope it rises, at or below it falls.
TEST(EnvelopeFolloverTest, OneStepTowardTheRectifiedMean) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float left, right, start, level;
    bool rises;
  } cases[] = {
      {0.5f, -0.5f, 0.5f, 0.0f, false},  // opposite channels cancel
      {-2.0f, -2.0f, 0.0f, 1.0f, true},  {0.6f, 0.0f, 0.0f, 0.3f, true},
      {0.75f, 0.75f, 0.5f, 0.75f, true}, {0.25f, 0.25f, 0.5f, 0.25f, false},
      {0.5f, 0.5f, 0.5f, 0.5f, false},   {nan, 0.0f, 0.0f, 1.0f, true},
  };
  for (const auto& c : cases) {
    EnvelopeFollover follower;
    follower.setSmoothing(0.2f);
    follower.envelope = c.start;
    float frame[2] = {c.left, c.right};
    follower.process(frame);
    const float k = c.rises ? follower.riseCoefficient : follower.fallCoefficient;
    EXPECT_NEAR(follower.envelope, c.level + (c.start - c.level) * k, kStepTolerance)
        << c.left << ", " << c.right << " from " << c.start;
    EXPECT_EQ(frame[1], c.right) << "the frame is only read";
  }
}

TEST(EnvelopeFolloverTest, StaysWithinZeroToOneForWildInputAndNonsenseSettings) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float wild[] = {inf,  -inf,  nan,  1e30f, -1e30f, 1e-40f, -1e-40f, 0.0f,
                        1.0f, -1.0f, 3.5f, -7.0f, 0.999f, 1e-3f,  3.4e38f, -3.4e38f};
  const int count = static_cast<int>(sizeof wild / sizeof wild[0]);
  for (float smoothing : {0.0f, -5.0f, -0.001f, nan, 1e30f}) {
    for (float rate : {44100.0f, -44100.0f, 0.0f, nan}) {
      EnvelopeFollover follower;
      follower.setSmoothing(smoothing);
      follower.setSampleRate(rate);
      EXPECT_GE(follower.riseCoefficient, 0.0f);
      EXPECT_LE(follower.riseCoefficient, 1.0f);
      EXPECT_GE(follower.fallCoefficient, 0.0f);
      EXPECT_LE(follower.fallCoefficient, 1.0f);
      // A linear congruential walk through the pairs keeps the sequence deterministic.
      std::uint32_t state = 12345u;
      for (int i = 0; i < 2000; ++i) {
        state = state * 1664525u + 1013904223u;
        float frame[2] = {wild[(state >> 8) % count], wild[(state >> 20) % count]};
        follower.process(frame);
        ASSERT_GE(follower.envelope, 0.0f) << smoothing << " at " << rate << ", frame " << i;
        ASSERT_LE(follower.envelope, 1.0f) << smoothing << " at " << rate << ", frame " << i;
      }
    }
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "WaveShaper.h"

namespace {

const float kTolerance = 1e-6f;  // a few rounding steps of the curve near 1

// A shaper whose drive stays where it is put.
WaveShaper fixedDrive(float d, bool fold) {
  WaveShaper shaper;
  shaper.drive = d;
  shaper.smoothIn = 0.0f;
  shaper.smoothKeep = 1.0f;
  shaper.foldEnabled = fold;
  return shaper;
}

float shape(WaveShaper& shaper, float x) {
  float frame[2] = {x, 0.0f};
  shaper.process(frame);
  return frame[0];
}

// At drive 1 the curve is y = x (1 + |x|) / (1 + x^2). Whatever the drive, the slope at 0
// equals the drive, +-1 stay fixed, large inputs approach +-drive, and the curve is odd.
TEST(WaveShaperTest, DriveSetsSlopeAndCeilingButNotTheUnityPoint) {
  WaveShaper unit = fixedDrive(1.0f, false);
  const float curve[][2] = {
      {0.0f, 0.0f}, {0.5f, 0.6f}, {2.0f, 1.2f}, {-0.5f, -0.6f}, {-2.0f, -1.2f}};
  for (const auto& point : curve) {
    EXPECT_NEAR(shape(unit, point[0]), point[1], kTolerance) << point[0];
  }

  const float kSlopeTolerance = 1e-3f;    // relative, from the curve's bend over the step
  const float kCeilingTolerance = 1e-3f;  // relative, at x = 1e4
  for (float d : {0.1f, 0.5f, 1.05f, 1.9f, 4.0f}) {
    WaveShaper shaper = fixedDrive(d, false);
    EXPECT_NEAR(shape(shaper, 1.0f), 1.0f, kTolerance) << "drive " << d;
    EXPECT_NEAR(shape(shaper, -1.0f), -1.0f, kTolerance) << "drive " << d;
    const float h = 1e-5f;
    EXPECT_NEAR(shape(shaper, h) / h, d, d * kSlopeTolerance) << "drive " << d;
    EXPECT_NEAR(shape(shaper, 1e4f), d, d * kCeilingTolerance) << "drive " << d;
    EXPECT_NEAR(shape(shaper, -1e4f), -d, d * kCeilingTolerance) << "drive " << d;
    for (float x : {0.1f, 0.7f, 1.5f, 3.0f}) {
      EXPECT_EQ(shape(shaper, -x), -shape(shaper, x)) << "drive " << d << " x " << x;
    }
  }
}

TEST(WaveShaperTest, DriveGlidesTowardItsTargetAndGainScalesEveryChannel) {
  WaveShaper shaper;  // from drive 0
  shaper.driveTarget = 1.05f;
  float frame[2] = {0.0f, 0.0f};
  shaper.process(frame);
  EXPECT_FLOAT_EQ(shaper.drive, 0.0105f);
  // A one-pole glide: after n frames the drive has covered 1 - 0.99^n of the way.
  for (int i = 1; i < 300; ++i) shaper.process(frame);
  EXPECT_NEAR(shaper.drive, 1.05f * (1.0f - std::pow(0.99f, 300.0f)), 1e-4f);

  WaveShaper halved = fixedDrive(1.0f, false);
  halved.outputGain = 0.5f;
  float both[2] = {0.5f, 2.0f};
  halved.process(both);
  EXPECT_NEAR(both[0], 0.3f, kTolerance);
  EXPECT_NEAR(both[1], 0.6f, kTolerance);
}

// The fold reflects values beyond +-T back into range with period 4T, both signs alike, and
// only when enabled.
TEST(WaveShaperTest, FoldReflectsAtTheThresholdWithPeriodFourT) {
  const struct {
    float y, threshold, folded;
  } cases[] = {{1.2f, 1.0f, 0.8f},  {3.5f, 1.0f, -0.5f},  {-1.2f, 1.0f, -0.8f},
               {-3.5f, 1.0f, 0.5f}, {0.3f, 1.0f, 0.3f},   {5.2f, 1.0f, 0.8f},
               {0.6f, 0.5f, 0.4f},  {1.75f, 0.5f, -0.25f}};
  for (const auto& c : cases) {
    EXPECT_NEAR(WaveShaper::fold(c.y, c.threshold), c.folded, kTolerance)
        << c.y << " at T " << c.threshold;
  }

  WaveShaper folding = fixedDrive(1.0f, true);
  EXPECT_NEAR(shape(folding, 2.0f), 0.8f, kTolerance);  // the curve gives 1.2
  EXPECT_NEAR(shape(folding, -2.0f), -0.8f, kTolerance);
  EXPECT_NEAR(shape(folding, 0.5f), 0.6f, kTolerance);  // within T: untouched
  folding.foldThreshold = 0.5f;
  EXPECT_NEAR(shape(folding, 0.5f), 0.4f, kTolerance);

  WaveShaper passing = fixedDrive(4.0f, false);
  EXPECT_NEAR(shape(passing, 1e4f), 4.0f, 4e-3f);  // far beyond any threshold, unfolded
}

}  // namespace

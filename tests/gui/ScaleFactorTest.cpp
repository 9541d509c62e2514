// The conversions between the frame's logical pixels and the window's device pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "ScaleFactor.h"

namespace {

using gui::CPoint;
using gui::CRect;
using gui::ScaleFactor;

TEST(ScaleFactor, ConversionsRoundAlikeAndCoverWhatTheyMust) {
  struct Case {
    float scale;
    CRect logical;
    CRect device;       // each edge rounded to the nearest pixel
    CRect deviceCover;  // every pixel a drawing of logical may touch
    CPoint devicePoint;
    CPoint logicalPoint;  // the logical pixel that holds devicePoint
  };
  const Case cases[] = {
      {1.0f, {3, 5, 10, 20}, {3, 5, 10, 20}, {3, 5, 10, 20}, {7, 9}, {7, 9}},
      {1.5f, {3, 5, 10, 20}, {5, 8, 15, 30}, {4, 7, 15, 30}, {7, 9}, {4, 6}},
      {2.0f, {3, 5, 10, 20}, {6, 10, 20, 40}, {6, 10, 20, 40}, {7, 9}, {3, 4}},
      {2.0f, {-3, 0, 0, 1}, {-6, 0, 0, 2}, {-6, 0, 0, 2}, {-1, 0}, {-1, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleFactor::toDevice(c.logical, c.scale), c.device) << c.scale;
    EXPECT_EQ(ScaleFactor::deviceCover(c.logical, c.scale), c.deviceCover) << c.scale;
    EXPECT_EQ(ScaleFactor::toLogical(c.devicePoint, c.scale), c.logicalPoint) << c.scale;
    // Painting the logical cover of an update rectangle reaches every pixel of it.
    CRect painted = ScaleFactor::toDevice(ScaleFactor::logicalCover(c.device, c.scale), c.scale);
    EXPECT_EQ(painted.bound(c.device), c.device) << c.scale;
  }
}

TEST(ScaleFactor, AMonitorsRatioPicksTheNearestFactorAndItsPictures) {
  struct Case {
    float ratio;
    float scale;
    int32_t backgroundId;
  };
  const Case cases[] = {{1.0f, 1.0f, 128},  {1.2f, 1.0f, 128}, {1.3f, 1.5f, 228},
                        {1.75f, 1.5f, 228}, {1.8f, 2.0f, 328}, {3.0f, 2.0f, 328},
                        {0.0f, 1.0f, 128},  {-2.0f, 1.0f, 128}};
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleFactor::nearest(c.ratio), c.scale) << c.ratio;
    EXPECT_EQ(ScaleFactor::resourceId(128, ScaleFactor::nearest(c.ratio)), c.backgroundId);
  }
  EXPECT_EQ(ScaleFactor::nearest(std::nanf("")), 1.0f);
  EXPECT_EQ(ScaleFactor::indexOf(1.25f), -1);
}

}  // namespace

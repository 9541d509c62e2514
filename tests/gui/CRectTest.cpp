// The geometry and colour value types.
#include <gtest/gtest.h>

#include "CColor.h"
#include "CPoint.h"
#include "CRect.h"

namespace gui {
namespace {

TEST(CRect, SizeAndEmptiness) {
  const CRect r(10, 20, 40, 25);
  EXPECT_EQ(r.getWidth(), 30);
  EXPECT_EQ(r.getHeight(), 5);
  EXPECT_FALSE(r.isEmpty());
  EXPECT_TRUE(CRect(10, 10, 10, 20).isEmpty());
  EXPECT_TRUE(CRect(10, 10, 20, 9).isEmpty());
  EXPECT_EQ(CRect(CPoint(3, 4), CPoint(5, 6)), CRect(3, 4, 8, 10));
}

TEST(CRect, PointTestsDifferOnlyAtTheFarEdges) {
  const CRect r(10, 10, 20, 20);
  EXPECT_TRUE(r.pointInside(CPoint(10, 10)));
  EXPECT_FALSE(r.pointInside(CPoint(20, 15)));
  EXPECT_FALSE(r.pointInside(CPoint(15, 20)));
  EXPECT_TRUE(r.pointInsideInclusive(CPoint(20, 20)));
  EXPECT_FALSE(r.pointInsideInclusive(CPoint(21, 20)));
  EXPECT_FALSE(r.pointInsideInclusive(CPoint(9, 15)));
}

TEST(CRect, OverlapCountsTouchingEdges) {
  const CRect r(10, 10, 20, 20);
  EXPECT_TRUE(r.rectOverlap(CRect(20, 10, 30, 20)));
  EXPECT_TRUE(r.rectOverlap(CRect(0, 0, 10, 10)));
  EXPECT_FALSE(r.rectOverlap(CRect(21, 10, 30, 20)));
  EXPECT_TRUE(r.rectInside(CRect(10, 10, 20, 20)));
  EXPECT_FALSE(r.rectInside(CRect(9, 10, 20, 20)));
}

TEST(CRect, BoundIntersectsAndCollapsesWhenApart) {
  CRect r(0, 0, 100, 50);
  EXPECT_EQ(r.bound(CRect(20, 10, 200, 30)), CRect(20, 10, 100, 30));
  CRect apart(0, 0, 10, 10);
  apart.bound(CRect(50, 60, 70, 80));
  EXPECT_TRUE(apart.isEmpty());
  EXPECT_EQ(apart.getWidth(), 0);
  EXPECT_EQ(apart.getHeight(), 0);
  CRect u(0, 0, 10, 10);
  EXPECT_EQ(u.unite(CRect(5, -5, 20, 8)), CRect(0, -5, 20, 10));
}

TEST(CRect, MovingAndNormalising) {
  CRect r(10, 20, 30, 60);
  EXPECT_EQ(r.offset(5, -5), CRect(15, 15, 35, 55));
  EXPECT_EQ(r.moveTo(0, 0), CRect(0, 0, 20, 40));
  EXPECT_EQ(r.getTopLeft(), CPoint(0, 0));
  EXPECT_EQ(r.getBottomRight(), CPoint(20, 40));
  EXPECT_EQ(CRect(30, 60, 10, 20).normalize(), CRect(10, 20, 30, 60));
}

TEST(CPoint, Arithmetic) {
  CPoint p(3, 4);
  EXPECT_EQ(p + CPoint(1, 1), CPoint(4, 5));
  EXPECT_EQ(p - CPoint(5, 5), CPoint(-2, -1));
  p += CPoint(10, 20);
  EXPECT_EQ(p, CPoint(13, 24));
  p -= CPoint(13, 24);
  EXPECT_EQ(p, CPoint());
}

TEST(CColor, PacksAlphaRedGreenBlue) {
  const CColor c = {0x12, 0x34, 0x56, 0x78};
  EXPECT_EQ(c.toArgb(), 0x78123456u);
  EXPECT_EQ(kBlackCColor.toArgb(), 0xFF000000u);
  EXPECT_EQ(kWhiteCColor.toArgb(), 0xFFFFFFFFu);
  EXPECT_NE(kBlackCColor, kWhiteCColor);
}

}  // namespace
}  // namespace gui

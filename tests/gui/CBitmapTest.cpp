// Bitmaps and the graphics system's start-up count.
#include <gtest/gtest.h>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "GDIPlusGlobals.h"

namespace gui {
namespace {

TEST(CBitmap, BlankBitmapHasItsSizeAndDisposeEmptiesIt) {
  auto* bitmap = new CBitmap(40, 30);
  EXPECT_EQ(bitmap->getWidth(), 40);
  EXPECT_EQ(bitmap->getHeight(), 30);
  EXPECT_EQ(bitmap->getResourceDescription().type, CResourceDescription::kUnknownType);
  EXPECT_EQ(bitmap->getTransparentColor(), (CColor{255, 255, 255, 0}));
  EXPECT_TRUE(bitmap->getNoAlpha());
  bitmap->dispose();
  EXPECT_EQ(bitmap->getWidth(), 0);
  EXPECT_EQ(bitmap->getHeight(), 0);
  EXPECT_FALSE(bitmap->getNoAlpha());
  EXPECT_EQ(bitmap->getPlatformImage(), nullptr);
  bitmap->forget();
}

TEST(CBitmap, MissingResourceGivesAnEmptyBitmapThatDrawsNothing) {
  auto* bitmap = new CBitmap(CResourceDescription(4711));
  EXPECT_EQ(bitmap->getWidth(), 0);
  EXPECT_EQ(bitmap->getHeight(), 0);
  EXPECT_FALSE(bitmap->loadFromResource(CResourceDescription(4712)));
  EXPECT_FALSE(bitmap->loadFromPath("any.png"));
  auto* context = new CDrawContext(nullptr, nullptr, nullptr);
  bitmap->draw(context, CRect(0, 0, 10, 10));
  bitmap->drawAlphaBlend(context, CRect(0, 0, 10, 10), CPoint(), 128);
  context->forget();
  bitmap->forget();
}

TEST(GDIPlusGlobals, StartedByTheFirstHolderAndStoppedAfterTheLast) {
  ASSERT_EQ(GDIPlusGlobals::getInstance(), nullptr);
  auto* first = new CBitmap(4, 4);
  GDIPlusGlobals* started = GDIPlusGlobals::getInstance();
  ASSERT_NE(started, nullptr);
  auto* second = new CBitmap(4, 4);
  auto* frame = new CFrame(CRect(0, 0, 10, 10), nullptr, nullptr);
  EXPECT_EQ(GDIPlusGlobals::getInstance(), started);
  EXPECT_EQ(started->getNbReference(), 3);
  first->forget();
  second->forget();
  EXPECT_EQ(GDIPlusGlobals::getInstance(), started);
  frame->forget();
  EXPECT_EQ(GDIPlusGlobals::getInstance(), nullptr);

  auto* again = new CBitmap(4, 4);
  EXPECT_NE(GDIPlusGlobals::getInstance(), nullptr);
  again->forget();
  EXPECT_EQ(GDIPlusGlobals::getInstance(), nullptr);
}

}  // namespace
}  // namespace gui

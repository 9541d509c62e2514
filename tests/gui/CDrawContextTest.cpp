// A drawing context without device: it draws nothing but keeps every state the toolkit reads.
#include <gtest/gtest.h>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFontDesc.h"
#include "CFrame.h"
#include "COffscreenContext.h"

namespace gui {
namespace {

TEST(CDrawContext, StartsWithTheDefaults) {
  auto* context = new CDrawContext(nullptr, nullptr, nullptr);
  EXPECT_EQ(context->getPlatformGraphics(), nullptr);
  EXPECT_EQ(context->getFrameColor(), kWhiteCColor);
  EXPECT_EQ(context->getFillColor(), kBlackCColor);
  EXPECT_EQ(context->getFontColor(), kWhiteCColor);
  EXPECT_EQ(context->getLineWidth(), 1);
  EXPECT_EQ(context->getLineStyle(), kLineSolid);
  EXPECT_EQ(context->getDrawMode(), kCopyMode);
  EXPECT_EQ(context->getFont(), kSystemFont);
  EXPECT_EQ(context->getClipRect(), CRect(0, 0, 1000, 1000));
  EXPECT_EQ(context->offset, CPoint());
  EXPECT_EQ(context->offsetScreen, CPoint());
  context->forget();
}

TEST(CDrawContext, ClipAndPenFollowTheOffset) {
  auto* context = new CDrawContext(nullptr, nullptr, nullptr);
  context->offset = CPoint(100, 50);
  context->setClipRect(CRect(0, 0, 20, 10));
  EXPECT_EQ(context->getClipRect(), CRect(0, 0, 20, 10));
  context->offset = CPoint();
  EXPECT_EQ(context->getClipRect(), CRect(100, 50, 120, 60)) << "stored in window coordinates";

  context->offset = CPoint(5, 5);
  context->moveTo(CPoint(1, 2));
  EXPECT_EQ(context->getPenLoc(), CPoint(6, 7));
  context->lineTo(CPoint(10, 10));
  EXPECT_EQ(context->getPenLoc(), CPoint(15, 15));
  // Drawing without a device changes nothing it keeps.
  context->drawRect(CRect(0, 0, 10, 10), kDrawFilledAndStroked);
  context->drawString("text", CRect(0, 0, 50, 20), kRightText);
  EXPECT_EQ(context->getClipRect(), CRect(95, 45, 115, 55));
  EXPECT_EQ(context->getStringWidth("text"), -1);
  EXPECT_EQ(context->getStringWidth(nullptr), -1);
  context->forget();
}

TEST(CDrawContext, ColourAndPenSettersKeepTheirValues) {
  auto* context = new CDrawContext(nullptr, nullptr, nullptr);
  const CColor grey = {127, 127, 127, 255};
  context->setFrameColor(grey);
  context->setFillColor(grey);
  context->setFontColor(kBlackCColor);
  context->setLineWidth(3);
  context->setLineStyle(kLineOnOffDash);
  context->setDrawMode(kAntialias);
  EXPECT_EQ(context->getFrameColor(), grey);
  EXPECT_EQ(context->getFillColor(), grey);
  EXPECT_EQ(context->getFontColor(), kBlackCColor);
  EXPECT_EQ(context->getLineWidth(), 3);
  EXPECT_EQ(context->getLineStyle(), kLineOnOffDash);
  EXPECT_EQ(context->getDrawMode(), kAntialias);
  context->forget();
}

TEST(CDrawContext, SetFontTakesTheDescriptionOrMakesADerivedOne) {
  auto* context = new CDrawContext(nullptr, nullptr, nullptr);
  const int32_t references = kNormalFont->getNbReference();
  context->setFont(kNormalFont);
  EXPECT_EQ(context->getFont(), kNormalFont);
  EXPECT_EQ(kNormalFont->getNbReference(), references + 1);
  context->setFont(kNormalFont, 12);
  EXPECT_EQ(context->getFont(), kNormalFont) << "the same size keeps the description";
  EXPECT_EQ(kNormalFont->getNbReference(), references + 1);

  context->setFont(kNormalFont, 14);
  CFontDesc* derived = context->getFont();
  EXPECT_NE(derived, kNormalFont);
  EXPECT_STREQ(derived->getName(), "Arial");
  EXPECT_EQ(derived->getSize(), 14);
  EXPECT_EQ(derived->getStyle(), 0);
  EXPECT_EQ(kNormalFont->getNbReference(), references);

  context->setFont(kNormalFont, 0, kBoldFace);
  EXPECT_EQ(context->getFont()->getSize(), 12);
  EXPECT_EQ(context->getFont()->getStyle(), kBoldFace);
  context->forget();
  EXPECT_EQ(kNormalFont->getNbReference(), references);
}

TEST(CDrawContext, FrameGivesTheFirstClip) {
  auto* frame = new CFrame(CRect(0, 0, 691, 371), nullptr, nullptr);
  auto* context = new CDrawContext(frame, nullptr, nullptr);
  EXPECT_EQ(context->getClipRect(), CRect(0, 0, 691, 371));
  EXPECT_EQ(context->getFrame(), frame);
  context->forget();

  auto* offscreen = new COffscreenContext(frame, 40, 30, kWhiteCColor);
  EXPECT_EQ(offscreen->getClipRect(), CRect(0, 0, 40, 30));
  ASSERT_NE(offscreen->getBitmap(), nullptr);
  EXPECT_EQ(offscreen->getBitmap()->getWidth(), 40);
  EXPECT_EQ(offscreen->getBitmap()->getHeight(), 30);
  EXPECT_EQ(offscreen->getWidth(), 40);
  EXPECT_EQ(offscreen->getBackgroundColor(), kWhiteCColor);
  offscreen->forget();
  frame->forget();
}

}  // namespace
}  // namespace gui

// Idle redraw on a real window: only what became dirty is drawn again. Under Wine the idle draws
// it at once, so no update region is left for a paint message.
#include <gtest/gtest.h>

#include "FrameFixture.h"
#include "TestViews.h"

namespace wintest {
namespace {

using gui::CColor;
using gui::CRect;

constexpr CColor kFirst = {200, 40, 40, 255};
constexpr CColor kChanged = {20, 160, 60, 255};

class IdleRedraw : public FrameFixture {};

TEST_F(IdleRedraw, MarkingOneViewDirtyRepaintsThatViewOnly) {
  RecordingView* views[3] = {new RecordingView(CRect(10, 10, 60, 60), kFirst),
                             new RecordingView(CRect(100, 10, 150, 60), kFirst),
                             new RecordingView(CRect(190, 10, 240, 60), kFirst)};
  for (RecordingView* view : views) frame->addView(view);

  // The first idle paints everything: a new frame is dirty itself.
  ASSERT_TRUE(idleAndPaint());
  for (RecordingView* view : views) EXPECT_EQ(view->drawCount, 1);
  EXPECT_FALSE(frame->isDirty());

  views[1]->color = kChanged;
  views[1]->setDirty(true);
  frame->idle();
  EXPECT_FALSE(GetUpdateRect(frameWindow(), nullptr, FALSE));
  EXPECT_EQ(views[0]->drawCount, 1);
  EXPECT_EQ(views[1]->drawCount, 2);
  EXPECT_EQ(views[2]->drawCount, 1);

  // An idle with nothing dirty asks for nothing.
  frame->idle();
  EXPECT_FALSE(GetUpdateRect(frameWindow(), nullptr, FALSE));

  // The window's context, kept without a reset, comes back as it was: the next window that
  // takes it from Wine's cache fills with the default colour, not the view's.
  HDC dc = GetDC(frameWindow());
  EXPECT_EQ(GetDCBrushColor(dc), RGB(255, 255, 255));
  ReleaseDC(frameWindow(), dc);

  const auto failures = waitForPixels(screenRect(), [&](const Screenshot& shot, auto& failed) {
    if (!closeTo(shot.at(kHostX + 125, kHostY + 35), kChanged))
      failed.push_back("the repainted view does not show its new colour");
    if (!closeTo(shot.at(kHostX + 35, kHostY + 35), kFirst))
      failed.push_back("the untouched view lost its colour");
  });
  for (const auto& failure : failures) ADD_FAILURE() << failure;
}

}  // namespace
}  // namespace wintest

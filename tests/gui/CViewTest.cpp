#include <gtest/gtest.h>

#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "CView.h"
#include "CViewContainer.h"
#include "RecordingView.h"

namespace gui {
namespace {

using test::RecordingView;

TEST(CViewTest, HitTestCountsAllFourEdgesOfTheMouseableArea) {
  CView view(CRect(10, 20, 30, 40));
  EXPECT_TRUE(view.hitTest(CPoint(10, 20)));
  EXPECT_TRUE(view.hitTest(CPoint(30, 40)));
  EXPECT_TRUE(view.hitTest(CPoint(30, 20)));
  EXPECT_TRUE(view.hitTest(CPoint(10, 40)));
  EXPECT_FALSE(view.hitTest(CPoint(9, 30)));
  EXPECT_FALSE(view.hitTest(CPoint(31, 30)));
  EXPECT_FALSE(view.hitTest(CPoint(20, 19)));
  EXPECT_FALSE(view.hitTest(CPoint(20, 41)));

  // The mouseable area is separate from the view's rectangle and stays when the view moves.
  view.setMouseableArea(CRect(0, 0, 5, 5));
  view.setViewSize(CRect(100, 100, 120, 120));
  EXPECT_TRUE(view.hitTest(CPoint(5, 5)));
  EXPECT_FALSE(view.hitTest(CPoint(110, 110)));
  EXPECT_EQ(view.getViewSize(), CRect(100, 100, 120, 120));
}

TEST(CViewTest, UpdateCheckCountsTouchingEdgesAsOverlap) {
  CView view(CRect(10, 10, 20, 20));
  EXPECT_TRUE(view.checkUpdate(CRect(20, 20, 30, 30)));
  EXPECT_TRUE(view.checkUpdate(CRect(0, 0, 10, 10)));
  EXPECT_TRUE(view.checkUpdate(CRect(12, 12, 14, 14)));
  EXPECT_FALSE(view.checkUpdate(CRect(21, 10, 30, 20)));
  EXPECT_FALSE(view.checkUpdate(CRect(10, 0, 20, 9)));
}

TEST(CViewTest, HorizontalWheelTurnsIntoReversedVerticalWheel) {
  RecordingView view(CRect(0, 0, 10, 10));
  EXPECT_TRUE(view.onWheel(CPoint(1, 1), kMouseWheelAxisX, 2.0f, 0));
  EXPECT_FLOAT_EQ(view.lastWheelDistance, -2.0f);
  EXPECT_TRUE(view.onWheel(CPoint(1, 1), kMouseWheelAxisY, 3.0f, 0));
  EXPECT_FLOAT_EQ(view.lastWheelDistance, 3.0f);

  CView plain(CRect(0, 0, 10, 10));
  EXPECT_FALSE(plain.onWheel(CPoint(1, 1), kMouseWheelAxisY, 1.0f, 0));
}

TEST(CViewTest, DirtyFlagFollowsVisibilityChangesAndInvalidation) {
  CView view(CRect(0, 0, 10, 10));
  EXPECT_FALSE(view.isDirty());
  view.setVisible(true);  // no change, no redraw
  EXPECT_FALSE(view.isDirty());
  view.setVisible(false);
  EXPECT_TRUE(view.isDirty());
  EXPECT_FALSE(view.isVisible());
  view.invalid();
  EXPECT_FALSE(view.isDirty());
  view.setViewSize(CRect(0, 0, 5, 5), false);
  EXPECT_FALSE(view.isDirty());
  view.setViewSize(CRect(0, 0, 6, 6));
  EXPECT_TRUE(view.isDirty());
}

TEST(CViewTest, BackgroundIsCountedAndSharedByCopies) {
  auto* first = new CBitmap(4, 4);
  auto* second = new CBitmap(8, 8);
  {
    CView view(CRect(0, 0, 10, 10));
    view.setBackground(first);
    EXPECT_EQ(first->getNbReference(), 2);
    EXPECT_TRUE(view.isDirty());
    view.setBackground(first);  // the same bitmap again keeps one reference of the view
    EXPECT_EQ(first->getNbReference(), 2);

    view.setDirty(true);
    CView* copy = view.newCopy();
    EXPECT_EQ(copy->getNbReference(), 1);
    EXPECT_EQ(copy->getBackground(), first);
    EXPECT_EQ(first->getNbReference(), 3);
    EXPECT_FALSE(copy->isDirty());
    EXPECT_FALSE(copy->isAttached());
    copy->forget();
    EXPECT_EQ(first->getNbReference(), 2);

    view.setBackground(second);
    EXPECT_EQ(first->getNbReference(), 1);
    EXPECT_EQ(second->getNbReference(), 2);
  }
  EXPECT_EQ(second->getNbReference(), 1);
  first->forget();
  second->forget();
}

TEST(CViewTest, AttributesAreReplacedGrownAndCopied) {
  CView view(CRect(0, 0, 10, 10));
  const int32_t small = 7;
  const char text[] = "a longer value";
  EXPECT_TRUE(view.setAttribute(1, sizeof(small), &small));
  EXPECT_TRUE(view.setAttribute(2, 0, nullptr));
  EXPECT_TRUE(view.setAttribute(1, sizeof(text), text));  // replaces and grows

  int32_t byteCount = 0;
  EXPECT_TRUE(view.getAttributeSize(1, byteCount));
  EXPECT_EQ(byteCount, static_cast<int32_t>(sizeof(text)));
  char buffer[32] = {};
  EXPECT_FALSE(view.getAttribute(1, 4, buffer, byteCount));  // too small a buffer
  EXPECT_TRUE(view.getAttribute(1, sizeof(buffer), buffer, byteCount));
  EXPECT_STREQ(buffer, text);
  EXPECT_TRUE(view.getAttributeSize(2, byteCount));
  EXPECT_EQ(byteCount, 0);

  CView* copy = view.newCopy();
  std::memset(buffer, 0, sizeof(buffer));
  EXPECT_TRUE(copy->getAttribute(1, sizeof(buffer), buffer, byteCount));
  EXPECT_STREQ(buffer, text);
  copy->forget();

  EXPECT_FALSE(view.setAttribute(3, -1, text));
  EXPECT_FALSE(view.setAttribute(3, 4, nullptr));
  EXPECT_FALSE(view.getAttributeSize(3, byteCount));
  EXPECT_TRUE(view.removeAttribute(1));
  EXPECT_FALSE(view.removeAttribute(1));
  EXPECT_FALSE(view.getAttributeSize(1, byteCount));
}

TEST(CViewTest, AttachingAndRemovingAreRefusedTwice) {
  CFrame frame(CRect(0, 0, 100, 100), nullptr, nullptr);
  CView view(CRect(0, 0, 10, 10));
  EXPECT_FALSE(view.removed(&frame));
  EXPECT_TRUE(view.attached(&frame));
  EXPECT_EQ(view.getFrame(), &frame);
  EXPECT_EQ(view.getParentView(), &frame);
  EXPECT_FALSE(view.attached(&frame));
  EXPECT_TRUE(view.removed(&frame));
  EXPECT_EQ(view.getFrame(), nullptr);
  EXPECT_EQ(view.getParentView(), nullptr);
  EXPECT_FALSE(view.isAttached());
}

TEST(CViewTest, TypeTestIsExactAndCaseSensitive) {
  CView view(CRect(0, 0, 1, 1));
  EXPECT_TRUE(view.isTypeOf("CView"));
  EXPECT_FALSE(view.isTypeOf("cview"));
  EXPECT_FALSE(view.isTypeOf("CViewContainer"));
  EXPECT_FALSE(view.isTypeOf(nullptr));
  EXPECT_EQ(view.notify(nullptr, kMsgCheckIfViewContainer), kMessageUnknown);
}

// A view two containers deep: (5,6) inside a container at (10,20) inside one at (100,200).
class CViewInTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    outer = new CViewContainer(CRect(100, 200, 400, 400));
    inner = new CViewContainer(CRect(10, 20, 110, 120));
    view = new RecordingView(CRect(5, 6, 25, 26));
    inner->addView(view);
    outer->addView(inner);
    frame.addView(outer);
  }

  CFrame frame{CRect(0, 0, 500, 500), test::testParentWindow(), nullptr};
  CViewContainer* outer = nullptr;
  CViewContainer* inner = nullptr;
  RecordingView* view = nullptr;
};

TEST_F(CViewInTreeTest, ConvertsBetweenFrameAndParentCoordinates) {
  CPoint point(150, 250);
  view->frameToLocal(point);
  EXPECT_EQ(point, CPoint(40, 30));  // in the inner container's coordinates
  view->localToFrame(point);
  EXPECT_EQ(point, CPoint(150, 250));

  CPoint topLeft;
  view->getFrameTopLeftPos(topLeft);
  EXPECT_EQ(topLeft, CPoint(115, 226));
}

#if FERROWIN_HEADLESS
TEST_F(CViewInTreeTest, MouseLocationIsInTheViewsParentCoordinatesAndKeepsTheContext) {
  headless::setWindowScreenOrigin(frame.getWindow(), CPoint(30, 40));
  headless::setCursorScreenPosition(CPoint(200, 300));
  CDrawContext* context = frame.createDrawContext();
  ASSERT_EQ(context->screenOffset(), CPoint(30, 40));
  CPoint where;
  view->getMouseLocation(context, where);
  EXPECT_EQ(where, CPoint(200 - 30 - 100 - 10, 300 - 40 - 200 - 20));
  EXPECT_EQ(context->screenOffset(), CPoint(30, 40));
  EXPECT_EQ(context->offset, CPoint(0, 0));
  context->forget();
}
#endif

TEST_F(CViewInTreeTest, VisibleSizeIsClippedByEveryParent) {
  // Partly outside the inner container (which ends at 100 x 100 locally).
  view->setViewSize(CRect(90, 95, 130, 130));
  EXPECT_EQ(view->getVisibleSize(), CRect(90, 95, 100, 100));
  // The outer container (300 wide) shows only the inner container's first 50 columns.
  inner->setViewSize(CRect(250, 20, 350, 120));
  view->setViewSize(CRect(30, 10, 70, 40));
  EXPECT_EQ(view->getVisibleSize(), CRect(30, 10, 50, 40));
  CView loose(CRect(0, 0, 10, 10));
  EXPECT_TRUE(loose.getVisibleSize().isEmpty());
}

#if FERROWIN_HEADLESS
TEST_F(CViewInTreeTest, InvalidationPassesTheRectangleUpToTheWindow) {
  headless::takeInvalidatedRects(frame.getWindow());
  view->setDirty(true);
  view->invalid();
  EXPECT_FALSE(view->isDirty());
  const auto rects = headless::takeInvalidatedRects(frame.getWindow());
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0], CRect(115, 226, 135, 246));

  view->setVisible(false);
  view->invalid();
  EXPECT_TRUE(headless::takeInvalidatedRects(frame.getWindow()).empty());
}
#endif

TEST_F(CViewInTreeTest, EditorAndFrameComeFromTheTreeAndGoOnRemoval) {
  EXPECT_EQ(view->getFrame(), &frame);
  EXPECT_EQ(view->getNbReference(), 2);
  inner->removeView(view, false);
  EXPECT_EQ(view->getFrame(), nullptr);
  EXPECT_EQ(view->getEditor(), nullptr);
  EXPECT_EQ(view->getNbReference(), 1);
  view->forget();
}

}  // namespace
}  // namespace gui

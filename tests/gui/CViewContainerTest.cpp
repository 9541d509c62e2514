#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CDragContainer.h"
#include "CFrame.h"
#include "COffscreenContext.h"
#include "CViewContainer.h"
#include "RecordingView.h"

namespace gui {
namespace {

using test::CountedContainer;
using test::FakeControl;
using test::Log;
using test::RecordingView;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A frame with one container at (100,50) of 200 x 100 pixels.
class CViewContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
#if FERROWIN_HEADLESS
    headless::reset();
#endif
    frame = new CFrame(CRect(0, 0, 400, 300), test::testParentWindow(), nullptr);
    container = new CViewContainer(CRect(100, 50, 300, 150));
    frame->addView(container);
  }
  void TearDown() override {
    frame->forget();
    EXPECT_EQ(RecordingView::liveCount, 0);
    EXPECT_EQ(CountedContainer::liveCount, 0);
  }
  RecordingView* add(const CRect& size, const char* name) {
    auto* view = new RecordingView(size, &log, name);
    container->addView(view);
    return view;
  }

  Log log;
  CFrame* frame = nullptr;
  CViewContainer* container = nullptr;
};

TEST_F(CViewContainerTest, ReferencesFollowAddRemoveAndDestruction) {
  auto* view = new RecordingView(CRect(0, 0, 10, 10));
  EXPECT_TRUE(container->addView(view));
  EXPECT_EQ(view->getNbReference(), 2);
  EXPECT_FALSE(container->addView(view));  // already attached
  EXPECT_FALSE(container->addView(nullptr));
  EXPECT_EQ(view->getNbReference(), 2);

  // Without forget the creator's reference survives the removal.
  EXPECT_TRUE(container->removeView(view, false));
  EXPECT_EQ(view->getNbReference(), 1);
  EXPECT_FALSE(container->removeView(view));  // no longer a child
  EXPECT_TRUE(container->addView(view));
  EXPECT_TRUE(container->removeView(view));  // both references: destroyed
  EXPECT_EQ(RecordingView::liveCount, 0);

  // A container's destruction takes its children along.
  auto* nested = new CountedContainer(CRect(0, 0, 50, 50));
  nested->addView(new RecordingView(CRect(0, 0, 10, 10)));
  nested->addView(new RecordingView(CRect(0, 0, 10, 10)));
  container->addView(nested);
  EXPECT_EQ(RecordingView::liveCount, 2);
  EXPECT_TRUE(container->removeView(nested));
  EXPECT_EQ(CountedContainer::liveCount, 0);
  EXPECT_EQ(RecordingView::liveCount, 0);
}

TEST_F(CViewContainerTest, RemoveAllEmptiesTheListAndKeepsCreatorReferencesOnRequest) {
  auto* kept = add(CRect(0, 0, 10, 10), "kept");
  add(CRect(0, 0, 10, 10), "dropped");
  kept->remember();  // a second owner besides creator and container
  EXPECT_TRUE(container->removeAll(true));
  EXPECT_EQ(container->getNbViews(), 0);
  EXPECT_EQ(RecordingView::liveCount, 1);
  EXPECT_FALSE(kept->isAttached());
  kept->forget();

  auto* view = add(CRect(0, 0, 10, 10), "v");
  EXPECT_TRUE(container->removeAll(false));
  EXPECT_EQ(view->getNbReference(), 1);
  view->forget();
}

TEST_F(CViewContainerTest, AddingBeforeAChildSetsTheZOrder) {
  auto* a = add(CRect(), "a");
  auto* b = add(CRect(), "b");
  auto* c = new RecordingView(CRect());
  auto* d = new RecordingView(CRect());
  auto* stranger = new RecordingView(CRect());
  EXPECT_TRUE(container->addView(c, a));         // below a: the new bottom
  EXPECT_TRUE(container->addView(d, stranger));  // not a child: just below the topmost
  EXPECT_EQ(container->getNbViews(), 4);
  EXPECT_EQ(container->getView(0), c);
  EXPECT_EQ(container->getView(1), a);
  EXPECT_EQ(container->getView(2), d);
  EXPECT_EQ(container->getView(3), b);
  EXPECT_EQ(container->getView(4), nullptr);
  EXPECT_EQ(container->getView(-1), nullptr);
  EXPECT_TRUE(container->isChild(d));
  EXPECT_FALSE(container->isChild(stranger));

  auto* empty = new CViewContainer(CRect(0, 0, 10, 10));
  auto* first = new RecordingView(CRect());
  EXPECT_TRUE(empty->addView(first, stranger));
  EXPECT_EQ(empty->getView(0), first);
  empty->forget();
  stranger->forget();
}

TEST_F(CViewContainerTest, AddedViewsAreAttachedAndDirtyOnlyInAnAttachedContainer) {
  auto* loose = new CViewContainer(CRect(0, 0, 50, 50));
  auto* view = new RecordingView(CRect(0, 0, 10, 10));
  loose->addView(view);
  EXPECT_FALSE(view->isAttached());
  EXPECT_FALSE(view->isDirty());
  EXPECT_EQ(loose->getViewAt(CPoint(5, 5)), nullptr);  // no frame yet

  frame->addView(loose);
  EXPECT_TRUE(view->isAttached());
  EXPECT_EQ(view->getFrame(), frame);
  EXPECT_EQ(view->getParentView(), loose);

  frame->removeView(loose, false);
  EXPECT_FALSE(view->isAttached());
  EXPECT_EQ(view->getFrame(), nullptr);
  loose->forget();
}

TEST_F(CViewContainerTest, PressInAnOverlapGoesToTheTopmostChild) {
  auto* below = add(CRect(0, 0, 60, 60), "below");
  add(CRect(40, 40, 100, 100), "above");
  CPoint where(100 + 50, 50 + 50);  // local (50,50): inside both
  EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventHandled);
  where = CPoint(100 + 20, 50 + 20);
  frame->onMouseUp(where, 0);
  where = CPoint(100 + 60, 50 + 30);  // right edge of below, outside above
  frame->onMouseDown(where, kLButton);
  frame->onMouseUp(where, 0);
  EXPECT_THAT(log, ElementsAre("above down 50,50 2", "above up 20,20 0", "below down 60,30 2",
                               "below up 60,30 0"));
  log.clear();

  // Invisible and mouse-disabled children let the press through to those below.
  container->getView(1)->setVisible(false);
  where = CPoint(150, 100);
  frame->onMouseDown(where, kLButton);
  frame->onMouseUp(where, 0);
  below->setMouseEnabled(false);
  EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventNotHandled);
  EXPECT_THAT(log, ElementsAre("below down 50,50 2", "below up 50,50 0"));
}

TEST_F(CViewContainerTest, CapturedViewGetsMovesAndReleaseOutsideItsRectangle) {
  auto* view = add(CRect(10, 10, 20, 20), "v");
  CPoint where(115, 65);
  ASSERT_EQ(frame->onMouseDown(where, kLButton), kMouseEventHandled);
  EXPECT_EQ(frame->getMouseDownView(), container);
  EXPECT_EQ(container->getMouseDownView(), view);
  where = CPoint(390, 290);  // far outside both the view and the container
  EXPECT_EQ(frame->onMouseMoved(where, kLButton), kMouseEventHandled);
  EXPECT_EQ(frame->onMouseUp(where, 0), kMouseEventHandled);
  EXPECT_EQ(container->getMouseDownView(), nullptr);
  EXPECT_EQ(frame->onMouseUp(where, 0), kMouseEventNotHandled);
  EXPECT_THAT(log, ElementsAre("v down 15,15 2", "v moved 290,240 2", "v up 290,240 0"));
}

TEST_F(CViewContainerTest, CaptureEndsWhenTheViewStopsHandlingMoves) {
  auto* view = add(CRect(10, 10, 20, 20), "v");
  CPoint where(115, 65);
  frame->onMouseDown(where, kLButton);
  view->moveResult = kMouseEventNotHandled;
  EXPECT_EQ(container->onMouseMoved(where, kLButton), kMouseEventNotHandled);
  EXPECT_EQ(container->getMouseDownView(), nullptr);
}

TEST_F(CViewContainerTest, RemovingTheCapturingViewEndsTheCapture) {
  auto* view = add(CRect(10, 10, 20, 20), "v");
  CPoint where(115, 65);
  frame->onMouseDown(where, kLButton);
  container->removeView(view);
  EXPECT_EQ(container->onMouseMoved(where, kLButton), kMouseEventNotHandled);
  EXPECT_EQ(container->onMouseUp(where, 0), kMouseEventNotHandled);
}

TEST_F(CViewContainerTest, UnimplementedPressRunsTheBlockingFormWithAContext) {
  auto* view = add(CRect(10, 10, 20, 20), "v");
  view->downResult = kMouseEventNotImplemented;
  CPoint where(112, 63);
  EXPECT_EQ(frame->onMouseDown(where, kLButton | kDoubleClick), kMouseEventNotImplemented);
  EXPECT_EQ(container->getMouseDownView(), nullptr);
  EXPECT_THAT(log, ElementsAre("v down 12,13 1026", "v mouse 12,13 1026"));
}

TEST_F(CViewContainerTest, ModifierPressOnAControlGoesToItsListenerFirst) {
  auto* control = new FakeControl(CRect(0, 0, 20, 20), &log, "c");
  container->addView(control);
  CPoint where(105, 55);

  control->listenerTakes = true;
  EXPECT_EQ(frame->onMouseDown(where, kLButton | kShift), kMouseEventHandled);
  EXPECT_EQ(control->offeredButtons, kLButton | kShift);
  EXPECT_THAT(log, IsEmpty());  // the control never saw the press

  control->offeredButtons = 0;
  EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventHandled);
  EXPECT_EQ(control->offeredButtons, 0);  // no modifier: the listener is not asked
  frame->onMouseUp(where, 0);

  control->listenerTakes = false;
  EXPECT_EQ(frame->onMouseDown(where, kLButton | kControl), kMouseEventHandled);
  EXPECT_EQ(control->offeredButtons, kLButton | kControl);
  frame->onMouseUp(where, 0);
  EXPECT_THAT(log, ElementsAre("c down 5,5 2", "c up 5,5 0", "c down 5,5 34", "c up 5,5 0"));

  // A plain view on top is not a control and gets the modifier press itself.
  add(CRect(0, 0, 20, 20), "p");
  log.clear();
  frame->onMouseDown(where, kLButton | kAlt);
  EXPECT_THAT(log, ElementsAre("p down 5,5 66"));
}

TEST_F(CViewContainerTest, WheelAndKeysReachTheRightChild) {
  auto* nested = new CViewContainer(CRect(50, 0, 150, 100));
  auto* inner = new RecordingView(CRect(10, 10, 30, 30), &log, "inner");
  nested->addView(inner);
  container->addView(nested);
  auto* left = add(CRect(0, 0, 40, 40), "left");

  EXPECT_TRUE(frame->onWheel(CPoint(100 + 50 + 20, 50 + 20), 1.0f, kShift));
  EXPECT_FLOAT_EQ(inner->lastWheelDistance, 1.0f);
  EXPECT_TRUE(frame->onWheel(CPoint(110, 60), -2.0f, 0));
  EXPECT_FLOAT_EQ(left->lastWheelDistance, -2.0f);
  EXPECT_FALSE(frame->onWheel(CPoint(390, 290), 1.0f, 0));  // nothing there
  EXPECT_THAT(log, ElementsAre("inner wheel 20,20 16", "left wheel 10,10 0"));

  // Keys go from the topmost child down; the first answer other than -1 ends the walk.
  log.clear();
  VstKeyCode key{'a', 0, 0};
  EXPECT_EQ(container->onKeyDown(key), kKeyNotHandled);
  EXPECT_THAT(log, ElementsAre("left key 0,0 97", "inner key 0,0 97"));
  log.clear();
  inner->keyResult = 1;
  left->keyResult = 5;
  EXPECT_EQ(container->onKeyDown(key), 5);
  EXPECT_THAT(log, ElementsAre("left key 0,0 97"));
}

TEST_F(CViewContainerTest, ViewAtAndContainerAtFindTheTopmostUnderThePoint) {
  auto* nested = new CViewContainer(CRect(50, 0, 150, 100));
  auto* inner = new RecordingView(CRect(10, 10, 30, 30));
  nested->addView(inner);
  container->addView(nested);
  auto* top = add(CRect(0, 0, 60, 40), "top");

  EXPECT_EQ(container->getViewAt(CPoint(100 + 60, 50 + 40)), top);  // bottom-right edge
  EXPECT_EQ(container->getViewAt(CPoint(100 + 61, 50 + 40)), nested);
  EXPECT_EQ(container->getViewAt(CPoint(100 + 80, 50 + 30), true), inner);
  EXPECT_EQ(container->getViewAt(CPoint(100 + 90, 50 + 60), true), nullptr);  // empty area
  EXPECT_EQ(frame->getViewAt(CPoint(180, 80), true), inner);
  EXPECT_EQ(frame->getViewAt(CPoint(180, 80), false), container);

  EXPECT_EQ(frame->getContainerAt(CPoint(180, 80), true), nested);
  EXPECT_EQ(frame->getContainerAt(CPoint(180, 80), false), frame);
  EXPECT_EQ(frame->getContainerAt(CPoint(110, 60), true), container);  // top hides nested
  EXPECT_EQ(frame->getContainerAt(CPoint(5, 5), true), frame);

  top->setVisible(false);
  EXPECT_EQ(container->getViewAt(CPoint(110, 60)), nullptr);
  container->setVisible(false);
  EXPECT_EQ(container->getViewAt(CPoint(180, 80)), nullptr);
}

TEST_F(CViewContainerTest, DirtyChildMakesTheContainerDirtyOnlyWhereItCanBeSeen) {
  auto* inside = add(CRect(10, 10, 20, 20), "in");
  auto* outside = add(CRect(250, 10, 260, 20), "out");  // right of the 200-wide container
  container->setDirty(false);
  inside->setDirty(false);
  outside->setDirty(false);
  EXPECT_FALSE(container->isDirty());
  outside->setDirty(true);
  EXPECT_FALSE(container->isDirty());
  inside->setDirty(true);
  EXPECT_TRUE(container->isDirty());
}

#if FERROWIN_HEADLESS
TEST_F(CViewContainerTest, DirtyViewsAreInvalidatedInFrameCoordinates) {
  auto* a = add(CRect(10, 10, 20, 20), "a");
  auto* b = add(CRect(30, 10, 40, 20), "b");
  auto* hidden = add(CRect(50, 10, 60, 20), "hidden");
  auto* nested = new CViewContainer(CRect(100, 50, 200, 100));
  auto* deep = new RecordingView(CRect(1, 2, 3, 4));
  nested->addView(deep);
  container->addView(nested);
  void* window = frame->getWindow();

  // The container itself is new and dirty: its whole rectangle goes up once.
  frame->setDirty(false);
  frame->invalidateDirtyViews();
  EXPECT_THAT(headless::takeInvalidatedRects(window), ElementsAre(CRect(100, 50, 300, 150)));

  container->setDirty(false);
  nested->setDirty(false);
  for (RecordingView* view : {a, b, hidden, deep}) {
    view->setDirty(false);
  }
  b->setDirty(true);
  deep->setDirty(true);
  hidden->setDirty(true);
  hidden->setVisible(false);
  frame->invalidateDirtyViews();
  EXPECT_THAT(headless::takeInvalidatedRects(window),
              ElementsAre(CRect(130, 60, 140, 70), CRect(201, 102, 203, 104)));
  EXPECT_FALSE(b->isDirty());
  EXPECT_FALSE(deep->isDirty());
  EXPECT_TRUE(hidden->isDirty());  // waits until it is shown

  // Nothing dirty and visible: nothing to redraw.
  frame->invalidateDirtyViews();
  EXPECT_THAT(headless::takeInvalidatedRects(window), IsEmpty());
}
#endif

TEST_F(CViewContainerTest, DrawingVisitsOverlappingChildrenInOrderUnderTheirOwnClip) {
  auto* a = add(CRect(0, 0, 100, 100), "a");
  auto* b = add(CRect(50, 50, 150, 100), "b");
  auto* far = add(CRect(160, 0, 200, 20), "far");
  auto* hidden = add(CRect(0, 0, 200, 100), "hidden");
  hidden->setVisible(false);

  CDrawContext context(frame, nullptr, nullptr);
  context.setClipRect(CRect(0, 0, 400, 300));
  // In frame coordinates: the container's local (40,40)-(120,90).
  container->drawRect(&context, CRect(140, 90, 220, 140));

  EXPECT_EQ(a->drawCount, 1);
  EXPECT_EQ(b->drawCount, 1);
  EXPECT_EQ(far->drawCount, 0);
  EXPECT_EQ(hidden->drawCount, 0);
  EXPECT_EQ(a->lastClip, CRect(40, 40, 100, 90));
  EXPECT_EQ(b->lastClip, CRect(50, 50, 120, 90));
  EXPECT_EQ(a->lastOffset, CPoint(100, 50));
  EXPECT_EQ(a->lastUpdate, CRect(40, 40, 120, 90));
  EXPECT_EQ(b->lastUpdate, CRect(40, 40, 120, 90));

  // The context comes back as it was, and the container is clean.
  EXPECT_EQ(context.offset, CPoint(0, 0));
  EXPECT_EQ(context.offsetScreen, CPoint(0, 0));
  EXPECT_EQ(context.getClipRect(), CRect(0, 0, 400, 300));
  EXPECT_FALSE(a->isDirty());
  EXPECT_TRUE(far->isDirty());
  EXPECT_EQ(context.getFillColor(), kBlackCColor);  // the background colour filled the rectangle
}

TEST_F(CViewContainerTest, DrawingNarrowsToTheCallersClip) {
  auto* a = add(CRect(0, 0, 100, 100), "a");
  CDrawContext context(frame, nullptr, nullptr);
  context.setClipRect(CRect(120, 60, 130, 70));
  container->setBackgroundColor(CColor{10, 20, 30, 255});
  container->drawRect(&context, CRect(0, 0, 400, 300));
  EXPECT_EQ(a->lastClip, CRect(20, 10, 30, 20));
  EXPECT_EQ(context.getClipRect(), CRect(120, 60, 130, 70));
  EXPECT_EQ(context.getFillColor(), (CColor{10, 20, 30, 255}));
}

TEST_F(CViewContainerTest, OffscreenContainerDrawsItsChildrenIntoItsOwnSurface) {
  auto* buffered = new CViewContainer(CRect(20, 30, 120, 80));
  buffered->useOffscreen(true);
  auto* child = new RecordingView(CRect(10, 10, 40, 40), &log, "c");
  buffered->addView(child);
  EXPECT_EQ(buffered->getOffscreenContext(), nullptr);
  container->addView(buffered);  // attaching makes the surface
  COffscreenContext* surface = buffered->getOffscreenContext();
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(surface->getWidth(), 100);
  EXPECT_EQ(surface->getHeight(), 50);

  CDrawContext context(frame, nullptr, nullptr);
  context.setClipRect(CRect(0, 0, 400, 300));
  frame->drawRect(&context, CRect(0, 0, 400, 300));
  EXPECT_EQ(child->drawCount, 1);
  EXPECT_EQ(child->lastOffset, CPoint(0, 0));  // drawn in the surface's own coordinates
  EXPECT_EQ(child->lastClip, CRect(10, 10, 40, 40));
  EXPECT_EQ(context.offset, CPoint(0, 0));
  EXPECT_EQ(context.getClipRect(), CRect(0, 0, 400, 300));

  // A new size makes a new surface of that size; detaching or switching off drops it.
  buffered->setViewSize(CRect(20, 30, 220, 90));
  ASSERT_NE(buffered->getOffscreenContext(), nullptr);
  EXPECT_EQ(buffered->getOffscreenContext()->getWidth(), 200);
  buffered->remember();
  container->removeView(buffered);
  EXPECT_EQ(buffered->getOffscreenContext(), nullptr);
  container->addView(buffered);
  EXPECT_NE(buffered->getOffscreenContext(), nullptr);
  buffered->useOffscreen(false);
  EXPECT_EQ(buffered->getOffscreenContext(), nullptr);
}

TEST_F(CViewContainerTest, DragsAreRoutedWithEnterMoveLeaveAndDrop) {
  add(CRect(0, 0, 50, 50), "a");
  add(CRect(60, 0, 110, 50), "b");
  CDragContainer drag(nullptr);
  frame->onDragEnter(&drag, CPoint(110, 60));
  frame->onDragMove(&drag, CPoint(115, 60));
  frame->onDragMove(&drag, CPoint(170, 60));
  frame->onDragMove(&drag, CPoint(100 + 55, 60));  // between the two
  frame->onDragMove(&drag, CPoint(170, 60));
  EXPECT_TRUE(frame->onDrop(&drag, CPoint(175, 65)));
  EXPECT_THAT(log,
              ElementsAre("a drag-enter 10,10 0", "a drag-move 15,10 0", "a drag-leave 70,10 0",
                          "b drag-enter 70,10 0", "b drag-leave 55,10 0", "b drag-enter 70,10 0",
                          "b drop 75,15 0", "b drag-leave 75,15 0"));
  log.clear();
  frame->onDragEnter(&drag, CPoint(110, 60));
  frame->onDragLeave(&drag, CPoint(0, 0));
  EXPECT_FALSE(frame->onDrop(&drag, CPoint(390, 290)));
  EXPECT_THAT(log, ElementsAre("a drag-enter 10,10 0", "a drag-leave -100,-50 0"));
}

TEST_F(CViewContainerTest, CopiesCarryCopiesOfTheChildren) {
  add(CRect(0, 0, 10, 10), "a");
  add(CRect(10, 0, 20, 10), "b");
  container->setBackgroundColor(CColor{1, 2, 3, 255});
  CView* copy = container->newCopy();
  auto* copiedContainer = static_cast<CViewContainer*>(copy);
  ASSERT_TRUE(copy->isTypeOf("CViewContainer"));
  EXPECT_EQ(copiedContainer->getNbViews(), 2);
  EXPECT_NE(copiedContainer->getView(0), container->getView(0));
  EXPECT_EQ(copiedContainer->getView(1)->getViewSize(), CRect(10, 0, 20, 10));
  EXPECT_EQ(copiedContainer->getBackgroundColor(), (CColor{1, 2, 3, 255}));
  EXPECT_FALSE(copy->isAttached());
  copy->forget();
}

TEST_F(CViewContainerTest, HitTestOfChildrenAndTheContainerMessage) {
  add(CRect(10, 10, 20, 20), "a");
  EXPECT_TRUE(container->hitTestSubViews(CPoint(120, 70)));
  EXPECT_FALSE(container->hitTestSubViews(CPoint(121, 71)));
  EXPECT_EQ(container->notify(nullptr, kMsgCheckIfViewContainer), kMessageNotified);
  // Compared by address: the same text elsewhere is not the message.
  const char copy[] = "kMsgCheckIfViewContainer";
  EXPECT_EQ(container->notify(nullptr, copy), kMessageUnknown);
  EXPECT_TRUE(container->isTypeOf("CView"));
  EXPECT_TRUE(container->isTypeOf("CViewContainer"));
  EXPECT_FALSE(container->isTypeOf("CFrame"));
}

}  // namespace
}  // namespace gui

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CCursorType.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "CMouseObserver.h"
#include "COffscreenContext.h"
#include "GUIEditorInterface.h"
#include "RecordingView.h"

namespace gui {
namespace {

using test::CountedContainer;
using test::Log;
using test::RecordingView;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TestEditor : public GUIEditorInterface {
 public:
  void doIdleStuff() override {
    ++idleCalls;
    if (script) script(idleCalls);
  }
  int32_t getKnobMode() const override { return 2; }
  void beginEdit(int32_t index) override { calls.push_back("begin " + std::to_string(index)); }
  void endEdit(int32_t index) override { calls.push_back("end " + std::to_string(index)); }

  int idleCalls = 0;
  std::function<void(int)> script;  // run on each idle call with its number
  std::vector<std::string> calls;
};

class TestObserver : public CMouseObserver {
 public:
  explicit TestObserver(Log* log) : log(log) {}
  void onMouseEntered(CView* view, CFrame* /*frame*/) override {
    log->push_back("observer entered " + static_cast<RecordingView*>(view)->name);
  }
  void onMouseExited(CView* view, CFrame* /*frame*/) override {
    log->push_back("observer exited " + static_cast<RecordingView*>(view)->name);
  }
  Log* log;
};

VstKeyCode tabKey(bool shift) {
  return VstKeyCode{0, VKEY_TAB, static_cast<unsigned char>(shift ? MODIFIER_SHIFT : 0)};
}

class CFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
#if FERROWIN_HEADLESS
    headless::reset();
#endif
    frame = new CFrame(CRect(0, 0, 400, 300), test::testParentWindow(), &editor);
  }
  void TearDown() override {
    if (frame) frame->forget();
    EXPECT_EQ(RecordingView::liveCount, 0);
  }
  RecordingView* add(const CRect& size, const char* name, CViewContainer* parent = nullptr) {
    auto* view = new RecordingView(size, &log, name);
    (parent ? parent : frame)->addView(view);
    return view;
  }
  // What the window's paint does with the update region's rectangle.
  void paint(const CRect& rect) {
    auto* context = new CDrawContext(frame, nullptr, nullptr);
    frame->drawRect(context, rect);
    context->forget();
  }

  Log log;
  TestEditor editor;
  CFrame* frame = nullptr;
};

TEST_F(CFrameTest, FrameIsItsOwnRootAndAnswersForItsEditor) {
  EXPECT_TRUE(frame->isAttached());
  EXPECT_EQ(frame->getFrame(), frame);
  EXPECT_EQ(frame->getEditor(), &editor);
  EXPECT_TRUE(frame->isTypeOf("CFrame"));
  EXPECT_TRUE(frame->isTypeOf("CViewContainer"));
  EXPECT_TRUE(frame->isTypeOf("CView"));
  EXPECT_FALSE(frame->isTypeOf("CControl"));
  EXPECT_TRUE(frame->isOpen());
  EXPECT_FALSE(frame->open());
  EXPECT_FALSE(frame->close());

  EXPECT_EQ(frame->getKnobMode(), 2);
  frame->beginEdit(5);
  frame->endEdit(5);
  frame->doIdleStuff();
  EXPECT_THAT(editor.calls, ElementsAre("begin 5", "end 5"));
  EXPECT_EQ(editor.idleCalls, 1);

  CFrame bare(CRect(0, 0, 10, 10), nullptr, nullptr);
  EXPECT_EQ(bare.getKnobMode(), 0);
  bare.beginEdit(1);
  bare.doIdleStuff();
  EXPECT_EQ(bare.getWindow(), nullptr);
  EXPECT_FALSE(bare.setDropActive(true));
  EXPECT_TRUE(bare.setDropActive(false));
}

TEST_F(CFrameTest, ViewAddedToTheFrameIsAttachedAndDirtyAtOnce) {
  auto* view = add(CRect(10, 10, 20, 20), "v");
  EXPECT_TRUE(view->isAttached());
  EXPECT_TRUE(view->isDirty());
  EXPECT_EQ(view->getFrame(), frame);
  EXPECT_EQ(view->getEditor(), &editor);
}

#if FERROWIN_HEADLESS
TEST_F(CFrameTest, IdleRedrawsExactlyTheViewsThatBecameDirty) {
  auto* a = add(CRect(10, 10, 50, 50), "a");
  auto* b = add(CRect(100, 100, 150, 150), "b");
  auto* c = add(CRect(200, 10, 250, 50), "c");
  void* window = frame->getWindow();

  // A new frame is dirty itself: the first idle asks for the whole window.
  EXPECT_TRUE(frame->isDirty());
  frame->idle();
  const auto firstRects = headless::takeInvalidatedRects(window);
  ASSERT_THAT(firstRects, ElementsAre(CRect(0, 0, 400, 300)));
  paint(firstRects[0]);
  EXPECT_EQ(a->drawCount, 1);
  EXPECT_EQ(b->drawCount, 1);
  EXPECT_EQ(c->drawCount, 1);
  EXPECT_FALSE(frame->isDirty());

  frame->idle();
  EXPECT_THAT(headless::takeInvalidatedRects(window), IsEmpty());

  b->setDirty(true);
  frame->idle();
  const auto rects = headless::takeInvalidatedRects(window);
  ASSERT_THAT(rects, ElementsAre(CRect(100, 100, 150, 150)));
  paint(rects[0]);
  EXPECT_EQ(a->drawCount, 1);
  EXPECT_EQ(b->drawCount, 2);
  EXPECT_EQ(c->drawCount, 1);
  EXPECT_EQ(b->lastClip, CRect(100, 100, 150, 150));

  // A closed frame (its window destroyed) does not redraw.
  c->setDirty(true);
  frame->setOpenFlag(false);
  frame->idle();
  EXPECT_THAT(headless::takeInvalidatedRects(window), IsEmpty());
  EXPECT_FALSE(frame->isOpen());
}

// Each request to the window can cost a round trip to the window system: the views that
// changed before one idle reach it in a single request, and a change outside the idle (input)
// still goes at once.
TEST_F(CFrameTest, AnIdleAsksTheWindowOnceForAllItsChangedViews) {
  auto* a = add(CRect(10, 10, 50, 50), "a");
  auto* b = add(CRect(100, 100, 150, 150), "b");
  auto* c = add(CRect(200, 10, 250, 50), "c");
  void* window = frame->getWindow();
  frame->idle();
  paint(CRect(0, 0, 400, 300));
  headless::takeInvalidatedRects(window);
  headless::takeInvalidationRequests(window);

  a->setDirty(true);
  b->setDirty(true);
  c->setDirty(true);
  frame->idle();
  EXPECT_EQ(headless::takeInvalidationRequests(window), 1);
  EXPECT_THAT(
      headless::takeInvalidatedRects(window),
      ElementsAre(CRect(10, 10, 50, 50), CRect(100, 100, 150, 150), CRect(200, 10, 250, 50)));

  frame->idle();
  EXPECT_EQ(headless::takeInvalidationRequests(window), 0);

  b->invalid();
  EXPECT_EQ(headless::takeInvalidationRequests(window), 1);
  EXPECT_THAT(headless::takeInvalidatedRects(window), ElementsAre(CRect(100, 100, 150, 150)));
}

TEST_F(CFrameTest, InvalidateMarksOverlappingChildrenForTheNextIdle) {
  auto* a = add(CRect(10, 10, 50, 50), "a");
  auto* b = add(CRect(100, 100, 150, 150), "b");
  paint(CRect(0, 0, 400, 300));
  headless::takeInvalidatedRects(frame->getWindow());
  frame->invalidate(CRect(50, 50, 60, 60));  // touches a's corner only
  EXPECT_TRUE(a->isDirty());
  EXPECT_FALSE(b->isDirty());
  EXPECT_THAT(headless::takeInvalidatedRects(frame->getWindow()), IsEmpty());
  frame->idle();
  EXPECT_THAT(headless::takeInvalidatedRects(frame->getWindow()),
              ElementsAre(CRect(10, 10, 50, 50)));
}

TEST_F(CFrameTest, FramesShareTheWindowClassAndReleaseEverything) {
  void* window = frame->getWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(headless::isDropRegistered(window));
  EXPECT_TRUE(frame->isDropActive());
  EXPECT_EQ(headless::classUseCount(), 1);
  {
    CFrame second(CRect(0, 0, 10, 10), test::testParentWindow(), nullptr);
    EXPECT_EQ(headless::classUseCount(), 2);
    EXPECT_EQ(headless::liveWindowCount(), 2);
  }
  EXPECT_EQ(headless::classUseCount(), 1);
  EXPECT_TRUE(frame->setDropActive(false));
  EXPECT_FALSE(headless::isDropRegistered(window));
  EXPECT_TRUE(frame->setDropActive(true));
  EXPECT_TRUE(headless::isDropRegistered(window));

  frame->forget();
  frame = nullptr;
  EXPECT_EQ(headless::liveWindowCount(), 0);
  EXPECT_EQ(headless::classUseCount(), 0);
  EXPECT_EQ(headless::oleInitBalance(), 0);
}

TEST_F(CFrameTest, FramesCanBeMadeAndDestroyedRepeatedly) {
  frame->forget();
  frame = nullptr;
  const int32_t graphicsBefore = headless::graphicsSystemBalance();
  for (int round = 0; round < 25; ++round) {
    auto* made = new CFrame(CRect(0, 0, 200, 100), test::testParentWindow(), &editor);
    auto* group = new CountedContainer(CRect(0, 0, 100, 100));
    group->addView(new RecordingView(CRect(0, 0, 10, 10)));
    made->addView(group);
    made->addView(new RecordingView(CRect(50, 0, 60, 10)));
    made->idle();
    EXPECT_EQ(headless::liveWindowCount(), 1);
    made->forget();
    EXPECT_EQ(RecordingView::liveCount, 0);
    EXPECT_EQ(CountedContainer::liveCount, 0);
  }
  EXPECT_EQ(headless::liveWindowCount(), 0);
  EXPECT_EQ(headless::classUseCount(), 0);
  EXPECT_EQ(headless::oleInitBalance(), 0);
  EXPECT_EQ(headless::graphicsSystemBalance(), graphicsBefore);
}

TEST_F(CFrameTest, TrackingLoopFollowsThePointerUntilTheButtonIsReleased) {
  add(CRect(10, 10, 20, 20), "v");
  headless::setWindowScreenOrigin(frame->getWindow(), CPoint(100, 200));
  headless::setMouseButtons(kLButton);
  editor.script = [](int call) {
    if (call == 1) headless::setCursorScreenPosition(CPoint(130, 240));
    if (call == 3) headless::setMouseButtons(0);
  };
  CPoint where(15, 15);
  frame->mouse(nullptr, where);
  EXPECT_EQ(editor.idleCalls, 3);
  EXPECT_THAT(log,
              ElementsAre("v down 15,15 2", "v moved 30,40 2", "v moved 30,40 2", "v up 30,40 0"));

  // Without a pressed button the loop ends after one turn.
  log.clear();
  editor.idleCalls = 0;
  editor.script = nullptr;
  where = CPoint(15, 15);
  frame->mouse(nullptr, where, kShift);
  EXPECT_EQ(editor.idleCalls, 1);
  EXPECT_THAT(log, ElementsAre("v down 15,15 16", "v up 30,40 0"));
}

TEST_F(CFrameTest, CursorLocationAndShape) {
  headless::setWindowScreenOrigin(frame->getWindow(), CPoint(100, 200));
  headless::setCursorScreenPosition(CPoint(150, 210));
  CPoint where;
  EXPECT_TRUE(frame->getCurrentLocation(where));
  EXPECT_EQ(where, CPoint(50, 10));
  frame->setCursor(kCursorHand);
  EXPECT_EQ(headless::lastCursorType(), kCursorHand);

  auto* view = add(CRect(40, 0, 60, 20), "v");
  EXPECT_EQ(frame->getCurrentView(), view);
  headless::setCursorScreenPosition(CPoint(0, 0));
  EXPECT_EQ(frame->getCurrentView(), nullptr);
}

TEST_F(CFrameTest, BackBufferOnlyOnSystemsWithoutComposition) {
  EXPECT_EQ(frame->getBackBuffer(), nullptr);
  headless::setSystemMajorVersion(5);
  CFrame old(CRect(0, 0, 120, 80), test::testParentWindow(), nullptr);
  COffscreenContext* buffer = old.getBackBuffer();
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->getWidth(), 120);
  EXPECT_EQ(buffer->getHeight(), 80);
  EXPECT_EQ(old.getBackBuffer(), buffer);
  EXPECT_TRUE(old.setSize(200, 100));  // a new size drops the buffer
  COffscreenContext* resized = old.getBackBuffer();
  EXPECT_EQ(resized->getWidth(), 200);
}
#endif

TEST_F(CFrameTest, HoverEntersMovesAndExitsWithoutButtons) {
  auto* group = new CViewContainer(CRect(100, 100, 200, 200));
  frame->addView(group);
  add(CRect(10, 10, 30, 30), "inner", group);
  add(CRect(0, 0, 50, 50), "corner");
  TestObserver observer(&log);
  frame->setMouseObserver(&observer);

  CPoint where(20, 20);
  EXPECT_EQ(frame->onMouseMoved(where, kShift), kMouseEventHandled);
  where = CPoint(25, 20);
  frame->onMouseMoved(where, kShift);
  where = CPoint(115, 120);  // into the view inside the group
  frame->onMouseMoved(where, 0);
  where = CPoint(300, 250);  // over nothing
  frame->onMouseMoved(where, 0);
  EXPECT_EQ(frame->onMouseMoved(where, 0), kMouseEventNotHandled);
  EXPECT_THAT(
      log,
      ElementsAre("corner entered 20,20 16", "observer entered corner", "corner moved 25,20 0",
                  "corner exited 115,120 0", "observer exited corner", "inner entered 15,20 0",
                  "observer entered inner", "inner exited 200,150 0", "observer exited inner"));
}

TEST_F(CFrameTest, PressEndsTheHoverAndTheFocus) {
  auto* view = add(CRect(0, 0, 50, 50), "v");
  view->setWantsFocus(true);
  frame->setFocusView(view);
  CPoint where(10, 10);
  frame->onMouseMoved(where, 0);
  log.clear();
  frame->onMouseDown(where, kLButton);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_THAT(log, ElementsAre("v loose-focus 0,0 0", "v exited 10,10 2", "v down 10,10 2"));
}

TEST_F(CFrameTest, TabMovesTheFocusThroughTheTreeAndShiftTabBackwards) {
  auto* a = add(CRect(0, 0, 10, 10), "a");
  add(CRect(10, 0, 20, 10), "b");  // does not want the focus
  auto* group = new CViewContainer(CRect(0, 20, 100, 40));
  frame->addView(group);
  auto* c = add(CRect(0, 0, 10, 10), "c", group);
  auto* d = add(CRect(10, 0, 20, 10), "d", group);
  auto* e = add(CRect(0, 50, 10, 60), "e");
  for (RecordingView* view : {a, c, d, e}) view->setWantsFocus(true);

  VstKeyCode tab = tabKey(false);
  EXPECT_EQ(frame->onKeyDown(tab), 1);
  EXPECT_EQ(frame->getFocusView(), a);
  EXPECT_EQ(frame->onKeyDown(tab), 1);
  EXPECT_EQ(frame->getFocusView(), c);
  EXPECT_EQ(frame->onKeyDown(tab), 1);
  EXPECT_EQ(frame->getFocusView(), d);
  // Past the end of the group the walk goes on after the group in the frame.
  EXPECT_EQ(frame->onKeyDown(tab), 1);
  EXPECT_EQ(frame->getFocusView(), e);
  EXPECT_EQ(frame->onKeyDown(tab), kKeyNotHandled);
  EXPECT_EQ(frame->getFocusView(), nullptr);

  VstKeyCode backTab = tabKey(true);
  EXPECT_EQ(frame->onKeyDown(backTab), 1);
  EXPECT_EQ(frame->getFocusView(), e);
  EXPECT_EQ(frame->onKeyDown(backTab), 1);
  EXPECT_EQ(frame->getFocusView(), d);

  // The focus view sees keys first; when it takes the tab key, the focus stays.
  d->keyResult = 7;
  EXPECT_EQ(frame->onKeyDown(tab), 7);
  EXPECT_EQ(frame->getFocusView(), d);
  VstKeyCode other{'x', 0, 0};
  d->keyResult = kKeyNotHandled;
  EXPECT_EQ(frame->onKeyDown(other), kKeyNotHandled);
  EXPECT_EQ(frame->onKeyUp(other), kKeyNotHandled);
}

TEST_F(CFrameTest, FocusChangesMarkFocusableViewsDirtyAndIgnoreNestedChanges) {
  auto* a = add(CRect(0, 0, 10, 10), "a");
  auto* b = add(CRect(10, 0, 20, 10), "b");
  auto* plain = add(CRect(20, 0, 30, 10), "plain");
  a->setWantsFocus(true);
  b->setWantsFocus(true);
  for (RecordingView* view : {a, b, plain}) view->setDirty(false);

  frame->setFocusView(a);
  EXPECT_TRUE(a->isDirty());
  a->setDirty(false);
  frame->setFocusView(plain);
  EXPECT_TRUE(a->isDirty());
  EXPECT_FALSE(plain->isDirty());
  EXPECT_THAT(log, ElementsAre("a loose-focus 0,0 0"));

  // A view that moves the focus while it loses it: the nested change is ignored.
  struct Grabber : RecordingView {
    using RecordingView::RecordingView;
    void looseFocus() override { getFrame()->setFocusView(other); }
    CView* other = nullptr;
  };
  auto* grabber = new Grabber(CRect(30, 0, 40, 10));
  grabber->other = b;
  frame->addView(grabber);
  frame->setFocusView(grabber);
  frame->setFocusView(a);
  EXPECT_EQ(frame->getFocusView(), a);

  // Removing the focus view clears the focus.
  frame->removeView(a);
  EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(CFrameTest, ModalViewTakesPressesWheelAndFocus) {
  auto* below = add(CRect(0, 0, 400, 300), "below");
  auto* modal = new RecordingView(CRect(100, 100, 200, 200), &log, "modal");
  auto* other = new RecordingView(CRect(0, 0, 10, 10), &log, "other");
  EXPECT_TRUE(frame->setModalView(modal));
  EXPECT_EQ(frame->getModalView(), modal);
  EXPECT_TRUE(modal->isAttached());
  EXPECT_FALSE(frame->setModalView(other));  // one at a time
  EXPECT_FALSE(frame->setModalView(below));  // attached elsewhere

  CPoint where(50, 50);
  EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventNotHandled);
  where = CPoint(150, 150);
  EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventHandled);
  where = CPoint(5, 5);
  EXPECT_EQ(frame->onMouseUp(where, 0), kMouseEventHandled);
  EXPECT_TRUE(frame->onWheel(CPoint(5, 5), 1.0f, 0));
  EXPECT_THAT(log, ElementsAre("modal down 150,150 2", "modal up 5,5 0", "modal wheel 5,5 0"));

  // The modal view is the current view, and Tab gives it the focus once.
  EXPECT_EQ(frame->getCurrentView(), modal);
  VstKeyCode tab = tabKey(false);
  EXPECT_EQ(frame->onKeyDown(tab), 1);
  EXPECT_EQ(frame->getFocusView(), modal);
  EXPECT_EQ(frame->onKeyDown(tab), kKeyNotHandled);

  // Clearing removes it from the frame but leaves the creator's reference.
  EXPECT_TRUE(frame->setModalView(nullptr));
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_FALSE(modal->isAttached());
  EXPECT_EQ(modal->getNbReference(), 1);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  modal->forget();
  other->forget();
}

TEST_F(CFrameTest, ModalViewLeftAtDestructionSurvivesForItsCreator) {
  auto* modal = new RecordingView(CRect(0, 0, 10, 10));
  frame->setModalView(modal);
  frame->forget();
  frame = nullptr;
  EXPECT_EQ(modal->getNbReference(), 1);
  EXPECT_FALSE(modal->isAttached());
  modal->forget();
}

TEST_F(CFrameTest, UnimplementedPressOnTheModalViewRunsItsBlockingForm) {
  auto* modal = new RecordingView(CRect(0, 0, 50, 50), &log, "modal");
  modal->downResult = kMouseEventNotImplemented;
  frame->setModalView(modal);
  CPoint where(5, 5);
  EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventHandled);
  EXPECT_THAT(log, ElementsAre("modal down 5,5 2", "modal mouse 5,5 2"));
  modal->downResult = kMouseEventNotHandled;
  EXPECT_EQ(frame->onMouseDown(where, kLButton), kMouseEventNotHandled);
  frame->setModalView(nullptr);
  modal->forget();
}

TEST_F(CFrameTest, WheelIsRefusedWhileAViewHasTheMouse) {
  auto* view = add(CRect(0, 0, 50, 50), "v");
  EXPECT_TRUE(frame->onWheel(CPoint(5, 5), 1.0f, 0));
  CPoint where(5, 5);
  frame->onMouseDown(where, kLButton);
  EXPECT_FALSE(frame->onWheel(CPoint(5, 5), 1.0f, 0));
  frame->onMouseUp(where, 0);
  EXPECT_TRUE(frame->onWheel(CPoint(5, 5), -1.0f, 0));
  EXPECT_FLOAT_EQ(view->lastWheelDistance, -1.0f);
}

TEST_F(CFrameTest, SizeChangesOnlyWhileOpenAndWhenDifferent) {
  EXPECT_FALSE(frame->setSize(400, 300));
  frame->setDirty(false);
  const bool hasWindow = frame->getWindow() != nullptr;
  EXPECT_TRUE(frame->setSize(500, 350));
  EXPECT_EQ(frame->getViewSize(), CRect(0, 0, 500, 350));
  EXPECT_TRUE(frame->isDirty());
  CRect rect;
  EXPECT_EQ(frame->getSize(rect), hasWindow);
  frame->setOpenFlag(false);
  EXPECT_FALSE(frame->setSize(10, 10));
  EXPECT_FALSE(frame->getSize(&rect));
  int32_t x = 0;
  int32_t y = 0;
  EXPECT_FALSE(frame->getPosition(x, y));
  EXPECT_FALSE(frame->setPosition(1, 1));
}

}  // namespace
}  // namespace gui

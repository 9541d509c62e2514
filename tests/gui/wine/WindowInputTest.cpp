// Real pointer input from outside through the X server (xdotool), and window messages, reaching
// views through the frame window's procedure.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CCursorType.h"
#include "CDrawContext.h"
#include "FrameFixture.h"
#include "TestViews.h"
#include "platform/win32/FrameWindowProc.h"

namespace wintest {
namespace {

using gui::CPoint;
using gui::CRect;

constexpr gui::CColor kViewColor = {40, 120, 200, 255};

bool xdotool(const std::string& arguments) { return runUnix("xdotool " + arguments); }

std::string moveTo(const CPoint& screen) {
  return "mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y);
}

class WindowInput : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    view = new RecordingView(kViewRect, kViewColor);
    frame->addView(view);
    ASSERT_TRUE(idleAndPaint());
    // Start from a pointer outside the frame with nothing held.
    ASSERT_TRUE(xdotool("mouseup 1 " + moveTo(CPoint(kHostX + kWidth + 40, kHostY + 10))));
    pumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
    view->events.clear();
  }

  bool waitFor(const std::string& kind, size_t count = 1) {
    return pumpUntil([&] { return view->of(kind).size() >= count; });
  }

  // Moves the pointer to a frame point until the view reports the event. Wine now and then
  // drops a lone motion that arrives while it is still mapping or moving its windows; a
  // repeated move (one pixel apart, so that the X server reports it) gets through.
  bool hoverUntil(const CPoint& local, const std::string& kind) {
    const size_t before = view->of(kind).size();
    for (int attempt = 0; attempt < 5; ++attempt) {
      const CPoint nudged(local.x, local.y + (attempt % 2));
      if (!xdotool(moveTo(toScreen(nudged)))) return false;
      if (pumpUntil([&] { return view->of(kind).size() > before; }, 3000)) return true;
    }
    return false;
  }

  const CRect kViewRect = CRect(50, 40, 150, 120);
  const CPoint kInside = CPoint(100, 80);
  RecordingView* view = nullptr;
};

TEST_F(WindowInput, PressMoveAndReleaseFollowThePointerOutsideTheView) {
  ASSERT_TRUE(xdotool(moveTo(toScreen(kInside)) + " mousedown 1"));
  ASSERT_TRUE(waitFor("down"));
  EXPECT_EQ(view->of("down")[0].buttons, gui::kLButton);
  EXPECT_EQ(view->of("down")[0].where, kInside);
  // The view answered handled: the window holds the mouse.
  EXPECT_EQ(GetCapture(), frameWindow());

  // Beyond the frame window altogether, the moves still come, in the parent's coordinates.
  const CPoint outside(kWidth + 30, kHeight / 2);
  ASSERT_TRUE(xdotool(moveTo(toScreen(outside))));
  ASSERT_TRUE(pumpUntil([&] {
    for (const auto& e : view->of("moved"))
      if (e.where == outside) return true;
    return false;
  }));
  for (const auto& e : view->of("moved")) EXPECT_EQ(e.buttons, gui::kLButton);

  ASSERT_TRUE(xdotool("mouseup 1"));
  ASSERT_TRUE(waitFor("up"));
  EXPECT_EQ(view->of("up")[0].where, outside);
  EXPECT_EQ(view->of("up")[0].buttons, 0) << "an up message carries the state after release";
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowInput, SecondPressOfADoubleClickCarriesTheDoubleClickBit) {
  ASSERT_TRUE(xdotool(moveTo(toScreen(kInside)) + " click --repeat 2 --delay 80 1"));
  ASSERT_TRUE(waitFor("down", 2));
  ASSERT_TRUE(waitFor("up", 2));
  EXPECT_EQ(view->of("down")[0].buttons, gui::kLButton);
  EXPECT_EQ(view->of("down")[1].buttons, gui::kLButton | gui::kDoubleClick);

  // The same through a message: 1026 for the left button.
  view->events.clear();
  SendMessageA(frameWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(kInside.x, kInside.y));
  SendMessageA(frameWindow(), WM_LBUTTONUP, 0, MAKELPARAM(kInside.x, kInside.y));
  ASSERT_EQ(view->of("down").size(), 1u);
  EXPECT_EQ(view->of("down")[0].buttons, 1026);
}

TEST_F(WindowInput, WheelTurnsArriveAsWholeNotchesAtThePointer) {
  ASSERT_TRUE(xdotool(moveTo(toScreen(kInside)) + " click 4"));
  ASSERT_TRUE(waitFor("wheel"));
  ASSERT_TRUE(xdotool("click 5"));
  ASSERT_TRUE(waitFor("wheel", 2));
  EXPECT_FLOAT_EQ(view->of("wheel")[0].distance, 1.0f);
  EXPECT_FLOAT_EQ(view->of("wheel")[1].distance, -1.0f);
  EXPECT_EQ(view->of("wheel")[0].where, kInside);

  // Deltas the X server does not make: two notches down, and half a notch (which is none).
  view->events.clear();
  const CPoint screen = toScreen(kInside);
  const LPARAM at = MAKELPARAM(screen.x, screen.y);
  SendMessageA(frameWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), at);
  SendMessageA(frameWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), at);
  ASSERT_EQ(view->of("wheel").size(), 2u);
  EXPECT_FLOAT_EQ(view->of("wheel")[0].distance, -2.0f);
  EXPECT_FLOAT_EQ(view->of("wheel")[1].distance, 0.0f);
  EXPECT_FLOAT_EQ(gui::platform::wheelDistance(MAKEWPARAM(0, 120)), 1.0f);
}

TEST_F(WindowInput, AltHeldDuringADragAddsTheAltBit) {
  ASSERT_TRUE(xdotool(moveTo(toScreen(kInside)) + " keydown alt mousedown 1"));
  ASSERT_TRUE(waitFor("down"));
  ASSERT_TRUE(xdotool(moveTo(toScreen(CPoint(110, 90)))));
  ASSERT_TRUE(waitFor("moved"));
  ASSERT_TRUE(xdotool("mouseup 1 keyup alt"));
  ASSERT_TRUE(waitFor("up"));
  EXPECT_EQ(view->of("down")[0].buttons, gui::kLButton | gui::kAlt);
  EXPECT_EQ(view->of("moved")[0].buttons, gui::kLButton | gui::kAlt);
  EXPECT_EQ(view->of("up")[0].buttons, gui::kAlt);
}

TEST_F(WindowInput, HoverEntersMovesWithoutButtonsAndExits) {
  ASSERT_TRUE(hoverUntil(kInside, "entered"));
  const CPoint further(kInside.x + 5, kInside.y);
  ASSERT_TRUE(hoverUntil(further, "moved"));
  ASSERT_TRUE(hoverUntil(CPoint(10, 10), "exited"));
  EXPECT_EQ(view->of("entered").size(), 1u);
  EXPECT_EQ(view->of("exited").size(), 1u);
  EXPECT_EQ(view->of("moved").back().buttons, 0);
  EXPECT_EQ(view->of("moved").back().where.x, further.x);
  EXPECT_FALSE(view->has("down"));
}

TEST_F(WindowInput, CursorTypesSelectTheSystemCursorsAndTheDefaultComesBack) {
  // As on a fresh display, where nothing has set a cursor yet: that counts as the arrow.
  SetCursor(nullptr);
  const HCURSOR before = LoadCursorW(nullptr, IDC_ARROW);
  const struct {
    int32_t type;
    LPCWSTR id;
  } table[] = {{gui::kCursorWait, IDC_WAIT},         {gui::kCursorHSize, IDC_SIZEWE},
               {gui::kCursorVSize, IDC_SIZENS},      {gui::kCursorSizeAll, IDC_SIZEALL},
               {gui::kCursorNESWSize, IDC_SIZENESW}, {gui::kCursorNWSESize, IDC_SIZENWSE},
               {gui::kCursorNotAllowed, IDC_NO},     {gui::kCursorHand, IDC_HAND}};
  for (const auto& entry : table) {
    frame->setCursor(entry.type);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, entry.id)) << "cursor type " << entry.type;
  }
  // The default is the cursor that was current at the first call.
  for (int32_t type :
       {static_cast<int32_t>(gui::kCursorCopy), static_cast<int32_t>(gui::kCursorDefault), 99}) {
    frame->setCursor(gui::kCursorWait);
    frame->setCursor(type);
    EXPECT_EQ(GetCursor(), before) << "cursor type " << type;
  }
}

// The system's swapped-button setting, read when the window class is registered.
class SwappedButtons : public WindowInput {
 protected:
  void SetUp() override {
    SwapMouseButton(TRUE);
    WindowInput::SetUp();
  }
  void TearDown() override {
    WindowInput::TearDown();
    SwapMouseButton(FALSE);
  }
};

TEST_F(SwappedButtons, ThePhysicalLeftButtonReadsAsTheRightOne) {
  ASSERT_GT(GetSystemMetrics(SM_SWAPBUTTON), 0);
  ASSERT_TRUE(xdotool(moveTo(toScreen(kInside)) + " mousedown 1"));
  ASSERT_TRUE(waitFor("down"));
  ASSERT_TRUE(pumpUntil([&] { return frame->getCurrentMouseButtons() != 0; }));
  EXPECT_EQ(frame->getCurrentMouseButtons() & (gui::kLButton | gui::kRButton), gui::kRButton);
  ASSERT_TRUE(xdotool("mouseup 1"));
  ASSERT_TRUE(waitFor("up"));
  // Windows itself turns the physical left press into a right-button message; Wine does not
  // (docs/wine.md), so the message's bits are not checked here.
}

// Drives the pointer from the tracking loop's idle calls: each step starts when the previous
// one has reached the view, so the loop is never waited for by time.
class PointerScript : public gui::GUIEditorInterface {
 public:
  void doIdleStuff() override {
    ++idleCalls;
    if (step == 0) {
      startUnix("xdotool " + moveTo(targetScreen));
      step = 1;
    } else if (step == 1) {
      bool arrived = false;
      for (const auto& e : view->of("moved")) arrived |= e.where == target;
      if (arrived || GetTickCount() - start > kWaitTimeoutMs) {
        timedOut = !arrived;
        startUnix("xdotool mouseup 1");
        step = 2;
      }
    }
  }

  RecordingView* view = nullptr;
  CPoint target;
  CPoint targetScreen;
  DWORD start = GetTickCount();
  int step = 0;
  int idleCalls = 0;
  bool timedOut = false;
};

class WindowTracking : public FrameFixture {
 protected:
  void SetUp() override {
    editor = &script;
    FrameFixture::SetUp();
  }
  PointerScript script;
};

TEST_F(WindowTracking, BlockingLoopFollowsThePointerAndEndsOnRelease) {
  const CPoint inside(100, 80);
  auto* view = new RecordingView(CRect(50, 40, 150, 120), kViewColor);
  frame->addView(view);
  script.view = view;
  script.target = CPoint(200, 150);
  script.targetScreen = toScreen(script.target);

  ASSERT_TRUE(xdotool(moveTo(toScreen(inside)) + " mousedown 1"));
  ASSERT_TRUE(pumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) < 0; }));
  // The window's own press message started a gesture; it ends before the loop takes over.
  frame->endMouseGesture();
  view->events.clear();

  // The loop reads the real button and pointer; the window's queued messages wait meanwhile.
  gui::CDrawContext* context = frame->createDrawContext();
  CPoint where = inside;
  script.start = GetTickCount();
  frame->mouse(context, where, -1);
  context->forget();

  EXPECT_FALSE(script.timedOut);
  EXPECT_GT(script.idleCalls, 0);
  ASSERT_FALSE(view->of("down").empty());
  EXPECT_EQ(view->of("down")[0].buttons, gui::kLButton);
  ASSERT_FALSE(view->of("moved").empty());
  EXPECT_EQ(view->of("moved").back().where, script.target);
  ASSERT_EQ(view->of("up").size(), 1u);
  EXPECT_EQ(view->of("up")[0].where, script.target);
  EXPECT_EQ(view->of("up")[0].buttons & gui::kLButton, 0);
}

}  // namespace
}  // namespace wintest

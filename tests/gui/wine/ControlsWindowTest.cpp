// The controls on a real frame window under Wine, behind the editor bridge: driven by real
// pointer, key and wheel input from outside (xdotool), checked on the X server's picture and on
// the host callbacks that a gesture causes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BridgeTestEditor.h"
#include "CAnimKnob.h"
#include "CBitmap.h"
#include "COffscreenContext.h"
#include "COnOffButton.h"
#include "CParamDisplay.h"
#include "CVerticalSlider.h"
#include "GDIPlusGlobals.h"
#include "ModuleHandle.h"
#include "WineTestSupport.h"
#include "platform/win32/FrameWindowClass.h"

namespace wintest {
namespace {

using bridgetest::HostCall;
using bridgetest::hostCallCount;
using bridgetest::hostLog;
using bridgetest::TestEffect;
using gui::CColor;
using gui::CPoint;
using gui::CRect;

constexpr int32_t kHostX = 40;
constexpr int32_t kHostY = 40;
constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 240;

constexpr CColor kWhite = gui::kWhiteCColor;
constexpr CColor kHandleColor = {220, 30, 30, 255};
constexpr CColor kOffColor = {30, 160, 30, 255};
constexpr CColor kOnColor = {30, 30, 200, 255};
constexpr CColor kDisplayBack = {20, 20, 60, 255};
constexpr CColor kDisplayFrame = {250, 200, 0, 255};
constexpr int kPictures = 8;

// Picture i of the knob's strip is one plain colour.
CColor pictureColor(int index) {
  return CColor{static_cast<uint8_t>(30 * index), static_cast<uint8_t>(240 - 30 * index), 128, 255};
}

enum Tag : int32_t { kSliderTag = 1, kKnobTag = 2, kButtonTag = 3 };

const CRect kSliderRect(40, 40, 56, 200);  // handle 16 × 29 travelling 130 pixels from y 40
const CRect kKnobRect(100, 40, 132, 72);
const CRect kButtonRect(160, 40, 186, 58);
const CRect kDisplayRect(160, 100, 240, 118);
const CRect kLongDisplayRect(160, 140, 190, 158);
const CRect kBevelDisplayRect(250, 100, 300, 118);
const CPoint kEmpty(280, 220);  // no control there

// Plain-coloured pictures stacked in one bitmap, drawn off-screen.
gui::CBitmap* stackedBitmap(int32_t width, int32_t height, const std::vector<CColor>& colours) {
  auto* context =
      new gui::COffscreenContext(nullptr, width, height * static_cast<int32_t>(colours.size()));
  for (size_t i = 0; i < colours.size(); ++i) {
    const auto top = static_cast<int32_t>(i) * height;
    context->setFillColor(colours[i]);
    context->drawRect(CRect(0, top, width, top + height), gui::kDrawFilled);
  }
  gui::CBitmap* bitmap = context->getBitmap();
  bitmap->remember();
  context->forget();
  return bitmap;
}

class ControlsEditor : public AEffGUIEditor, public gui::CControlListener {
 public:
  explicit ControlsEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
    editorRect.right = kWidth;
    editorRect.bottom = kHeight;
  }
  ~ControlsEditor() override { close(); }
  ControlsEditor(const ControlsEditor&) = delete;
  ControlsEditor& operator=(const ControlsEditor&) = delete;

  bool open(void* window) override {
    AEffGUIEditor::open(window);
    auto* made = new gui::CFrame(CRect(0, 0, kWidth, kHeight), window, this);
    made->setBackgroundColor(kWhite);
    gui::CBitmap* handle = stackedBitmap(16, 29, {kHandleColor});
    gui::CBitmap* strip = stackedBitmap(32, 32, pictures());
    gui::CBitmap* states = stackedBitmap(26, 18, {kOffColor, kOnColor});

    slider = new gui::CVerticalSlider(kSliderRect, this, kSliderTag, 40, 170, handle, nullptr,
                                      CPoint(0, 0), gui::kVertical | gui::kBottom);
    knob = new gui::CAnimKnob(kKnobRect, this, kKnobTag, kPictures, 32, strip);
    button = new gui::COnOffButton(kButtonRect, this, kButtonTag, states);
    display = new gui::CParamDisplay(kDisplayRect);
    display->setBackColor(kDisplayBack);
    display->setFrameColor(kDisplayFrame);
    longDisplay = new gui::CParamDisplay(kLongDisplayRect);
    longDisplay->setBackColor(kDisplayBack);
    longDisplay->setStringConvert([](float, char* text) { std::strcpy(text, "MMMMMMMMMMMM"); });
    bevelDisplay = new gui::CParamDisplay(kBevelDisplayRect);
    bevelDisplay->setBackColor(kDisplayBack);
    bevelDisplay->setFrameColor(kDisplayFrame);
    bevelDisplay->setStyle(gui::k3DOut | gui::kNoTextStyle);
    for (gui::CView* view : std::initializer_list<gui::CView*>{slider, knob, button, display,
                                                               longDisplay, bevelDisplay})
      made->addView(view);
    handle->forget();
    strip->forget();
    states->forget();
    frame = made;
    return true;
  }
  void close() override {
    if (frame) frame->forget();
    frame = nullptr;
    slider = nullptr;
    knob = nullptr;
    button = nullptr;
    display = longDisplay = bevelDisplay = nullptr;
    AEffGUIEditor::close();
  }

  void valueChanged(gui::CControl* control) override {
    changes.push_back({control->getTag(), control->getValue()});
  }

  static std::vector<CColor> pictures() {
    std::vector<CColor> colours;
    for (int i = 0; i < kPictures; ++i) colours.push_back(pictureColor(i));
    return colours;
  }

  struct Change {
    int32_t tag;
    float value;
  };
  std::vector<Change> changes;
  gui::CVerticalSlider* slider = nullptr;
  gui::CAnimKnob* knob = nullptr;
  gui::COnOffButton* button = nullptr;
  gui::CParamDisplay* display = nullptr;
  gui::CParamDisplay* longDisplay = nullptr;
  gui::CParamDisplay* bevelDisplay = nullptr;
};

bool xdotool(const std::string& arguments) { return runUnix("xdotool " + arguments); }

// xdotool's pointer move to a frame point.
std::string moveTo(const CPoint& framePoint) {
  return "mousemove " + std::to_string(kHostX + framePoint.x) + " " +
         std::to_string(kHostY + framePoint.y);
}

class ControlsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::setModuleHandle(GetModuleHandleA(nullptr));
    hostLog() = bridgetest::HostLog();
    effect = std::make_unique<TestEffect>();
    editor = new ControlsEditor(effect.get());
    host = std::make_unique<TestHost>(kHostX, kHostY, kWidth, kHeight);
    ASSERT_EQ(effect->call(effEditOpen, 0, 0, host->window()), 1);
    ASSERT_NE(frameWindow(), nullptr);
    // Start from a pointer outside the frame with nothing held.
    ASSERT_TRUE(xdotool("keyup shift ctrl alt mouseup 1 " + moveTo(CPoint(kWidth + 40, 10))));
    pumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
    ASSERT_TRUE(idleUntilPainted());
  }
  void TearDown() override {
    xdotool("keyup shift ctrl alt mouseup 1");
    effect->call(effSetEditKnobMode, 0, 0);
    hostLog().onIdle = nullptr;
    effect.reset();  // closes and deletes the editor
    host.reset();
    hostLog() = bridgetest::HostLog();
  }

  HWND frameWindow() const {
    return editor->getFrame() ? static_cast<HWND>(editor->getFrame()->getWindow()) : nullptr;
  }
  bool idleUntilPainted() {
    effect->call(effEditIdle);
    return pumpUntil([&] { return !GetUpdateRect(frameWindow(), nullptr, FALSE); });
  }
  // Pumps until the control shows value (within a hundredth of a thousandth).
  bool waitForValue(gui::CControl* control, float value) {
    return pumpUntil([&] { return std::fabs(control->getValue() - value) < 1e-5f; }, 5000);
  }
  std::vector<VstInt32> gestureCalls() const {
    std::vector<VstInt32> calls;
    for (const HostCall& call : hostLog().calls)
      if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit ||
          call.opcode == audioMasterIdle)
        calls.push_back(call.opcode);
    return calls;
  }
  void checkScreen(const std::function<void(const Screenshot&, std::vector<std::string>&)>& check) {
    ASSERT_TRUE(idleUntilPainted());
    Screenshot last;
    const CRect area(kHostX, kHostY, kHostX + kWidth, kHostY + kHeight);
    for (const std::string& failure : waitForPixels(area, check, kWaitTimeoutMs, &last))
      ADD_FAILURE() << failure;
    if (const char* dir = std::getenv("FERROWIN_SCREENSHOT_DIR"))
      last.savePng(std::string(dir) + "/" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
  }
  static void expectColor(const Screenshot& shot, const CPoint& framePoint, const CColor& want,
                          std::vector<std::string>& failures, const char* what) {
    const CColor got = shot.at(kHostX + framePoint.x, kHostY + framePoint.y);
    if (!closeTo(got, want))
      failures.push_back(std::string(what) + " at (" + std::to_string(framePoint.x) + "," +
                         std::to_string(framePoint.y) + ") is " + describe(got) + ", expected " +
                         describe(want));
  }

  std::unique_ptr<TestEffect> effect;
  ControlsEditor* editor = nullptr;  // owned by the effect
  std::unique_ptr<TestHost> host;
};

TEST_F(ControlsWindow, SliderDragHoldsThePointerBeyondTheWindowInOneGesture) {
  // Free press at y 118: the pointer holds the handle's middle, 53 is the top of the track.
  ASSERT_TRUE(xdotool(moveTo(CPoint(48, 118)) + " mousedown 1"));
  ASSERT_TRUE(waitForValue(editor->slider, 0.5f));
  EXPECT_EQ(GetCapture(), frameWindow());
  ASSERT_TRUE(xdotool(moveTo(CPoint(48, kHeight + 60))));
  ASSERT_TRUE(waitForValue(editor->slider, 0.0f)) << "below the window";
  ASSERT_TRUE(xdotool(moveTo(CPoint(48, -30))));
  ASSERT_TRUE(waitForValue(editor->slider, 1.0f)) << "above the window";
  ASSERT_TRUE(xdotool("mouseup 1"));
  ASSERT_TRUE(pumpUntil([&] { return hostCallCount(audioMasterEndEdit) == 1; }));
  EXPECT_EQ(hostCallCount(audioMasterBeginEdit), 1u);
  EXPECT_NE(GetCapture(), frameWindow());
  ASSERT_FALSE(editor->changes.empty());
  EXPECT_EQ(editor->changes.front().value, 0.5f);
  EXPECT_EQ(editor->changes.back().value, 1.0f);
  // Value 1: the handle's rows are 40 to 68.
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    expectColor(shot, CPoint(48, 40), kHandleColor, failures, "handle top row");
    expectColor(shot, CPoint(48, 68), kHandleColor, failures, "handle bottom row");
    expectColor(shot, CPoint(48, 69), kWhite, failures, "below the handle");
  });
}

TEST_F(ControlsWindow, SliderHandleRowsFollowTheValue) {
  const struct {
    float value;
    int32_t top;  // the handle's first row; 29 rows
  } cases[] = {{1.0f, 40}, {0.5f, 105}, {0.0f, 170}};
  for (const auto& c : cases) {
    editor->slider->setValue(c.value);
    checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
      expectColor(shot, CPoint(41, c.top - 1), kWhite, failures, "above the handle");
      expectColor(shot, CPoint(41, c.top), kHandleColor, failures, "handle top row");
      expectColor(shot, CPoint(55, c.top + 28), kHandleColor, failures, "handle bottom row");
      expectColor(shot, CPoint(55, c.top + 29), kWhite, failures, "below the handle");
    });
  }
}

TEST_F(ControlsWindow, ShiftDragIsTenTimesFiner) {
  editor->slider->setValue(0.3f);  // the handle's middle at y 144
  ASSERT_TRUE(xdotool("keydown shift " + moveTo(CPoint(48, 120)) + " mousedown 1"));
  ASSERT_TRUE(pumpUntil([&] { return hostCallCount(audioMasterBeginEdit) == 1; }));
  EXPECT_EQ(editor->slider->getValue(), 0.3f) << "a fine press does not move";
  // 13 pixels further up would be 0.1 more at the full rate.
  ASSERT_TRUE(xdotool(moveTo(CPoint(48, 107))));
  ASSERT_TRUE(pumpUntil([&] { return !editor->changes.empty(); }));
  const float plain = 1.0f - (107.0f - 53.0f) / 130.0f;
  EXPECT_NEAR(editor->slider->getValue(), 0.3f + (plain - 0.3f) / 10.0f, 1e-5f);
  ASSERT_TRUE(xdotool("mouseup 1 keyup shift"));
  ASSERT_TRUE(pumpUntil([&] { return hostCallCount(audioMasterEndEdit) == 1; }));
}

TEST_F(ControlsWindow, CtrlClickSetsTheDefaultWithoutCapture) {
  editor->slider->setValue(0.9f);
  editor->slider->setDefaultValue(0.25f);
  ASSERT_TRUE(xdotool("keydown ctrl " + moveTo(CPoint(48, 180)) + " mousedown 1"));
  ASSERT_TRUE(waitForValue(editor->slider, 0.25f));
  pumpPending();
  EXPECT_NE(GetCapture(), frameWindow()) << "the press is complete";
  ASSERT_TRUE(xdotool("mouseup 1 keyup ctrl"));
  pumpPending();
  EXPECT_EQ(editor->slider->getValue(), 0.25f) << "the handle does not follow the pointer";
  EXPECT_EQ(hostCallCount(audioMasterBeginEdit), hostCallCount(audioMasterEndEdit));
}

TEST_F(ControlsWindow, WheelStepsTheControlUnderThePointer) {
  editor->slider->setValue(0.5f);
  editor->knob->setValue(0.5f);
  ASSERT_TRUE(xdotool(moveTo(CPoint(48, 150)) + " click 4"));
  ASSERT_TRUE(waitForValue(editor->slider, 0.6f));
  ASSERT_TRUE(xdotool(moveTo(CPoint(116, 56)) + " click 5 click 5"));
  ASSERT_TRUE(waitForValue(editor->knob, 0.3f));
  EXPECT_EQ(editor->slider->getValue(), 0.6f);
}

TEST_F(ControlsWindow, KnobModesAndAltChooseCircularOrLinearDrags) {
  const struct {
    int32_t mode;
    bool alt;
    bool linear;
  } cases[] = {
      {0, false, false}, {1, false, false}, {2, false, true}, {0, true, true}, {2, true, false}};
  for (const auto& c : cases) {
    effect->call(effSetEditKnobMode, 0, c.mode);
    editor->knob->setValue(0.2f);
    // Pressed straight above the centre, then dragged 100 pixels right: circular mode jumps to
    // 0.5 and follows the angle, linear mode adds half the range.
    const std::string alt = c.alt ? "keydown alt " : "";
    ASSERT_TRUE(xdotool(alt + moveTo(CPoint(116, 41)) + " mousedown 1"));
    ASSERT_TRUE(waitForValue(editor->knob, c.linear ? 0.2f : 0.5f)) << c.mode << " " << c.alt;
    ASSERT_TRUE(xdotool(moveTo(CPoint(216, 41))));
    if (c.linear) {
      EXPECT_TRUE(waitForValue(editor->knob, 0.7f)) << c.mode << " " << c.alt;
    } else {
      // 100 pixels right of the centre and 15 above it: 8.5° on the arc that starts at 225°.
      EXPECT_TRUE(
          pumpUntil([&] { return std::fabs(editor->knob->getValue() - 0.8017f) < 0.002f; }, 5000))
          << c.mode << " " << c.alt << ": " << editor->knob->getValue();
    }
    ASSERT_TRUE(xdotool(std::string("mouseup 1") + (c.alt ? " keyup alt" : "")));
    pumpUntil([&] { return GetCapture() != frameWindow(); });
  }
}

TEST_F(ControlsWindow, KnobShowsThePictureOfItsValue) {
  const struct {
    float value;
    int picture;
  } cases[] = {{0.0f, 0}, {0.5f, 3}, {1.0f, 7}};
  for (const auto& c : cases) {
    editor->knob->setValue(c.value);
    checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
      expectColor(shot, CPoint(101, 41), pictureColor(c.picture), failures, "knob picture");
      expectColor(shot, CPoint(131, 71), pictureColor(c.picture), failures, "knob picture");
    });
  }
}

TEST_F(ControlsWindow, ButtonClickShowsTheOtherHalfAndReportsAfterItsIdlePass) {
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    expectColor(shot, CPoint(173, 49), kOffColor, failures, "upper half");
  });
  hostLog().calls.clear();
  ASSERT_TRUE(xdotool(moveTo(CPoint(173, 49)) + " click 1"));
  ASSERT_TRUE(waitForValue(editor->button, 1.0f));
  ASSERT_TRUE(pumpUntil([&] { return hostCallCount(audioMasterEndEdit) == 1; }));
  // The idle pass (which asks the host for idle time) comes before the listener's gesture.
  EXPECT_EQ(gestureCalls(),
            (std::vector<VstInt32>{audioMasterIdle, audioMasterBeginEdit, audioMasterEndEdit}));
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    expectColor(shot, CPoint(173, 49), kOnColor, failures, "lower half");
    expectColor(shot, CPoint(160, 40), kOnColor, failures, "lower half, corner");
  });
}

TEST_F(ControlsWindow, DisplaysCentreClipAndBevel) {
  editor->display->setValue(0.26f);
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    // The text's ink, found as the columns with near-white pixels, is centred.
    int32_t first = -1;
    int32_t last = -1;
    for (int32_t x = kDisplayRect.left + 1; x < kDisplayRect.right - 1; ++x)
      for (int32_t y = kDisplayRect.top + 1; y < kDisplayRect.bottom - 1; ++y)
        if (closeTo(shot.at(kHostX + x, kHostY + y), kWhite, 60)) {
          if (first < 0) first = x;
          last = x;
        }
    const int32_t centre = (kDisplayRect.left + kDisplayRect.right) / 2;
    if (first < 0 || std::abs((first + last + 1) / 2 - centre) > 2)
      failures.push_back("text not centred: ink from " + std::to_string(first) + " to " +
                         std::to_string(last));
    // The long text reaches both edges of its display and nothing beyond them.
    bool inkAtLeft = false;
    bool inkAtRight = false;
    for (int32_t y = kLongDisplayRect.top; y < kLongDisplayRect.bottom; ++y) {
      inkAtLeft |= closeTo(shot.at(kHostX + kLongDisplayRect.left + 1, kHostY + y), kWhite, 60);
      inkAtRight |= closeTo(shot.at(kHostX + kLongDisplayRect.right - 2, kHostY + y), kWhite, 60);
      expectColor(shot, CPoint(kLongDisplayRect.right + 1, y), kWhite, failures, "right of it");
      expectColor(shot, CPoint(kLongDisplayRect.left - 1, y), kWhite, failures, "left of it");
    }
    if (!inkAtLeft || !inkAtRight) failures.push_back("long text does not fill its display");
    // Raised bevel: the frame colour on the left edge and on the row below the top.
    expectColor(shot, CPoint(kBevelDisplayRect.left, 110), kDisplayFrame, failures, "left edge");
    expectColor(shot, CPoint(275, kBevelDisplayRect.top + 1), kDisplayFrame, failures, "top line");
    expectColor(shot, CPoint(275, kBevelDisplayRect.top), kDisplayBack, failures, "fill above");
    expectColor(shot, CPoint(275, 110), kDisplayBack, failures, "fill");
    // The plain display's outline.
    expectColor(shot, CPoint(200, kDisplayRect.top), kDisplayFrame, failures, "outline");
    expectColor(shot, CPoint(kDisplayRect.right - 1, 110), kDisplayFrame, failures, "outline");
  });
}

// Drives the pointer from the host's idle calls, which the tracking loop causes: each step
// starts when the previous one has shown.
TEST_F(ControlsWindow, BlockingDragAsksTheHostForIdleBetweenBeginAndEnd) {
  int step = 0;
  hostLog().onIdle = [&] {
    if (step == 0) {
      startUnix("xdotool " + moveTo(CPoint(48, kHeight + 40)));
      step = 1;
    } else if (step == 1 && editor->slider->getValue() == 0.0f) {
      startUnix("xdotool mouseup 1");
      step = 2;
    }
  };
  // The press lands on no control; the loop then tracks the slider with the button held.
  ASSERT_TRUE(xdotool(moveTo(kEmpty) + " mousedown 1"));
  ASSERT_TRUE(pumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) < 0; }));
  pumpPending();
  hostLog().calls.clear();
  CPoint where(48, 118);
  editor->getFrame()->mouse(nullptr, where, -1);
  EXPECT_EQ(step, 2);
  const std::vector<VstInt32> calls = gestureCalls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front(), audioMasterBeginEdit);
  EXPECT_EQ(calls[1], audioMasterIdle);
  EXPECT_EQ(calls.back(), audioMasterEndEdit);
  EXPECT_EQ(hostCallCount(audioMasterBeginEdit), 1u);
  EXPECT_EQ(hostCallCount(audioMasterEndEdit), 1u);
}

TEST_F(ControlsWindow, EditorClosingItselfFromTheHostsIdleEndsTheDrag) {
  hostLog().onIdle = [&] {
    if (editor->getFrame()) effect->call(effEditClose);
  };
  const HWND window = frameWindow();
  ASSERT_TRUE(xdotool(moveTo(kEmpty) + " mousedown 1"));
  ASSERT_TRUE(pumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) < 0; }));
  pumpPending();
  hostLog().calls.clear();
  gui::CFrame* frame = editor->getFrame();
  CPoint where(48, 118);
  frame->mouse(nullptr, where, -1);  // returns with the button still held
  EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0);
  EXPECT_EQ(editor->getFrame(), nullptr);
  EXPECT_FALSE(IsWindow(window)) << "the frame went when the loop left it";
  EXPECT_EQ(hostCallCount(audioMasterBeginEdit), 1u);
  EXPECT_EQ(hostCallCount(audioMasterEndEdit), 1u);
  EXPECT_EQ(gui::platform::frameWindowClassUseCount(), 0);
  EXPECT_EQ(gui::GDIPlusGlobals::getInstance(), nullptr) << "every bitmap was released";
  ASSERT_TRUE(xdotool("mouseup 1"));
}

TEST_F(ControlsWindow, LosingTheMouseToAnotherWindowEndsTheDrag) {
  ASSERT_TRUE(xdotool(moveTo(CPoint(48, 118)) + " mousedown 1"));
  ASSERT_TRUE(waitForValue(editor->slider, 0.5f));
  ASSERT_EQ(GetCapture(), frameWindow());
  SetCapture(host->window());
  EXPECT_EQ(hostCallCount(audioMasterEndEdit), 1u);
  ASSERT_TRUE(xdotool(moveTo(CPoint(48, 60)) + " mouseup 1"));
  pumpPending();
  ReleaseCapture();
  EXPECT_EQ(hostCallCount(audioMasterBeginEdit), 1u);
  EXPECT_EQ(hostCallCount(audioMasterEndEdit), 1u);
  EXPECT_EQ(editor->slider->getValue(), 0.5f) << "moves after the loss do not reach the slider";
}

TEST_F(ControlsWindow, HostDestroyingItsWindowMidDragEndsTheGesture) {
  ASSERT_TRUE(xdotool(moveTo(CPoint(48, 118)) + " mousedown 1"));
  ASSERT_TRUE(waitForValue(editor->slider, 0.5f));
  ASSERT_EQ(GetCapture(), frameWindow());
  gui::CFrame* frame = editor->getFrame();
  host.reset();  // the frame's window goes with the host's
  EXPECT_EQ(frame->getWindow(), nullptr) << "no dead handle is kept";
  EXPECT_FALSE(frame->getOpenFlag());
  EXPECT_EQ(hostCallCount(audioMasterEndEdit), 1u);
  ASSERT_TRUE(xdotool("mouseup 1"));
  pumpPending();
  effect->call(effEditIdle);  // nothing to draw on
  effect->call(effEditClose);
  EXPECT_EQ(hostCallCount(audioMasterBeginEdit), 1u);
  EXPECT_EQ(hostCallCount(audioMasterEndEdit), 1u);
  EXPECT_EQ(gui::platform::frameWindowClassUseCount(), 0);
}

}  // namespace
}  // namespace wintest

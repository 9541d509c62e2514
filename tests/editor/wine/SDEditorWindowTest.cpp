// The editor in a real window under Wine: what each control draws where, real pointer input
// through the X server, host changes from the editor's and from another thread, and the
// window's lifetime over many open/close cycles.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CControl.h"
#include "CDrawContext.h"
#include "CFontDesc.h"
#include "CFrame.h"
#include "EditorLayout.h"
#include "EffectParameters.h"
#include "Ferrowin.h"
#include "ModuleHandle.h"
#include "MouseEvents.h"
#include "ParameterControls.h"
#include "RecordingHost.h"
#include "SDEditor.h"
#include "WaveText.h"
#include "WineTestSupport.h"

namespace wintest {
namespace {

using gui::CColor;
using gui::CPoint;
using gui::CRect;

constexpr int32_t kHostX = 40;
constexpr int32_t kHostY = 40;
constexpr int32_t kWidth = 691;
constexpr int32_t kHeight = 371;
constexpr int32_t kUpperButton = 17;  // layout rows of the three filter-type buttons
constexpr int32_t kCutoffSlider = 7;
constexpr int32_t kCutoffDisplay = 25;

using editortest::HostCall;
using editortest::hostCalls;
constexpr auto host = &editortest::recordingHost;

bool xdotool(const std::string& arguments) { return runUnix("xdotool " + arguments); }

std::string moveTo(const CPoint& screen) {
  return "mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y);
}

CPoint centre(const CRect& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// The amber stripe across the handle, the lit button and the knob's pointer.
bool isAmber(const CColor& c) { return c.red > 200 && c.green > 120 && c.blue < 110; }
bool isBright(const CColor& c) { return c.red > 180 && c.green > 180 && c.blue > 180; }
bool isDark(const CColor& c) { return c.red < 110 && c.green < 110 && c.blue < 110; }

// One effect with its editor, as a host holds it, and the host's window.
class EditorInstance {
 public:
  // The host's window is as large as the editor at scale.
  EditorInstance(int32_t screenX, int32_t screenY, int32_t scale = 1)
      : window(std::make_unique<TestHost>(screenX, screenY, kWidth * scale, kHeight * scale)),
        effect(new Ferrowin(host)),
        scale(scale) {
    editor = dynamic_cast<SDEditor*>(effect->getEditor());
  }
  ~EditorInstance() {
    if (effect) dispatch(effClose);
  }
  EditorInstance(const EditorInstance&) = delete;
  EditorInstance& operator=(const EditorInstance&) = delete;

  VstIntPtr dispatch(VstInt32 opcode, void* ptr = nullptr) {
    AEffect* record = effect->getAeffect();
    const VstIntPtr answer = record->dispatcher(record, opcode, 0, 0, ptr, 0.0f);
    if (opcode == effClose) effect = nullptr;
    return answer;
  }
  bool open() { return dispatch(effEditOpen, window->window()) == 1; }
  void close() { dispatch(effEditClose); }
  // The host's idle, then the paints it caused.
  bool idleAndPaint() {
    dispatch(effEditIdle);
    const HWND frameWindow = static_cast<HWND>(editor->getFrame()->getWindow());
    return pumpUntil([&] { return !GetUpdateRect(frameWindow, nullptr, FALSE); });
  }
  // The screen pixel at the middle of the block that shows the editor's pixel p.
  CPoint toScreen(const CPoint& p) const {
    return CPoint(window->screenX() + p.x * scale + scale / 2,
                  window->screenY() + p.y * scale + scale / 2);
  }
  CRect screenRect() const {
    return CRect(window->screenX(), window->screenY(), window->screenX() + kWidth * scale,
                 window->screenY() + kHeight * scale);
  }
  gui::CControl* control(int32_t row) const { return editor->controlAt(row); }

  std::unique_ptr<TestHost> window;
  Ferrowin* effect;
  int32_t scale;
  SDEditor* editor = nullptr;
};

// The scale the user chose is kept for the next open, in the registry of the current user.
void forgetStoredScale() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ferrowin", 0, KEY_SET_VALUE, &key) !=
      ERROR_SUCCESS)
    return;
  RegDeleteValueA(key, "EditorScalePercent");
  RegCloseKey(key);
}

class SDEditorWindow : public ::testing::Test {
 protected:
  void SetUp() override { setUpAt(1); }
  void TearDown() override {
    ui.reset();
    forgetStoredScale();
  }
  void setUpAt(int32_t scale) {
    // The test program carries the bitmaps; the toolkit finds them through the module handle.
    gui::setModuleHandle(GetModuleHandleA(nullptr));
    forgetStoredScale();
    hostCalls.clear();
    ui = std::make_unique<EditorInstance>(kHostX, kHostY, scale);
    ASSERT_NE(ui->editor, nullptr);
    if (scale != 1) {
      ASSERT_TRUE(ui->editor->setScaleFactor(static_cast<float>(scale)));
    }
    ASSERT_TRUE(xdotool("mouseup 1 " + moveTo(CPoint(kHostX + kWidth * scale + 40, kHostY + 10))));
    pumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
  }

  void openAndPaint() {
    ASSERT_TRUE(ui->open());
    ASSERT_TRUE(ui->idleAndPaint());
  }
  // Waits until the window shows what check looks for; each of its complaints is a failure.
  void expectShown(const std::string& what,
                   const std::function<void(const Screenshot&, std::vector<std::string>&)>& check) {
    Screenshot last;
    for (const std::string& failure : waitForPixels(ui->screenRect(), check, kWaitTimeoutMs, &last))
      ADD_FAILURE() << what << failure;
    if (const char* dir = std::getenv("FERROWIN_SCREENSHOT_DIR"))
      last.savePng(std::string(dir) + "/" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
  }
  void expectHandle(int32_t row, float value) {
    expectShown("", [&](const Screenshot& shot, std::vector<std::string>& f) {
      checkHandle(shot, row, value, f);
    });
  }
  CColor pixel(const Screenshot& shot, const CPoint& local) const {
    const CPoint s = ui->toScreen(local);
    return shot.at(s.x, s.y);
  }
  // Whether the handle of slider row shows value: its amber stripe 14 rows below the
  // handle's top (160 + the travel above it), one pixel right of the slider's middle.
  void checkHandle(const Screenshot& shot, int32_t row, float value,
                   std::vector<std::string>& failures) const {
    const CRect& r = EditorLayout::control(row).rect;
    const int32_t top = r.top + static_cast<int32_t>(130.0f * (1.0f - value));
    const CPoint stripe(r.left + 8, top + 14);
    if (!isAmber(pixel(shot, stripe)))
      failures.push_back("slider row " + std::to_string(row) + " value " + std::to_string(value) +
                         ": no handle stripe at y " + std::to_string(stripe.y) + ", " +
                         describe(pixel(shot, stripe)));
    for (int32_t dy : {-8, 8}) {
      const CPoint cap(stripe.x, stripe.y + dy);
      if (isAmber(pixel(shot, cap)))
        failures.push_back("slider row " + std::to_string(row) + ": stripe also at y " +
                           std::to_string(cap.y));
    }
  }
  void checkButtons(const Screenshot& shot, int32_t selected,
                    std::vector<std::string>& failures) const {
    for (int32_t b = 0; b < 3; ++b) {
      const CRect& r = EditorLayout::control(kUpperButton + b).rect;
      const CColor c = pixel(shot, CPoint(r.left + 4, r.top + 4));
      if ((b == selected) != isAmber(c))
        failures.push_back("button " + std::to_string(b) + (b == selected ? " not lit " : " lit ") +
                           describe(c));
    }
  }
  // Host changes drawn by idles, each only where something changed, leave the window as a
  // whole drawing of the same values shows it: no handle left where one was.
  void idleRedrawsMatchAWholeDrawing() {
    openAndPaint();
    for (float value : {0.2f, 0.3f, 0.9f, 0.85f, 0.1f}) {
      for (int32_t i = 0; i < kNumParameters; ++i)
        if (i != kFilterType) ui->effect->setParameter(i, value);
      ASSERT_TRUE(ui->idleAndPaint());
    }
    Screenshot afterIdles;
    expectShown("", [&](const Screenshot& shot, std::vector<std::string>& f) {
      checkHandle(shot, kCutoffSlider, 0.1f, f);
      afterIdles = shot;
    });
    const HWND frameWindow = static_cast<HWND>(ui->editor->getFrame()->getWindow());
    InvalidateRect(frameWindow, nullptr, FALSE);
    ASSERT_TRUE(pumpUntil([&] { return !GetUpdateRect(frameWindow, nullptr, FALSE); }));
    expectShown("", [&](const Screenshot& whole, std::vector<std::string>& f) {
      const CRect& a = whole.area();
      for (int32_t y = a.top; y < a.bottom && f.size() < 5; ++y)
        for (int32_t x = a.left; x < a.right && f.size() < 5; ++x)
          if (!(whole.at(x, y) == afterIdles.at(x, y)))
            f.push_back("screen " + std::to_string(x) + "," + std::to_string(y) + ": idles drew " +
                        describe(afterIdles.at(x, y)) + ", a whole drawing " +
                        describe(whole.at(x, y)));
    });
  }
  // A real drag of the cutoff slider from 0 to the top: one gesture, whose values follow the
  // handle, in the editor's pixels at any scale.
  void dragCutoffEndToEnd() {
    ui->effect->setParameter(kCutoff, 0.0f);
    openAndPaint();
    const CRect& r = EditorLayout::control(kCutoffSlider).rect;
    // A free press puts the handle's grip (13 rows below its top) under the pointer; the value
    // is 1 - (y - 173) / 130 for the slider at top 160.
    struct Step {
      int32_t y;
      float value;
    };
    const Step steps[] = {
        {238, 0.5f}, {212, 1.0f - 39.0f / 130.0f}, {186, 1.0f - 13.0f / 130.0f}, {150, 1.0f}};
    hostCalls.clear();
    std::string press = " mousedown 1";
    for (const Step& step : steps) {
      const size_t before = count(audioMasterAutomate);
      ASSERT_TRUE(xdotool(moveTo(ui->toScreen(CPoint(r.left + 8, step.y))) + press));
      press.clear();
      ASSERT_TRUE(pumpUntil([&] { return count(audioMasterAutomate) > before; })) << step.y;
      EXPECT_NEAR(hostCalls.back().value, step.value, 1e-6f) << step.y;
      EXPECT_NEAR(ui->control(kCutoffDisplay)->getValue(), step.value, 1e-6f);
      EXPECT_NEAR(ui->control(kCutoffSlider)->getValue(), step.value, 1e-6f);
    }
    ASSERT_TRUE(xdotool("mouseup 1"));
    ASSERT_TRUE(pumpUntil([&] { return count(audioMasterEndEdit) == 1; }));
    ASSERT_GE(hostCalls.size(), 6u);
    EXPECT_EQ(hostCalls.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(hostCalls.back().opcode, audioMasterEndEdit);
    for (size_t i = 1; i + 1 < hostCalls.size(); ++i)
      EXPECT_EQ(hostCalls[i].opcode, audioMasterAutomate);
    for (const HostCall& call : hostCalls) EXPECT_EQ(call.index, kCutoff);
    EXPECT_EQ(count(audioMasterBeginEdit), 1u);
    EXPECT_FLOAT_EQ(ui->effect->getParameter(kCutoff), 1.0f);
    ASSERT_TRUE(ui->idleAndPaint());
    expectHandle(kCutoffSlider, 1.0f);
  }
  // Counts of host calls by opcode since the last clear.
  size_t count(VstInt32 opcode) const {
    size_t n = 0;
    for (const HostCall& call : hostCalls) n += call.opcode == opcode;
    return n;
  }

  std::unique_ptr<EditorInstance> ui;
};

TEST_F(SDEditorWindow, TheRectangleIsTheBackgroundsBeforeTheFirstOpen) {
  ERect* rect = nullptr;
  ASSERT_EQ(ui->dispatch(effEditGetRect, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}),
            (std::vector<int>{0, 0, 371, 691}));
  EXPECT_EQ(ui->effect->getAeffect()->flags, effFlagsHasEditor | effFlagsCanReplacing);
}

TEST_F(SDEditorWindow, SlidersDrawTheirHandleAtTheValuesRow) {
  openAndPaint();
  for (float value : {0.0f, 0.5f, 1.0f}) {
    for (int32_t i = 0; i < kNumParameters; ++i)
      if (i != kFilterType && i < 16) ui->effect->setParameter(i, value);
    ASSERT_TRUE(ui->idleAndPaint());
    expectShown("value " + std::to_string(value) + ": ",
                [&](const Screenshot& shot, std::vector<std::string>& f) {
                  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row)
                    if (EditorLayout::control(row).kind == ControlKind::slider)
                      checkHandle(shot, row, value, f);
                });
  }
}

TEST_F(SDEditorWindow, IdleRedrawsMatchAWholeDrawing) { idleRedrawsMatchAWholeDrawing(); }

TEST_F(SDEditorWindow, KnobsShowTheirPictureAndDisplaysTheirFrame) {
  struct Case {
    float value;
    CPoint tip;  // inside the knob: where the pointer is for this value
  };
  const Case cases[] = {{0.0f, {11, 20}}, {0.5f, {15, 10}}, {1.0f, {20, 20}}};
  ui->effect->setParameter(16, 0.8f);  // before the window opens
  openAndPaint();
  EXPECT_FLOAT_EQ(ui->control(0)->getValue(), 0.8f) << "a knob opens at its parameter's value";
  for (const Case& c : cases) {
    ui->effect->setParameter(16, c.value);
    ui->effect->setParameter(17, c.value);
    ASSERT_TRUE(ui->idleAndPaint());
    expectShown("", [&](const Screenshot& shot, std::vector<std::string>& f) {
      for (int32_t row : {0, 1}) {
        const CRect& r = EditorLayout::control(row).rect;
        for (const Case& other : cases) {
          const CColor p = pixel(shot, CPoint(r.left + other.tip.x, r.top + other.tip.y));
          const bool want = other.value == c.value;
          if (want ? !isBright(p) : !isDark(p))
            f.push_back("knob row " + std::to_string(row) + " value " + std::to_string(c.value) +
                        ": pointer position of " + std::to_string(other.value) + " is " +
                        describe(p));
        }
      }
      // Each display: black inside a grey outline along its left and top edges.
      for (int32_t row = 0; row < EditorLayout::kControlCount; ++row) {
        const CRect& r = EditorLayout::control(row).rect;
        if (EditorLayout::control(row).kind != ControlKind::display) continue;
        for (const CPoint& edge : {CPoint(r.left, r.top + 7), CPoint(r.left + 4, r.top)})
          if (!closeTo(pixel(shot, edge), {127, 127, 127, 255}, 12))
            f.push_back("display row " + std::to_string(row) + ": outline " +
                        describe(pixel(shot, edge)));
        if (!isDark(pixel(shot, CPoint(r.left + 1, r.top + 1))))
          f.push_back("display row " + std::to_string(row) + ": not filled");
      }
    });
  }
}

TEST_F(SDEditorWindow, ADragSendsOneGestureWhoseValuesFollowTheSlider) { dragCutoffEndToEnd(); }

// The pointer resting on a handle lightens it by the hover mark's white (a third); after a real
// drag and its release, with the pointer still on the handle, the slider shows exactly what it
// shows unmarked.
TEST_F(SDEditorWindow, AHoveredHandleIsLighterAndADragLeavesItUnmarked) {
  constexpr int32_t kMarkAlpha = 84;
  constexpr int32_t kBlendTolerance = 3;  // per channel, for the blend's rounding
  const CRect& r = EditorLayout::control(kCutoffSlider).rect;
  const CRect sliderOnScreen(ui->toScreen(r.getTopLeft()), ui->toScreen(r.getBottomRight()));
  // At value 1 the handle's top is the slider's; a free press holds it 13 rows below that.
  const CPoint grip(r.left + 8, r.top + 13);
  const CPoint stripe(r.left + 8, r.top + 14);
  ui->effect->setParameter(kCutoff, 1.0f);
  openAndPaint();
  Screenshot unmarked;
  const auto handleAtTop = [&](const Screenshot& shot, std::vector<std::string>& f) {
    checkHandle(shot, kCutoffSlider, 1.0f, f);
  };
  ASSERT_TRUE(waitForPixels(sliderOnScreen, handleAtTop, kWaitTimeoutMs, &unmarked).empty());

  // Two positions on the handle, so that the window sees the pointer move over it.
  gui::CFrame* frame = ui->editor->getFrame();
  int32_t moves = 0;
  ASSERT_TRUE(pumpUntil([&] {
    const CPoint to(grip.x, grip.y + (moves++ % 2));
    return xdotool(moveTo(ui->toScreen(to))) && frame->isMarked(ui->control(kCutoffSlider));
  }));
  ASSERT_TRUE(ui->idleAndPaint());
  const CColor before = pixel(unmarked, stripe);
  expectShown("marked: ", [&](const Screenshot& shot, std::vector<std::string>& f) {
    const CColor c = pixel(shot, stripe);
    const auto lightened = [](int32_t channel) {
      return channel + (255 - channel) * kMarkAlpha / 255;
    };
    if (std::abs(c.red - lightened(before.red)) > kBlendTolerance ||
        std::abs(c.green - lightened(before.green)) > kBlendTolerance ||
        std::abs(c.blue - lightened(before.blue)) > kBlendTolerance)
      f.push_back("stripe " + describe(c) + ", unmarked " + describe(before));
  });

  hostCalls.clear();
  ASSERT_TRUE(xdotool(moveTo(ui->toScreen(CPoint(grip.x, 238))) + " mousedown 1"));
  ASSERT_TRUE(pumpUntil([&] { return count(audioMasterAutomate) > 0; }));
  ASSERT_TRUE(xdotool(moveTo(ui->toScreen(grip)) + " mouseup 1"));
  ASSERT_TRUE(pumpUntil([&] { return count(audioMasterEndEdit) == 1; }));
  EXPECT_FLOAT_EQ(ui->effect->getParameter(kCutoff), 1.0f);
  ASSERT_TRUE(ui->idleAndPaint());
  EXPECT_FALSE(frame->isMarked(ui->control(kCutoffSlider)));
  expectShown("after the release: ", [&](const Screenshot& shot, std::vector<std::string>& f) {
    for (int32_t y = sliderOnScreen.top; y < sliderOnScreen.bottom; ++y)
      for (int32_t x = sliderOnScreen.left; x < sliderOnScreen.right; ++x)
        if (shot.at(x, y) != unmarked.at(x, y)) {
          f.push_back("differs at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                      describe(shot.at(x, y)) + " for " + describe(unmarked.at(x, y)));
          return;
        }
  });
}

TEST_F(SDEditorWindow, CtrlClickRestoresEachControlsDefault) {
  openAndPaint();
  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row) {
    const ControlPlacement& place = EditorLayout::control(row);
    if (place.kind != ControlKind::slider && place.kind != ControlKind::knob) continue;
    ui->effect->setParameter(place.parameter, 0.123f);
    hostCalls.clear();
    ASSERT_TRUE(
        xdotool(moveTo(ui->toScreen(centre(place.rect))) + " keydown ctrl click 1 keyup ctrl"));
    // A knob announces its press and, inside it, the reset: the gestures nest, and balance.
    ASSERT_TRUE(pumpUntil([&] {
      return count(audioMasterEndEdit) >= 1 &&
             count(audioMasterEndEdit) == count(audioMasterBeginEdit);
    })) << row;
    EXPECT_FLOAT_EQ(ui->effect->getParameter(place.parameter), place.defaultValue) << row;
    EXPECT_EQ(count(audioMasterAutomate), 1u) << row;
    EXPECT_EQ(hostCalls.front().opcode, audioMasterBeginEdit) << row;
    EXPECT_EQ(hostCalls.back().opcode, audioMasterEndEdit) << row;
  }
}

TEST_F(SDEditorWindow, FilterTypeButtonsEndToEnd) {
  ui->effect->setParameter(kFilterType, 0.2f);
  openAndPaint();
  struct Click {
    int32_t button;
    float sent;
  };
  for (const Click& click : {Click{1, 0.5f}, Click{2, 1.0f}, Click{0, 0.0f}, Click{0, 0.0f}}) {
    hostCalls.clear();
    const CRect& r = EditorLayout::control(kUpperButton + click.button).rect;
    ASSERT_TRUE(xdotool(moveTo(ui->toScreen(centre(r))) + " click 1"));
    ASSERT_TRUE(pumpUntil([&] { return count(audioMasterAutomate) == 1; }));
    EXPECT_FLOAT_EQ(hostCalls[1].value, click.sent);
    EXPECT_FLOAT_EQ(ui->effect->getParameter(kFilterType), click.sent);
    ASSERT_TRUE(ui->idleAndPaint());
    expectShown("click on " + std::to_string(click.button) + ": ",
                [&](const Screenshot& shot, std::vector<std::string>& f) {
                  checkButtons(shot, click.button, f);
                });
  }
  struct HostValue {
    float value;
    int32_t selected;
  };
  for (const HostValue& h :
       {HostValue{0.2f, 0}, HostValue{0.5f, 1}, HostValue{1.0f, 2}, HostValue{0.33f, 0}}) {
    ui->effect->setParameter(kFilterType, h.value);
    ASSERT_TRUE(ui->idleAndPaint());
    expectShown("host value " + std::to_string(h.value) + ": ",
                [&](const Screenshot& shot, std::vector<std::string>& f) {
                  checkButtons(shot, h.selected, f);
                });
  }
}

TEST_F(SDEditorWindow, ChangesShowAtTheNextIdleAndAfterReopening) {
  ui->effect->setParameter(kCutoff, 0.0f);
  openAndPaint();
  // From another thread: recorded, drawn after the editor thread's next idle.
  std::thread([&] { ui->effect->setParameter(kCutoff, 1.0f); }).join();
  EXPECT_FLOAT_EQ(ui->control(kCutoffSlider)->getValue(), 0.0f);
  ASSERT_TRUE(ui->idleAndPaint());
  expectHandle(kCutoffSlider, 1.0f);
  ui->close();
  ui->effect->setParameter(kCutoff, 0.5f);
  openAndPaint();
  expectHandle(kCutoffSlider, 0.5f);
}

TEST_F(SDEditorWindow, AThousandOpenCloseCyclesLeaveNothingBehind) {
  constexpr int kWarmUp = 20;
  constexpr int kCycles = 1000;
  // Heaps grow in steps and keep freed blocks; a leak of one control per cycle would pass this.
  constexpr SIZE_T kAllowedGrowthBytes = 512 * 1024;
  auto cycle = [&] {
    ASSERT_TRUE(ui->open());
    ASSERT_TRUE(ui->idleAndPaint());
    ui->close();
  };
  for (int i = 0; i < kWarmUp; ++i) cycle();
  const ProcessMemory before = memoryNow();
  const DWORD start = GetTickCount();
  for (int i = 0; i < kCycles; ++i) cycle();
  const DWORD elapsed = GetTickCount() - start;
  const ProcessMemory after = memoryNow();
  std::printf("open/close cycles: %d in %lu ms\n", kCycles, elapsed);
  printGrowth(before, after);
  EXPECT_LE(after.committedPrivate, before.committedPrivate + kAllowedGrowthBytes);
  EXPECT_LE(after.heapInUse, before.heapInUse + kAllowedGrowthBytes / 8)
      << "more than about 60 bytes per cycle stay allocated";
}

TEST_F(SDEditorWindow, AnotherThreadSetsParametersThroughHundredCycles) {
  std::atomic<bool> stop{false};
  std::atomic<int> changes{0};
  std::thread automation([&] {
    for (int32_t i = 0; !stop.load(); ++i) {
      ui->effect->setParameter(i % kNumParameters, static_cast<float>(i % 101) / 100.0f);
      changes.fetch_add(1);
    }
  });
  ASSERT_TRUE(pumpUntil([&] { return changes.load() > 0; }));
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(ui->open());
    ASSERT_TRUE(ui->idleAndPaint());
    ui->dispatch(effEditIdle);
    ui->close();
  }
  stop = true;
  automation.join();
  EXPECT_GT(changes.load(), 100);
  // Still a working window, showing the effect's values.
  openAndPaint();
  ui->dispatch(effEditIdle);
  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row) {
    const ControlPlacement& place = EditorLayout::control(row);
    if (place.kind == ControlKind::button) continue;
    EXPECT_FLOAT_EQ(ui->control(row)->getValue(), ui->effect->getParameter(place.parameter)) << row;
  }
}

TEST_F(SDEditorWindow, TwoInstancesEachShowTheirOwnOscillatorTexts) {
  EditorInstance second(kHostX, kHostY + kHeight + 20);
  ASSERT_NE(second.editor, nullptr);
  const int32_t noteDisplay = 21;
  const int32_t waveDisplay = 22;
  auto setOscillator = [](EditorInstance& instance, float note, float wave) {
    instance.effect->setParameter(1, note);
    instance.effect->setParameter(2, wave);
  };
  setOscillator(*ui, 1.0f, 0.0f);
  setOscillator(second, 0.0f, 0.9f);
  ASSERT_TRUE(ui->open());
  ASSERT_TRUE(second.open());
  ASSERT_TRUE(ui->idleAndPaint());
  ASSERT_TRUE(second.idleAndPaint());
  // The pixels of both displays of an instance, to compare texts.
  auto texts = [&](EditorInstance& instance) {
    std::vector<CColor> pixels;
    Screenshot shot;
    pumpUntil([&] { return shot.capture(instance.screenRect()); });
    for (int32_t row : {noteDisplay, waveDisplay}) {
      const CRect& r = EditorLayout::control(row).rect;
      for (int32_t y = r.top + 1; y < r.bottom - 1; ++y)
        for (int32_t x = r.left + 1; x < r.right - 1; ++x) {
          const CPoint s = instance.toScreen(CPoint(x, y));
          pixels.push_back(shot.at(s.x, s.y));
        }
    }
    return pixels;
  };
  auto same = [](const std::vector<CColor>& a, const std::vector<CColor>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const CColor& x, const CColor& y) { return closeTo(x, y, 8); });
  };
  std::vector<CColor> firstBefore;
  std::vector<CColor> secondBefore;
  ASSERT_TRUE(pumpUntil([&] {
    firstBefore = texts(*ui);
    secondBefore = texts(second);
    return !same(firstBefore, secondBefore);
  })) << "both instances show the same oscillator texts";
  // Swapped values: each instance now shows what the other showed.
  setOscillator(*ui, 0.0f, 0.9f);
  setOscillator(second, 1.0f, 0.0f);
  ASSERT_TRUE(ui->idleAndPaint());
  ASSERT_TRUE(second.idleAndPaint());
  EXPECT_TRUE(pumpUntil([&] { return same(texts(*ui), secondBefore); }));
  EXPECT_TRUE(pumpUntil([&] { return same(texts(second), firstBefore); }));
  second.close();
}

TEST_F(SDEditorWindow, ClosingTheEffectWithTheWindowOpen) {
  openAndPaint();
  const HWND frameWindow = static_cast<HWND>(ui->editor->getFrame()->getWindow());
  ui->dispatch(effClose);
  EXPECT_FALSE(IsWindow(frameWindow));
}

// The wave display's text fits inside its outline at every value: over the parameter's range
// each of its texts is shown once, and on the screen its outline is whole and the column just
// inside it on either side is bare (no letter cut off at the edge).
TEST_F(SDEditorWindow, EveryWaveTextFitsInsideTheDisplaysOutline) {
  constexpr int32_t kWaveDisplay = 22;
  constexpr int32_t kWaveSteps = 1000;  // finer than the 0.01 that a single waveform holds
  openAndPaint();
  const CRect& r = EditorLayout::control(kWaveDisplay).rect;
  std::vector<std::pair<std::string, float>> texts;  // each text with the first value showing it
  EffectParameters parameters(ui->effect);
  for (int32_t step = 0; step <= kWaveSteps; ++step) {
    const float value = static_cast<float>(step) / kWaveSteps;
    ui->effect->setParameter(2, value);
    char text[256] = {};
    SDEditor::oscWaveToString(0.0f, text, &parameters);
    if (std::none_of(texts.begin(), texts.end(), [&](const auto& t) { return t.first == text; }))
      texts.emplace_back(text, value);
  }
  EXPECT_EQ(texts.size(), 7u) << "four waveforms and three morphs";
  for (const auto& [text, value] : texts) {
    ui->effect->setParameter(2, value);
    ASSERT_TRUE(ui->idleAndPaint());
    expectShown(text + ": ", [&](const Screenshot& shot, std::vector<std::string>& f) {
      for (int32_t y = r.top; y < r.bottom; ++y) {
        for (int32_t x : {r.left, r.right - 1})
          if (!closeTo(pixel(shot, CPoint(x, y)), {127, 127, 127, 255}, 12))
            f.push_back("outline at " + std::to_string(x) + "," + std::to_string(y) + " is " +
                        describe(pixel(shot, CPoint(x, y))));
        if (y == r.top || y == r.bottom - 1) continue;
        for (int32_t x : {r.left + 1, r.right - 2})
          if (!isDark(pixel(shot, CPoint(x, y))))
            f.push_back("ink at the edge, " + std::to_string(x) + "," + std::to_string(y));
      }
    });
  }
}

// The editor at 200 %: the user's choice, kept for the next open.
class ScaledEditorWindow : public SDEditorWindow {
 protected:
  static constexpr int32_t kScale = 2;
  void SetUp() override { setUpAt(kScale); }
};

TEST_F(ScaledEditorWindow, TheHostIsToldTheScaledSizeAndTheWindowFollowsWhereItRefuses) {
  ERect* rect = nullptr;
  ASSERT_EQ(ui->dispatch(effEditGetRect, &rect), 1);
  EXPECT_EQ((std::vector<int>{rect->right, rect->bottom}), (std::vector<int>{1382, 742}));
  openAndPaint();
  struct Change {
    float scale;
    int32_t width;
    int32_t height;
  };
  // 691 x 371 at 150 % is 1036.5 x 556.5: rounded to the nearest pixel.
  for (const Change& c :
       {Change{1.5f, 1037, 557}, Change{1.0f, 691, 371}, Change{2.0f, 1382, 742}}) {
    hostCalls.clear();
    ASSERT_TRUE(ui->editor->setScaleFactor(c.scale));
    ASSERT_EQ(count(audioMasterSizeWindow), 1u) << c.scale;
    EXPECT_EQ(hostCalls[0].index, c.width) << c.scale;
    EXPECT_EQ(hostCalls[0].value, static_cast<float>(c.height)) << c.scale;
    RECT client = {};
    GetClientRect(static_cast<HWND>(ui->editor->getFrame()->getWindow()), &client);
    EXPECT_EQ((std::vector<LONG>{client.right, client.bottom}),
              (std::vector<LONG>{c.width, c.height}))
        << c.scale;
  }
  ui->close();
  EditorInstance next(kHostX, kHostY, kScale);
  ASSERT_EQ(next.dispatch(effEditGetRect, &rect), 1);
  EXPECT_EQ((std::vector<int>{rect->right, rect->bottom}), (std::vector<int>{1382, 742}))
      << "the last choice holds at the next open";
}

TEST_F(ScaledEditorWindow, HandlesAndKnobsShowAtTwiceTheSize) {
  struct Tip {
    float value;
    CPoint tip;  // inside the knob: where the pointer is for this value
  };
  const Tip tips[] = {{0.0f, {11, 20}}, {0.5f, {15, 10}}, {1.0f, {20, 20}}};
  const int32_t sliders[] = {2, 7, 16};  // layout rows: first, middle and last slider group
  openAndPaint();
  for (const Tip& t : tips) {
    for (int32_t row : sliders)
      ui->effect->setParameter(EditorLayout::control(row).parameter, t.value);
    ui->effect->setParameter(16, t.value);
    ASSERT_TRUE(ui->idleAndPaint());
    expectShown("value " + std::to_string(t.value) + ": ",
                [&](const Screenshot& shot, std::vector<std::string>& f) {
                  for (int32_t row : sliders) checkHandle(shot, row, t.value, f);
                  const CRect& knob = EditorLayout::control(0).rect;
                  for (const Tip& other : tips) {
                    const CColor p = pixel(shot, knob.getTopLeft() + other.tip);
                    if (other.value == t.value ? !isBright(p) : !isDark(p))
                      f.push_back("knob value " + std::to_string(t.value) + ": pointer of " +
                                  std::to_string(other.value) + " is " + describe(p));
                  }
                });
  }
}

TEST_F(ScaledEditorWindow, ADragSendsOneGestureWhoseValuesFollowTheSlider) { dragCutoffEndToEnd(); }

TEST_F(ScaledEditorWindow, IdleRedrawsMatchAWholeDrawing) { idleRedrawsMatchAWholeDrawing(); }

}  // namespace
}  // namespace wintest

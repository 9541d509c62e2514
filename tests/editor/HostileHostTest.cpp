// A host that closes the editor from inside the callbacks that user input causes: every input
// path survives a close from every callback, and every gesture's begin gets its end. Input is
// given to the frame as the window procedure gives it; the sanitizers catch any use of a freed
// frame or view.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CControl.h"
#include "CFrame.h"
#include "EditorLayout.h"
#include "Ferrowin.h"
#include "MouseEvents.h"
#include "SDEditor.h"
#include "VstKeyCode.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

using gui::CPoint;

constexpr int32_t kKnobRow = 0;
constexpr int32_t kSliderRow = 7;
constexpr int32_t kMiddleButtonRow = 18;

struct Host {
  VstInt32 closeOn = -1;  // the callback opcode answered with effEditClose
  int32_t closes = 0;
  int32_t begins = 0;
  int32_t ends = 0;
};
Host host;

VstIntPtr closingHost(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterBeginEdit) ++host.begins;
  if (opcode == audioMasterEndEdit) ++host.ends;
  // A host whose window loop runs inside the callback sees the button released meanwhile.
  if (opcode == audioMasterIdle) gui::headless::setMouseButtons(0);
  if (opcode == host.closeOn && effect) {
    ++host.closes;
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  }
  return opcode == audioMasterVersion ? 2400 : 0;
}

CPoint inside(int32_t row, int32_t dx, int32_t dy) {
  const gui::CRect& r = EditorLayout::control(row).rect;
  return CPoint(r.left + dx, r.top + dy);
}

// One step of input reaches the frame only while the window is open, as in a real window.
using Step = std::function<void(gui::CFrame&, AEffect&, SDEditor&)>;

Step press(int32_t row, int32_t dx, int32_t dy, int32_t buttons) {
  return [=](gui::CFrame& frame, AEffect&, SDEditor&) {
    gui::headless::setMouseButtons(buttons);
    CPoint where = inside(row, dx, dy);
    frame.onMouseDown(where, buttons);
  };
}
Step move(int32_t row, int32_t dx, int32_t dy, int32_t buttons) {
  return [=](gui::CFrame& frame, AEffect&, SDEditor&) {
    CPoint where = inside(row, dx, dy);
    frame.onMouseMoved(where, buttons);
  };
}
Step release(int32_t row, int32_t buttons) {
  return [=](gui::CFrame& frame, AEffect&, SDEditor&) {
    gui::headless::setMouseButtons(buttons);
    CPoint where = inside(row, 8, 60);
    frame.onMouseUp(where, buttons);
  };
}
Step wheel(int32_t row) {
  return
      [=](gui::CFrame& frame, AEffect&, SDEditor&) { frame.onWheel(inside(row, 8, 60), 1.0f, 0); };
}
Step keyUpArrow(int32_t row) {
  return [=](gui::CFrame& frame, AEffect& effect, SDEditor& editor) {
    frame.setFocusView(editor.controlAt(row));
    effect.dispatcher(&effect, effEditKeyDown, 0, gui::VKEY_UP, nullptr, 0.0f);
  };
}

struct InputPath {
  const char* name;
  std::vector<Step> steps;
  std::vector<VstInt32> callbacks;  // the host callbacks the path causes
};

const std::vector<InputPath>& inputPaths() {
  using gui::kLButton;
  using gui::kRButton;
  static const std::vector<InputPath> paths = {
      {"wheel",
       {wheel(kSliderRow)},
       {audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}},
      {"key",
       {keyUpArrow(kSliderRow)},
       {audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}},
      {"click",
       {press(kMiddleButtonRow, 4, 4, kLButton), release(kMiddleButtonRow, 0)},
       {audioMasterIdle, audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}},
      {"slider drag",
       {press(kSliderRow, 8, 78, kLButton), move(kSliderRow, 8, 52, kLButton),
        release(kSliderRow, 0)},
       {audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}},
      {"knob drag",
       {press(kKnobRow, 15, 15, kLButton), move(kKnobRow, 25, 5, kLButton), release(kKnobRow, 0)},
       {audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}},
      {"second button",
       {press(kSliderRow, 8, 78, kLButton), move(kSliderRow, 8, 52, kLButton),
        press(kSliderRow, 8, 52, kLButton | kRButton), release(kSliderRow, kLButton),
        release(kSliderRow, 0)},
       {audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit}},
  };
  return paths;
}

class HostileHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::headless::reset();
    gui::headless::setTicks(0);
    host = Host{};
    effect = new Ferrowin(&closingHost);
    record = effect->getAeffect();
    editor = new SDEditor(effect);  // the effect owns it from here
  }
  void TearDown() override {
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(gui::headless::liveWindowCount(), 0);
  }
  bool open() { return record->dispatcher(record, effEditOpen, 0, 0, &hostWindow, 0.0f) == 1; }

  int hostWindow = 0;
  Ferrowin* effect = nullptr;
  AEffect* record = nullptr;
  SDEditor* editor = nullptr;
};

TEST_F(HostileHostTest, EveryInputPathSurvivesACloseFromEveryCallback) {
  const VstInt32 closingCallbacks[] = {audioMasterBeginEdit, audioMasterAutomate,
                                       audioMasterEndEdit, audioMasterIdle};
  uint32_t ticks = 0;
  for (const InputPath& path : inputPaths()) {
    for (VstInt32 closeOn : closingCallbacks) {
      // Idle work during a gesture is throttled: each case starts long after the last one.
      gui::headless::setTicks(ticks += 10000);
      const std::string what =
          std::string(path.name) + ", closed on opcode " + std::to_string(closeOn);
      // Reopened windows are the ones that used to fail.
      ASSERT_TRUE(open()) << what;
      record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
      ASSERT_TRUE(open()) << what;
      effect->setParameter(kFilterType, 0.0f);
      host = Host{};
      host.closeOn = closeOn;
      for (const Step& step : path.steps)
        if (gui::CFrame* frame = editor->getFrame()) step(*frame, *record, *editor);
      const bool causesCallback =
          std::find(path.callbacks.begin(), path.callbacks.end(), closeOn) != path.callbacks.end();
      EXPECT_EQ(host.closes > 0, causesCallback) << what;
      EXPECT_EQ(editor->getFrame() == nullptr, causesCallback) << what;
      EXPECT_GE(host.begins, 1) << what;
      EXPECT_EQ(host.begins, host.ends) << what << ": a gesture without its end";
      record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
      EXPECT_EQ(host.begins, host.ends) << what << ": the close left a gesture open";
      EXPECT_EQ(gui::headless::liveWindowCount(), 0) << what;
    }
  }
}

}  // namespace

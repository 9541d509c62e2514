#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CKnob.h"
#include "COnOffButton.h"
#include "CParamDisplay.h"
#include "CSlider.h"
#include "ControlTestSupport.h"
#include "VstKeyCode.h"

namespace gui {
namespace {

using test::FrameWithEditor;
using test::Log;
using test::LoggingBitmap;
using test::LoggingListener;

enum class Input { Move, Drag, Press, Release, Wheel, Arrow, Tab, Leave };

struct Step {
  Input input;
  CPoint where;
};

// Points in each view and on the background, in frame coordinates.
const CPoint kSlider(25, 100);
const CPoint kSliderLower(25, 120);
const CPoint kKnob(120, 30);
const CPoint kButton(215, 20);
const CPoint kDisplay(330, 20);
const CPoint kBackground(380, 380);

// Names of the views the frame marks after the steps, in layout order.
std::string markedAfter(const std::vector<Step>& steps) {
  Log log;
  LoggingListener listener(&log);
  FrameWithEditor host(&log);
  CFrame* frame = host.frame;
  auto* handle = new LoggingBitmap(30, 10, &log);
  const std::vector<std::pair<CView*, std::string>> views = {
      {host.add(new CSlider(CRect(10, 10, 40, 190), &listener, 1, 10, 180, handle, nullptr,
                            CPoint(0, 0), kBottom | kVertical)),
       "slider"},
      {host.add(new CKnob(CRect(100, 10, 140, 50), &listener, 2, nullptr)), "knob"},
      {host.add(new COnOffButton(CRect(200, 10, 230, 30), &listener, 3, nullptr)), "button"},
      {host.add(new CParamDisplay(CRect(300, 10, 360, 30))), "display"}};
  handle->forget();
  for (const Step& step : steps) {
    CPoint where = step.where;
    VstKeyCode key{0, step.input == Input::Tab ? VKEY_TAB : VKEY_UP, 0};
    switch (step.input) {
      case Input::Move:
        frame->onMouseMoved(where, 0);
        break;
      case Input::Drag:
        frame->onMouseMoved(where, kLButton);
        break;
      case Input::Press:
        frame->onMouseDown(where, kLButton);
        break;
      case Input::Release:
        frame->onMouseUp(where, 0);
        break;
      case Input::Wheel:
        frame->onWheel(where, kMouseWheelAxisY, 1.0f, 0);
        break;
      case Input::Arrow:
      case Input::Tab:
        frame->onKeyDown(key);
        break;
      case Input::Leave:
        frame->onMouseExited(where, 0);
        break;
    }
  }
  std::string marked;
  for (const auto& [view, name] : views) {
    if (frame->isMarked(view)) marked += (marked.empty() ? "" : " ") + name;
  }
  return marked;
}

TEST(InteractionMarks, ShowOnlyAfterThePointerOrTheKeyboardMovedAndGoAtAPress) {
  using I = Input;
  const Step toSlider[] = {{I::Move, kBackground}, {I::Move, kSlider}};
  const Step clickSlider[] = {{I::Press, kSlider}, {I::Release, kSlider}};
  const auto after = [](std::initializer_list<const Step*> groups, std::vector<Step> tail) {
    std::vector<Step> steps;
    for (const Step* group : groups) steps.insert(steps.end(), group, group + 2);
    steps.insert(steps.end(), tail.begin(), tail.end());
    return steps;
  };
  const struct {
    const char* what;
    std::vector<Step> steps;
    const char* marked;
  } cases[] = {
      {"nothing happened", {}, ""},
      {"the first position known is no move", {{I::Move, kSlider}}, ""},
      {"a move onto a slider", after({toSlider}, {}), "slider"},
      {"moves within the slider", after({toSlider}, {{I::Move, kSliderLower}}), "slider"},
      {"a move onto a knob", {{I::Move, kBackground}, {I::Move, kKnob}}, "knob"},
      {"a move onto a button", {{I::Move, kBackground}, {I::Move, kButton}}, "button"},
      {"a display takes no mark", {{I::Move, kBackground}, {I::Move, kDisplay}}, ""},
      {"onto the background", after({toSlider}, {{I::Move, kBackground}}), ""},
      {"from one control to the next", after({toSlider}, {{I::Move, kKnob}}), "knob"},
      {"a press", after({toSlider}, {{I::Press, kSlider}}), ""},
      {"a drag", after({toSlider}, {{I::Press, kSlider}, {I::Drag, kSliderLower}}), ""},
      {"the release", after({toSlider, clickSlider}, {}), ""},
      {"a repeated position after the release",
       after({toSlider, clickSlider}, {{I::Move, kSlider}}), ""},
      {"a move after the release", after({toSlider, clickSlider}, {{I::Move, kSliderLower}}),
       "slider"},
      {"a wheel turn", after({toSlider}, {{I::Wheel, kSlider}}), ""},
      {"leaving the window", after({toSlider}, {{I::Leave, kBackground}}), ""},
      {"a click gives focus without a mark", after({clickSlider}, {}), ""},
      {"an arrow key moves the focused slider", after({clickSlider}, {{I::Arrow, {}}}), "slider"},
      {"focus and hover together",
       after({clickSlider}, {{I::Arrow, {}}, {I::Move, kBackground}, {I::Move, kKnob}}),
       "slider knob"},
      {"a press ends the focus mark",
       after({clickSlider}, {{I::Arrow, {}}, {I::Press, kBackground}}), ""},
      {"a wheel turn ends the focus mark",
       after({clickSlider}, {{I::Arrow, {}}, {I::Wheel, kBackground}}), ""},
      {"leaving ends the focus mark", after({clickSlider}, {{I::Arrow, {}}, {I::Leave, {}}}), ""},
      {"a key without focus", {{I::Arrow, {}}}, ""},
      {"the tab key moves the focus", {{I::Tab, {}}}, "slider"},
      {"a second tab", {{I::Tab, {}}, {I::Tab, {}}}, "knob"},
  };
  for (const auto& c : cases) EXPECT_EQ(markedAfter(c.steps), c.marked) << c.what;
}

}  // namespace
}  // namespace gui

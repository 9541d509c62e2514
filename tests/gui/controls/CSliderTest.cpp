#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "CVerticalSlider.h"
#include "ControlTestSupport.h"

namespace gui {
namespace {

using test::FrameWithEditor;
using test::Log;
using test::LoggingBitmap;
using test::LoggingListener;
using ::testing::ElementsAre;

// The editor's slider: 16 × 160 at (40, 160), a 16 × 29 handle travelling from 160 to 290, the
// handle's track one pixel right, the value growing upwards.
class SliderTest : public ::testing::Test {
 protected:
  SliderTest() : listener(&log), host(&log) {
    handle = new LoggingBitmap(16, 29, &drawing);
    slider = host.add(new CVerticalSlider(CRect(40, 160, 56, 320), &listener, 5, 160, 290, handle,
                                          nullptr, CPoint(0, 0), kVertical | kBottom));
    handle->forget();
    slider->setOffsetHandle(CPoint(1, 0));
  }
  CMouseEventResult press(int32_t y, CButtonState buttons, int32_t x = 48) {
    CPoint where(x, y);
    return slider->onMouseDown(where, buttons);
  }
  void move(int32_t y, CButtonState buttons) {
    CPoint where(48, y);
    slider->onMouseMoved(where, buttons);
  }

  Log log;
  Log drawing;
  LoggingListener listener;
  FrameWithEditor host;
  LoggingBitmap* handle = nullptr;
  CSlider* slider = nullptr;
};

TEST_F(SliderTest, TravelAndHandleLimits) {
  EXPECT_EQ(slider->getTravel(), 130);
  EXPECT_EQ(slider->getHandleMinPos(), 0);
  EXPECT_EQ(slider->getHandleMaxPos(), 159);
}

TEST_F(SliderTest, HandleRowsFollowTheValue) {
  const struct {
    float value;
    const char* drawn;
  } cases[] = {
      {1.0f, "transparent 41,160,57,189 from 0,0"},
      {0.0f, "transparent 41,290,57,319 from 0,0"},
      {0.5f, "transparent 41,225,57,254 from 0,0"},
      {1.3f, "transparent 41,160,57,189 from 0,0"},  // held at the top limit
  };
  for (const auto& c : cases) {
    drawing.clear();
    slider->setValue(c.value);
    slider->draw(nullptr);
    EXPECT_THAT(drawing, ElementsAre(c.drawn)) << c.value;
    EXPECT_FALSE(slider->isDirty());
  }
  slider->setDrawTransparentHandle(false);
  drawing.clear();
  slider->draw(nullptr);
  EXPECT_THAT(drawing, ElementsAre("draw 41,160,57,189 from 0,0"));
}

// A change of value redraws the places the handle may show, old and new; a control marked
// dirty or given another look redraws whole. Each step runs after the one before.
TEST_F(SliderTest, AnIdleRedrawsOnlyWhereTheHandleWasAndIs) {
  void* window = host.frame->getWindow();
  const CRect whole(40, 160, 56, 320);
  const auto paint = [&] {
    auto* context = new CDrawContext(host.frame, nullptr, nullptr);
    host.frame->drawRect(context, host.frame->getViewSize());
    context->forget();
  };
  host.frame->idle();
  paint();
  headless::takeInvalidatedRects(window);
  const struct {
    const char* step;
    std::function<void()> change;
    CRect redrawn;
  } steps[] = {
      {"first move: the handle was never placed", [&] { slider->setValue(0.5f); }, whole},
      {"0.5 to 0.4", [&] { slider->setValue(0.4f); }, CRect(41, 225, 57, 267)},
      {"drawn at 0.0 before the idle, back to 0.4",
       [&] {
         slider->setValue(0.0f);
         paint();
         slider->setValue(0.4f);
       },
       CRect(41, 238, 57, 319)},
      {"marked dirty", [&] { slider->setDirty(true); }, whole},
      {"0.4 to 1.0", [&] { slider->setValue(1.0f); }, CRect(41, 160, 57, 267)},
      {"another handle look",
       [&] {
         slider->setDrawTransparentHandle(false);
         slider->setValue(0.9f);
       },
       whole},
  };
  for (const auto& s : steps) {
    s.change();
    host.frame->idle();
    EXPECT_THAT(headless::takeInvalidatedRects(window), ElementsAre(s.redrawn)) << s.step;
  }
}

TEST_F(SliderTest, FreePressMovesTheHandleToThePointer) {
  const struct {
    int32_t y;
    float value;
  } cases[] = {{238, 0.5f}, {173, 1.0f}, {100, 1.0f}, {303, 0.0f}, {400, 0.0f}, {186, 0.9f}};
  for (const auto& c : cases) {
    slider->setValue(0.25f);
    EXPECT_EQ(press(c.y, kLButton), kMouseEventHandled);
    EXPECT_NEAR(slider->getValue(), c.value, 1e-6f) << c.y;
    CPoint release;
    slider->onMouseUp(release, 0);
  }
}

TEST_F(SliderTest, PressAndDragFormOneGesture) {
  slider->setValue(0.25f);
  slider->draw(nullptr);
  log.clear();
  press(238, kLButton);
  move(225, kLButton);
  move(225, kLButton);  // no change: nothing to report
  CPoint where(48, 225);
  slider->onMouseUp(where, 0);
  EXPECT_THAT(log, ElementsAre("listener begin 5", "host begin 5", "changed 5 0.5000",
                               "changed 5 0.6000", "host end 5", "listener end 5"));
}

TEST_F(SliderTest, ShiftPressDoesNotMoveAndDragsATenthAroundTheAnchor) {
  slider->setValue(0.3f);
  EXPECT_EQ(press(238, kLButton | kShift), kMouseEventHandled);
  EXPECT_EQ(slider->getValue(), 0.3f) << "a fine drag never jumps on the press";
  // 0.3 sits at y 264; 13 pixels above would be 0.4 plainly.
  const struct {
    int32_t y;
    CButtonState buttons;
    float value;
  } steps[] = {
      {251, kLButton | kShift, 0.31f},  // anchor 0.3 + 0.1 / 10
      {238, kLButton | kShift, 0.32f},  // still around the same anchor
      {238, kLButton, 0.5f},            // Shift released: absolute position at full rate
      {225, kLButton, 0.6f},
      {212, kLButton | kShift, 0.61f},  // Shift again: anchored at 0.6
      {199, kLButton | kShift, 0.62f},
  };
  for (const auto& s : steps) {
    move(s.y, s.buttons);
    EXPECT_NEAR(slider->getValue(), s.value, 1e-5f) << s.y;
  }
}

TEST_F(SliderTest, GrabbingTheHandleKeepsTheGripPoint) {
  slider->setFreeClick(false);
  slider->setValue(0.5f);  // handle at y 225 ... 254
  const struct {
    int32_t x;
    int32_t y;
    CMouseEventResult result;
  } presses[] = {{48, 224, kMouseEventNotHandled}, {48, 255, kMouseEventNotHandled},
                 {40, 240, kMouseEventNotHandled}, {58, 240, kMouseEventNotHandled},
                 {41, 225, kMouseEventHandled},    {57, 254, kMouseEventHandled}};
  for (const auto& p : presses) {
    EXPECT_EQ(press(p.y, kLButton, p.x), p.result) << p.x << "," << p.y;
    EXPECT_EQ(slider->getValue(), 0.5f) << "a press never moves a grabbed handle";
  }
  log.clear();
  press(240, kLButton);
  move(227, kLButton);
  EXPECT_NEAR(slider->getValue(), 0.6f, 1e-6f);
}

TEST_F(SliderTest, CtrlClickResetsAndAnswersThree) {
  slider->setValue(0.9f);
  slider->setDefaultValue(0.2f);
  EXPECT_EQ(press(300, kLButton | kControl), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_EQ(slider->getValue(), 0.2f) << "the default, not the pointer's position";
  EXPECT_EQ(press(300, kLButton | kControl | kShift), kMouseEventHandled)
      << "with Shift it is a fine drag";
  EXPECT_EQ(press(300, kRButton | kControl), kMouseEventNotHandled);
}

TEST(CSlider, HorizontalTrackFromTheLeft) {
  Log drawing;
  auto* handle = new LoggingBitmap(10, 8, &drawing);
  auto* slider = new CSlider(CRect(0, 0, 110, 8), nullptr, 0, 0, 100, handle, nullptr);
  handle->forget();
  EXPECT_EQ(slider->getHandleMaxPos(), 110);
  slider->setValue(0.25f);
  slider->draw(nullptr);
  CPoint where(80, 4);
  slider->onMouseDown(where, kLButton);
  EXPECT_NEAR(slider->getValue(), 0.76f, 1e-6f) << "(80 - 4) / 100, growing to the right";
  EXPECT_THAT(drawing, ElementsAre("transparent 25,0,35,8 from 0,0"));
  slider->forget();
}

}  // namespace
}  // namespace gui

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "CAnimKnob.h"
#include "CKnob.h"
#include "ControlTestSupport.h"
#include "VstKeyCode.h"

namespace gui {
namespace {

using test::FrameWithEditor;
using test::Log;
using test::LoggingBitmap;
using test::LoggingContext;
using test::LoggingListener;
using ::testing::ElementsAre;

constexpr float kPi = 3.14159265f;
const CRect kKnobRect(100, 50, 132, 82);  // 32 × 32, radius 16

// The point at angle (degrees, counter-clockwise from the right) on a circle of that radius
// around the knob's centre, relative to its top-left.
CPoint pointAt(float degrees, float reach) {
  const float radians = degrees * kPi / 180.0f;
  return CPoint(static_cast<int32_t>(std::lround(16.0f + std::cos(radians) * reach)),
                static_cast<int32_t>(std::lround(16.0f - std::sin(radians) * reach)));
}

class KnobTest : public ::testing::Test {
 protected:
  KnobTest() : listener(&log), host(&log) {
    knob = host.add(new CKnob(kKnobRect, &listener, 16, nullptr));
  }
  // A press and moves in frame coordinates, the knob being a direct child.
  CMouseEventResult press(CPoint where, CButtonState buttons) {
    return knob->onMouseDown(where, buttons);
  }
  void move(CPoint where, CButtonState buttons) { knob->onMouseMoved(where, buttons); }
  CPoint onKnob(const CPoint& local) const { return local + kKnobRect.getTopLeft(); }

  Log log;
  LoggingListener listener;
  FrameWithEditor host;
  CKnob* knob = nullptr;
  CDrawContext blank{nullptr, nullptr, nullptr};  // draws nothing
};

TEST_F(KnobTest, DefaultArcCoefficients) {
  // value = aCoef × angle + bCoef over 270° clockwise from 225°.
  CPoint up;
  knob->setValue(0.5f);
  knob->valueToPoint(up);
  EXPECT_EQ(up, CPoint(16, 3)) << "0.5 points straight up, inset 3";
  const struct {
    float value;
    float degrees;
  } cases[] = {{0.0f, 225.0f}, {1.0f, -45.0f}, {0.5f, 90.0f}, {0.25f, 157.5f}};
  for (const auto& c : cases) {
    knob->setValue(c.value);
    CPoint point;
    knob->valueToPoint(point);
    EXPECT_EQ(point, pointAt(c.degrees, 13.0f)) << c.value;
    CPoint onRim = pointAt(c.degrees, 13.0f);
    EXPECT_NEAR(knob->valueFromPoint(onRim), c.value, 0.02f) << c.degrees;
  }
}

TEST_F(KnobTest, DeadArcSnapsToTheNearerEnd) {
  const struct {
    float degrees;
    float value;
  } cases[] = {{280.0f, 1.0f}, {300.0f, 1.0f}, {260.0f, 0.0f},
               {240.0f, 0.0f}, {275.0f, 1.0f}, {265.0f, 0.0f}};
  for (const auto& c : cases) {
    CPoint point = pointAt(c.degrees, 14.0f);
    EXPECT_EQ(knob->valueFromPoint(point), c.value) << c.degrees;
  }
}

TEST_F(KnobTest, CounterClockwiseArcSnapsTheOtherWay) {
  knob->setStartAngle(-kPi / 4.0f);  // lower right, sweeping 270° counter-clockwise
  knob->setRangeAngle(1.5f * kPi);
  const struct {
    float degrees;
    float value;
  } cases[] = {{-45.0f, 0.0f}, {90.0f, 0.5f}, {280.0f, 0.0f}, {260.0f, 1.0f}};
  for (const auto& c : cases) {
    CPoint point = pointAt(c.degrees, 14.0f);
    EXPECT_NEAR(knob->valueFromPoint(point), c.value, 0.01f) << c.degrees;
  }
}

TEST_F(KnobTest, LinearDragFollowsDistanceRightAndUp) {
  host.editor.knobMode = 2;
  const struct {
    CButtonState buttons;
    CPoint by;
    float change;
  } cases[] = {
      {kLButton, CPoint(100, 0), 0.5f},  {kLButton, CPoint(0, -100), 0.5f},
      {kLButton, CPoint(-40, 0), -0.2f}, {kLButton | kShift, CPoint(100, 0), 1.0f / 3.0f},
      {kLButton, CPoint(60, -60), 0.6f},
  };
  for (const auto& c : cases) {
    knob->setValue(0.2f);
    const CPoint start = onKnob(CPoint(16, 16));
    EXPECT_EQ(press(start, c.buttons), kMouseEventHandled);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.2f) << "a linear press does not move the knob";
    move(start + c.by, c.buttons);
    EXPECT_NEAR(knob->getValue(), std::min(0.2f + c.change, 1.0f), 1e-5f) << c.by.x;
  }
}

TEST_F(KnobTest, ShiftChangingMidDragDoesNotJump) {
  host.editor.knobMode = 2;
  knob->setValue(0.1f);
  const CPoint start = onKnob(CPoint(16, 16));
  press(start, kLButton);
  move(start + CPoint(50, 0), kLButton);
  EXPECT_NEAR(knob->getValue(), 0.35f, 1e-5f);
  // The move on which Shift changes continues at the rate before the change.
  move(start + CPoint(51, 0), kLButton | kShift);
  EXPECT_NEAR(knob->getValue(), 0.355f, 1e-5f);
  move(start + CPoint(81, 0), kLButton | kShift);
  EXPECT_NEAR(knob->getValue(), 0.355f + 30.0f / 300.0f, 1e-5f);
  move(start + CPoint(82, 0), kLButton);
  EXPECT_NEAR(knob->getValue(), 0.455f + 1.0f / 300.0f, 1e-5f);
  move(start + CPoint(92, 0), kLButton);
  EXPECT_NEAR(knob->getValue(), 0.455f + 1.0f / 300.0f + 10.0f / 200.0f, 1e-5f);
}

TEST_F(KnobTest, AltInvertsTheHostsKnobMode) {
  const struct {
    int32_t mode;
    CButtonState buttons;
    bool linear;
  } cases[] = {
      {0, kLButton, false},       {0, kLButton | kAlt, true}, {1, kLButton, false},
      {1, kLButton | kAlt, true}, {2, kLButton, true},        {2, kLButton | kAlt, false},
      {2, kRButton, false},
  };
  for (const auto& c : cases) {
    host.editor.knobMode = c.mode;
    knob->setValue(0.2f);
    // A press straight above the centre: circular mode jumps to 0.5, linear does not move.
    press(onKnob(CPoint(16, 2)), c.buttons);
    const float expected = c.linear ? 0.2f : ((c.buttons & kLButton) ? 0.5f : 0.2f);
    EXPECT_NEAR(knob->getValue(), expected, 1e-5f) << c.mode << " " << c.buttons;
  }
}

TEST_F(KnobTest, CircularDragRefusesAJumpAcrossTheDeadArc) {
  knob->setValue(0.9f);
  press(onKnob(pointAt(-30.0f, 14.0f)), kLButton);  // near the end of the sweep
  EXPECT_NEAR(knob->getValue(), 0.944f, 0.01f);
  move(onKnob(pointAt(-80.0f, 14.0f)), kLButton);  // dead arc, end side
  EXPECT_EQ(knob->getValue(), 1.0f);
  move(onKnob(pointAt(-100.0f, 14.0f)), kLButton);  // dead arc, start side: refused
  EXPECT_EQ(knob->getValue(), 1.0f);
  move(onKnob(pointAt(200.0f, 14.0f)), kLButton);  // 0.1 on the arc: still refused
  EXPECT_EQ(knob->getValue(), 1.0f);
  move(onKnob(pointAt(10.0f, 14.0f)), kLButton);  // back within half the range
  EXPECT_NEAR(knob->getValue(), 0.796f, 0.01f);
}

TEST_F(KnobTest, DragReportsEachChangeInOneGesture) {
  knob->setValue(0.2f);
  knob->draw(&blank);
  log.clear();
  CPoint up = onKnob(CPoint(16, 2));
  press(up, kLButton);
  move(up, kLButton);  // the same point: nothing
  knob->onMouseUp(up, 0);
  EXPECT_THAT(log, ElementsAre("listener begin 16", "host begin 16", "changed 16 0.5000",
                               "host end 16", "listener end 16"));
}

TEST_F(KnobTest, CtrlClickResetsWithoutDrag) {
  knob->setValue(0.9f);
  EXPECT_EQ(press(onKnob(CPoint(16, 2)), kLButton | kControl),
            kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_EQ(knob->getValue(), 0.5f);
  EXPECT_THAT(log, ElementsAre("listener begin 16", "host begin 16", "listener begin 16",
                               "host begin 16", "changed 16 0.5000", "host end 16",
                               "listener end 16", "host end 16", "listener end 16"));
}

TEST_F(KnobTest, WheelAndArrowKeysStepByTheWheelIncrement) {
  const struct {
    bool wheel;
    float distance;  // wheel notches
    unsigned char key;
    CButtonState buttons;  // wheel modifiers; key modifier Shift when kShift
    float change;
  } cases[] = {
      {true, 1.0f, 0, 0, 0.1f},
      {true, -2.0f, 0, 0, -0.2f},
      {true, 1.0f, 0, kShift, 0.01f},
      {false, 0, VKEY_UP, 0, 0.1f},
      {false, 0, VKEY_RIGHT, 0, 0.1f},
      {false, 0, VKEY_LEFT, 0, -0.1f},
      {false, 0, VKEY_DOWN, kShift, -0.01f},
  };
  for (const auto& c : cases) {
    knob->setValue(0.5f);
    knob->draw(&blank);
    log.clear();
    if (c.wheel) {
      EXPECT_TRUE(knob->onWheel(CPoint(), c.distance, c.buttons));
    } else {
      VstKeyCode key{0, c.key, static_cast<unsigned char>(c.buttons ? MODIFIER_SHIFT : 0)};
      EXPECT_EQ(knob->onKeyDown(key), 1);
    }
    EXPECT_NEAR(knob->getValue(), 0.5f + c.change, 1e-6f);
    EXPECT_EQ(log.size(), 5u) << "one gesture around the change";
  }
  VstKeyCode other{'a', 0, 0};
  EXPECT_EQ(knob->onKeyDown(other), kKeyNotHandled);
  knob->setMouseEnabled(false);
  EXPECT_FALSE(knob->onWheel(CPoint(), 1.0f, 0));
}

TEST_F(KnobTest, HandleBitmapOrTwoLines) {
  Log drawing;
  LoggingContext context(&drawing);
  auto* handle = new LoggingBitmap(8, 6, &drawing);
  knob->setValue(0.5f);
  knob->draw(&context);
  // Shadow line from the tip to the centre, then the light one a pixel up and right.
  EXPECT_THAT(drawing, ElementsAre("line 115,53-115,66 7f7f7fff", "line 116,52-116,65 ffffffff"));
  drawing.clear();
  knob->setHandleBitmap(handle);
  handle->forget();
  EXPECT_EQ(knob->getInsetValue(), 6);
  knob->draw(&context);
  // Value 0.5 at inset 6: (16, 6); the handle is centred there.
  EXPECT_THAT(drawing, ElementsAre("transparent 112,53,120,59 from 0,0"));
}

TEST(CAnimKnob, PictureFollowsTheValue) {
  const struct {
    float value;
    bool inverse;
    int32_t offset;
  } cases[] = {{0.0f, false, 0},  {0.5f, false, 480},  {1.0f, false, 992},
               {-0.3f, false, 0}, {0.99f, false, 960}, {0.0f, true, 992},
               {1.0f, true, 0},   {0.032f, false, 0},  {0.033f, false, 32}};
  for (const auto& c : cases) {
    Log log;
    auto* strip = new LoggingBitmap(32, 1024, &log);
    auto* knob = new CAnimKnob(CRect(10, 20, 42, 52), nullptr, 0, 32, 32, strip);
    strip->forget();
    knob->setInverseBitmap(c.inverse);
    knob->setValue(c.value);
    knob->draw(nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], test::format("draw 10,20,42,52 from 0,%d", c.offset)) << c.value;
    knob->forget();
  }
}

TEST(CAnimKnob, RedrawsOnlyWhenTheVirtualHandleMoves) {
  auto* strip = new CBitmap(32, 1024);
  auto* knob = new CAnimKnob(CRect(0, 0, 32, 32), nullptr, 0, 32, 32, strip);
  strip->forget();
  EXPECT_EQ(knob->getInsetValue(), 0) << "the handle runs on the rim";
  knob->setValue(0.5f);
  knob->draw(nullptr);
  knob->setValue(0.501f);
  EXPECT_FALSE(knob->isDirty()) << "less than a pixel on the rim";
  knob->setValue(0.52f);
  EXPECT_TRUE(knob->isDirty());
  knob->setValue(0.5f);
  knob->setDirty(true);
  EXPECT_TRUE(knob->isDirty());
  knob->forget();
}

}  // namespace
}  // namespace gui

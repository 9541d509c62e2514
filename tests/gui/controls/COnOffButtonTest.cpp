#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "COnOffButton.h"
#include "ControlTestSupport.h"

namespace gui {
namespace {

using test::FrameWithEditor;
using test::Log;
using test::LoggingBitmap;
using test::LoggingListener;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(COnOffButton, ClickFlipsByTheTruncatedValue) {
  const struct {
    float before;
    float after;
  } cases[] = {{0.0f, 1.0f}, {0.5f, 1.0f}, {1.0f, 0.0f}, {2.5f, 0.0f}, {-1.0f, 0.0f}, {NAN, 1.0f}};
  for (const auto& c : cases) {
    Log log;
    FrameWithEditor host(&log);
    auto* button = host.add(new COnOffButton(CRect(0, 0, 26, 18), nullptr, 7, nullptr));
    button->setValue(c.before);
    CPoint where(3, 3);
    EXPECT_EQ(button->onMouseDown(where, kLButton),
              kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(button->getValue(), c.after) << c.before;
  }
}

TEST(COnOffButton, OnlyTheLeftButtonClicksAndModifiersDoNotMatter) {
  const struct {
    CButtonState buttons;
    bool flips;
  } cases[] = {{kRButton, false},
               {kMButton, false},
               {kLButton | kControl, true},
               {kLButton | kShift | kAlt, true},
               {kLButton | kDoubleClick, true}};
  for (const auto& c : cases) {
    Log log;
    LoggingListener listener(&log);
    listener.takesModifierClicks = true;  // never asked by a press
    FrameWithEditor host(&log);
    auto* button = host.add(new COnOffButton(CRect(0, 0, 26, 18), &listener, 7, nullptr));
    CPoint where(3, 3);
    const CMouseEventResult result = button->onMouseDown(where, c.buttons);
    EXPECT_EQ(result,
              c.flips ? kMouseDownEventHandledButDontNeedMovedOrUpEvents : kMouseEventNotHandled);
    EXPECT_EQ(button->getValue(), c.flips ? 1.0f : 0.0f) << c.buttons;
    EXPECT_EQ(std::count(log.begin(), log.end(), "modifier 7 " + std::to_string(c.buttons)), 0);
  }
}

TEST(COnOffButton, StyleOrdersTheIdlePassAndTheListener) {
  const struct {
    int32_t style;
    std::vector<std::string> expected;
  } cases[] = {
      {kPreListenerUpdate,
       {"idle", "listener begin 7", "host begin 7", "changed 7 1.0000", "host end 7",
        "listener end 7"}},
      {kPostListenerUpdate,
       {"listener begin 7", "host begin 7", "changed 7 1.0000", "host end 7", "listener end 7",
        "idle"}},
  };
  for (const auto& c : cases) {
    Log log;
    LoggingListener listener(&log);
    FrameWithEditor host(&log);
    auto* button =
        host.add(new COnOffButton(CRect(10, 10, 36, 28), &listener, 7, nullptr, c.style));
    headless::takeInvalidatedRects(host.frame->getWindow());
    CPoint where(12, 12);
    button->onMouseDown(where, kLButton);
    EXPECT_THAT(log, ElementsAreArray(c.expected));
    EXPECT_THAT(headless::takeInvalidatedRects(host.frame->getWindow()),
                ElementsAre(CRect(10, 10, 36, 28)))
        << "the button's area is repainted";
  }
}

TEST(COnOffButton, DrawsTheUpperHalfOnlyForExactlyZero) {
  const struct {
    float value;
    int32_t sourceTop;
  } cases[] = {{0.0f, 0}, {0.3f, 18}, {1.0f, 18}, {-0.0f, 0}};
  for (const auto& c : cases) {
    Log log;
    auto* bitmap = new LoggingBitmap(26, 36, &log);
    auto* button = new COnOffButton(CRect(5, 6, 31, 24), nullptr, 0, bitmap);
    bitmap->forget();
    button->setValue(c.value);
    button->draw(nullptr);
    button->setTransparency(true);
    button->draw(nullptr);
    EXPECT_THAT(log, ElementsAre(test::format("draw 5,6,31,24 from 0,%d", c.sourceTop),
                                 test::format("transparent 5,6,31,24 from 0,%d", c.sourceTop)));
    EXPECT_FALSE(button->isDirty());
    button->forget();
  }
}

}  // namespace
}  // namespace gui

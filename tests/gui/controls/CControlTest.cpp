#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "CAnimKnob.h"
#include "CKnob.h"
#include "COnOffButton.h"
#include "CParamDisplay.h"
#include "CSlider.h"
#include "CVerticalSlider.h"
#include "ControlTestSupport.h"

namespace gui {
namespace {

using test::FrameWithEditor;
using test::Log;
using test::LoggingListener;
using ::testing::ElementsAre;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class PlainControl : public CControl {
 public:
  using CControl::CControl;
  void draw(CDrawContext* /*context*/) override { setDirty(false); }
  CView* newCopy() const override { return new PlainControl(*this); }
};

struct Releaser {
  void operator()(CBaseObject* object) const { object->forget(); }
};
template <typename T>
using Ref = std::unique_ptr<T, Releaser>;

TEST(CControl, DirtyAgainstTheValueLastDrawn) {
  struct Case {
    float drawn;     // value when drawn
    float changeTo;  // value set afterwards
    bool dirty;
  };
  const Case cases[] = {
      {0.0f, 0.25f, true}, {0.25f, 0.25f, false}, {0.5f, 0.5000001f, true},
      {0.0f, kNaN, true},  {kNaN, kNaN, true},    {-1.0f, -1.0f, false},
  };
  for (const Case& c : cases) {
    Ref<PlainControl> control(new PlainControl(CRect(0, 0, 10, 10)));
    EXPECT_TRUE(control->isDirty()) << "a new control is dirty";
    control->setValue(c.drawn);
    control->draw(nullptr);
    control->setValue(c.changeTo);
    EXPECT_EQ(control->isDirty(), c.dirty) << c.drawn << " then " << c.changeTo;
  }
}

TEST(CControl, MarkingDirtyMovesTheValueLastDrawnAwayFromTheValue) {
  const struct {
    float value;
    float oldValue;
  } cases[] = {{-1.0f, 0.0f}, {0.0f, -1.0f}, {0.7f, -1.0f}};
  for (const auto& c : cases) {
    Ref<PlainControl> control(new PlainControl(CRect(0, 0, 10, 10)));
    control->setValue(c.value);
    control->setDirty(false);
    EXPECT_FALSE(control->isDirty());
    control->setDirty(true);
    EXPECT_EQ(control->getOldValue(), c.oldValue) << c.value;
    EXPECT_TRUE(control->isDirty());
  }
}

TEST(CControl, BounceValueClampsIntoTheRange) {
  const struct {
    float value;
    float bounced;
  } cases[] = {{1.5f, 1.0f}, {-0.2f, 0.0f}, {0.3f, 0.3f}, {1.0f, 1.0f}};
  for (const auto& c : cases) {
    Ref<PlainControl> control(new PlainControl(CRect(0, 0, 10, 10)));
    control->setValue(c.value);
    control->bounceValue();
    EXPECT_EQ(control->getValue(), c.bounced) << c.value;
  }
  Ref<PlainControl> control(new PlainControl(CRect(0, 0, 10, 10)));
  control->setValue(kNaN);
  control->bounceValue();
  EXPECT_TRUE(std::isnan(control->getValue()));
}

TEST(CControl, CtrlClickTakesExactlyLeftButtonWithControl) {
  const struct {
    CButtonState buttons;
    float drawnValue;
    bool taken;
    Log expected;
  } cases[] = {
      {kLButton | kControl,
       0.2f,
       true,
       {"listener begin 7", "host begin 7", "changed 7 0.5000", "host end 7", "listener end 7"}},
      // Already showing the default: nothing to report, still one gesture.
      {kLButton | kControl,
       0.5f,
       true,
       {"listener begin 7", "host begin 7", "host end 7", "listener end 7"}},
      {kLButton | kControl | kShift, 0.2f, false, {}},
      {kControl, 0.2f, false, {}},
      {kLButton, 0.2f, false, {}},
      {kRButton | kControl, 0.2f, false, {}},
  };
  for (const auto& c : cases) {
    Log log;
    LoggingListener listener(&log);
    FrameWithEditor host(&log);
    auto* control = host.add(new PlainControl(CRect(0, 0, 10, 10), &listener, 7));
    control->setValue(c.drawnValue);
    control->draw(nullptr);
    log.clear();
    EXPECT_EQ(control->checkDefaultValue(c.buttons), c.taken) << c.buttons;
    EXPECT_EQ(log, c.expected) << c.buttons;
    EXPECT_EQ(control->getValue(), c.taken ? 0.5f : c.drawnValue);
  }
}

TEST(CControl, EndEditMirrorsBeginEdit) {
  Log log;
  LoggingListener listener(&log);
  FrameWithEditor host(&log);
  auto* control = host.add(new PlainControl(CRect(0, 0, 10, 10), &listener, 3));
  control->beginEdit();
  EXPECT_EQ(host.frame->getFocusView(), control);
  control->endEdit();
  EXPECT_THAT(log, ElementsAre("listener begin 3", "host begin 3", "host end 3", "listener end 3"));
}

TEST(CControl, WithoutFrameOnlyTheListenerHears) {
  Log log;
  LoggingListener listener(&log);
  Ref<PlainControl> control(new PlainControl(CRect(0, 0, 10, 10), &listener, 3));
  control->beginEdit();
  control->doIdleStuff();
  control->endEdit();
  EXPECT_THAT(log, ElementsAre("listener begin 3", "listener end 3"));
}

TEST(CControl, TypeNamesAreExactAndFollowTheClassTree) {
  Ref<CBitmap> bitmap(new CBitmap(32, 1024));
  Ref<CControl> knob(new CKnob(CRect(0, 0, 32, 32), nullptr, 0, nullptr));
  Ref<CControl> anim(new CAnimKnob(CRect(0, 0, 32, 32), nullptr, 0, 32, 32, bitmap.get()));
  Ref<CControl> slider(new CSlider(CRect(0, 0, 16, 160), nullptr, 0, 0, 130, nullptr, nullptr));
  Ref<CControl> vertical(
      new CVerticalSlider(CRect(0, 0, 16, 160), nullptr, 0, 0, 130, nullptr, nullptr));
  Ref<CControl> button(new COnOffButton(CRect(0, 0, 26, 18), nullptr, 0, nullptr));
  Ref<CControl> display(new CParamDisplay(CRect(0, 0, 40, 12)));
  const char* names[] = {"CView",    "CControl",        "CKnob",        "CAnimKnob",
                         "CSlider",  "CVerticalSlider", "COnOffButton", "CParamDisplay",
                         "ccontrol", "CControl "};
  const struct {
    CControl* control;
    std::vector<bool> answers;  // in the order of names
  } cases[] = {
      {knob.get(), {true, true, true, false, false, false, false, false, false, false}},
      {anim.get(), {true, true, true, true, false, false, false, false, false, false}},
      {slider.get(), {true, true, false, false, true, false, false, false, false, false}},
      {vertical.get(), {true, true, false, false, true, false, false, false, false, false}},
      {button.get(), {true, true, false, false, false, false, true, false, false, false}},
      {display.get(), {true, true, false, false, false, false, false, true, false, false}},
  };
  for (const auto& c : cases) {
    for (size_t i = 0; i < c.answers.size(); ++i) {
      EXPECT_EQ(c.control->isTypeOf(names[i]), c.answers[i]) << names[i];
    }
  }
}

TEST(CControl, CopiesKeepTheSettingsAndDropTheBackOffset) {
  Log log;
  LoggingListener listener(&log);
  Ref<CBitmap> strip(new CBitmap(32, 1024));
  Ref<CBitmap> handle(new CBitmap(16, 29));
  Ref<CKnob> knob(new CKnob(CRect(0, 0, 32, 32), &listener, 4, nullptr, CPoint(2, 3)));
  Ref<CAnimKnob> anim(new CAnimKnob(CRect(0, 0, 32, 32), &listener, 5, 32, 32, strip.get()));
  Ref<CSlider> slider(new CVerticalSlider(CRect(40, 160, 56, 320), &listener, 6, 160, 290,
                                          handle.get(), nullptr, CPoint(0, 0), kBottom));
  Ref<CParamDisplay> display(new CParamDisplay(CRect(0, 0, 40, 12)));
  knob->setHandleBitmap(handle.get());
  knob->setRangeAngle(3.0f);
  anim->setInverseBitmap(true);
  slider->setOffsetHandle(CPoint(1, 0));
  slider->setFreeClick(false);
  display->setStyle(k3DIn);
  display->setStringConvert([](float, char* text) {
    text[0] = 'x';
    text[1] = 0;
  });
  for (CControl* control :
       {static_cast<CControl*>(knob.get()), static_cast<CControl*>(anim.get()),
        static_cast<CControl*>(slider.get()), static_cast<CControl*>(display.get())}) {
    control->setValue(0.75f);
    control->setMin(-1.0f);
    control->setDefaultValue(0.25f);
    control->setWheelInc(0.05f);
    control->setBackOffset(CPoint(5, 6));
  }
  const int32_t handleReferences = handle->getNbReference();

  Ref<CKnob> knobCopy(static_cast<CKnob*>(knob->newCopy()));
  Ref<CAnimKnob> animCopy(static_cast<CAnimKnob*>(anim->newCopy()));
  Ref<CSlider> sliderCopy(static_cast<CSlider*>(slider->newCopy()));
  Ref<CParamDisplay> displayCopy(static_cast<CParamDisplay*>(display->newCopy()));
  for (CControl* copy :
       {static_cast<CControl*>(knobCopy.get()), static_cast<CControl*>(animCopy.get()),
        static_cast<CControl*>(sliderCopy.get()), static_cast<CControl*>(displayCopy.get())}) {
    EXPECT_EQ(copy->getValue(), 0.75f);
    EXPECT_EQ(copy->getMin(), -1.0f);
    EXPECT_EQ(copy->getDefaultValue(), 0.25f);
    EXPECT_EQ(copy->getWheelInc(), 0.05f);
    EXPECT_EQ(copy->getBackOffset(), CPoint(0, 0));
    EXPECT_TRUE(copy->isDirty());
  }
  EXPECT_EQ(knobCopy->getListener(), &listener);
  EXPECT_EQ(knobCopy->getTag(), 4);
  EXPECT_EQ(knobCopy->getRangeAngle(), 3.0f);
  EXPECT_EQ(knobCopy->getInsetValue(), 10);
  EXPECT_EQ(animCopy->getInverseBitmap(), true);
  EXPECT_EQ(animCopy->getHeightOfOneImage(), 32);
  EXPECT_EQ(sliderCopy->getHandleMaxPos(), 159);
  EXPECT_FALSE(sliderCopy->getFreeClick());
  EXPECT_EQ(displayCopy->getStyle(), k3DIn);
  EXPECT_EQ(handle->getNbReference(), handleReferences + 2) << "each copy holds the handle";
}

}  // namespace
}  // namespace gui

// The editor's binding on the headless platform: what the controls show at open, how host
// changes reach them, what a user change sends to the host, the filter-type selector, the
// display texts and the window's lifetime.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "CControl.h"
#include "EditorLayout.h"
#include "EffectParameters.h"
#include "Ferrowin.h"
#include "FrequencyText.h"
#include "RecordingHost.h"
#include "SDEditor.h"
#include "WaveText.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

using editortest::HostCall;
using editortest::hostCalls;
constexpr auto host = &editortest::recordingHost;

constexpr int32_t kUpperButton = 17;  // layout rows of the filter-type buttons

class SDEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::headless::reset();
    hostCalls.clear();
    effect = new Ferrowin(host);
    editor = new SDEditor(effect);  // the effect owns it from here
  }
  void TearDown() override {
    if (effect) dispatch(effClose);
    EXPECT_EQ(gui::headless::liveWindowCount(), 0);
  }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, void* ptr = nullptr) {
    AEffect* record = effect->getAeffect();
    const VstIntPtr answer = record->dispatcher(record, opcode, index, 0, ptr, 0.0f);
    if (opcode == effClose) effect = nullptr;
    return answer;
  }
  void open() { ASSERT_EQ(dispatch(effEditOpen, 0, &hostWindow), 1); }
  gui::CControl* control(int32_t row) const { return editor->controlAt(row); }
  // Button values upper, middle, lower.
  std::vector<float> buttons() const {
    return {control(kUpperButton)->getValue(), control(kUpperButton + 1)->getValue(),
            control(kUpperButton + 2)->getValue()};
  }

  int hostWindow = 0;  // stands in for the host's window
  Ferrowin* effect = nullptr;
  SDEditor* editor = nullptr;
};

// Distinct values per parameter, so that a control showing another parameter's value fails.
float distinctValue(int32_t index) { return 0.03f + 0.05f * static_cast<float>(index); }

TEST_F(SDEditorTest, EveryControlOpensWithItsParametersValue) {
  for (int32_t i = 0; i < kNumParameters; ++i)
    effect->setParameter(i, distinctValue(i));  // while closed
  open();
  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row) {
    const ControlPlacement& place = EditorLayout::control(row);
    if (place.kind == ControlKind::button) continue;
    ASSERT_NE(control(row), nullptr) << row;
    // Knobs too: a knob showing 0 would make a linear drag jump the parameter.
    EXPECT_FLOAT_EQ(control(row)->getValue(), effect->getParameter(place.parameter))
        << "row " << row << ", parameter " << place.parameter;
  }
  // Parameter 7 at 0.38 selects the middle button.
  EXPECT_EQ(buttons(), (std::vector<float>{1.0f, 0.0f, 1.0f}));
}

TEST_F(SDEditorTest, HostChangesOnTheEditorThreadShowAtOnce) {
  open();
  struct Case {
    int32_t parameter;
    int32_t row;  // a control of that parameter
    float value;
  };
  const Case cases[] = {{5, 7, 0.3f}, {5, 25, 0.3f}, {16, 0, 0.8f}, {17, 1, 0.6f}, {2, 22, 0.4f}};
  for (const Case& c : cases) {
    effect->setParameter(c.parameter, c.value);
    EXPECT_FLOAT_EQ(control(c.row)->getValue(), c.value) << "row " << c.row;
  }
}

TEST_F(SDEditorTest, ChangesFromAnotherThreadWaitForTheEditorsIdle) {
  open();
  std::thread automation([this] {
    effect->setParameter(5, 0.25f);
    effect->setParameter(kFilterType, 1.0f);
    effect->setParameter(16, 0.75f);
  });
  automation.join();
  EXPECT_FLOAT_EQ(control(7)->getValue(), 1.0f) << "no other thread touches a control";
  EXPECT_EQ(buttons(), (std::vector<float>{0.0f, 1.0f, 1.0f}));
  dispatch(effEditIdle);
  EXPECT_FLOAT_EQ(control(7)->getValue(), 0.25f);
  EXPECT_FLOAT_EQ(control(25)->getValue(), 0.25f);
  EXPECT_FLOAT_EQ(control(0)->getValue(), 0.75f);
  EXPECT_EQ(buttons(), (std::vector<float>{1.0f, 1.0f, 0.0f}));
}

TEST_F(SDEditorTest, IndicesOutsideTheParametersChangeNothing) {
  open();
  std::vector<float> before;
  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row)
    before.push_back(control(row)->getValue());
  for (VstInt32 index : {-1, 18, 1000}) editor->setParameter(index, 0.9f);
  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row)
    EXPECT_EQ(control(row)->getValue(), before[static_cast<size_t>(row)]) << row;
}

TEST_F(SDEditorTest, AUserChangeReachesEffectAndHostAndLeavesTheMovingControlAlone) {
  open();
  struct Case {
    int32_t row;
    int32_t displayRow;  // -1: none
    float value;
  };
  const Case cases[] = {{7, 25, 0.42f}, {15, 33, 0.1f}, {0, -1, 0.9f}};
  for (const Case& c : cases) {
    hostCalls.clear();
    gui::CControl* moving = control(c.row);
    const int32_t parameter = EditorLayout::control(c.row).parameter;
    moving->setValue(c.value);
    editor->valueChanged(moving);
    EXPECT_FLOAT_EQ(effect->getParameter(parameter), c.value);
    ASSERT_EQ(hostCalls.size(), 1u);
    EXPECT_EQ(hostCalls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(hostCalls[0].index, parameter);
    EXPECT_FLOAT_EQ(hostCalls[0].value, c.value);
    EXPECT_FLOAT_EQ(moving->getValue(), c.value);
    EXPECT_TRUE(moving->isDirty());
    if (c.displayRow >= 0) {
      EXPECT_FLOAT_EQ(control(c.displayRow)->getValue(), c.value);
    }
  }
}

TEST_F(SDEditorTest, HostFilterTypeValuesSelectTheirButton) {
  open();
  struct Case {
    float value;
    std::vector<float> buttons;
  };
  const Case cases[] = {
      {0.2f, {0, 1, 1}},  {0.5f, {1, 0, 1}}, {1.0f, {1, 1, 0}},
      {0.33f, {0, 1, 1}}, {1.5f, {0, 1, 1}},  // out of range: left as they were
  };
  for (const Case& c : cases) {
    effect->setParameter(kFilterType, c.value);
    EXPECT_EQ(buttons(), c.buttons) << c.value;
  }
  EXPECT_FLOAT_EQ(editor->updateFilterTypeButtons(control(5), -1.0f), -1.0f);
}

TEST_F(SDEditorTest, DisplayTextsComeFromTheOwningEffect) {
  Ferrowin other(host);
  effect->setParameter(1, 1.0f);
  effect->setParameter(2, 0.4f);
  other.setParameter(1, 0.0f);
  other.setParameter(2, 0.9f);
  struct Case {
    void (*convert)(float, char*, void*);
    int32_t parameter;
  };
  const Case cases[] = {{&SDEditor::oscNoteToString, 1}, {&SDEditor::oscWaveToString, 2}};
  for (const Case& c : cases) {
    for (Ferrowin* owner : {effect, &other}) {
      char expected[256] = {};
      char shown[256] = {};
      owner->getParameterDisplay(c.parameter, expected);
      if (c.parameter == 1) fitFrequencyText(expected);
      if (c.parameter == 2) fitWaveText(expected);
      EffectParameters parameters(owner);
      c.convert(0.5f, shown, &parameters);
      EXPECT_STREQ(shown, expected);
    }
  }
}

TEST_F(SDEditorTest, ASecondOpenReplacesTheFirstWindow) {
  open();
  open();
  EXPECT_EQ(gui::headless::liveWindowCount(), 1);
  dispatch(effEditClose);
  EXPECT_EQ(gui::headless::liveWindowCount(), 0);
  EXPECT_EQ(editor->controlAt(0), nullptr);
}

TEST_F(SDEditorTest, ClosingTheEffectWithTheWindowOpenClosesTheWindowFirst) {
  open();
  control(7)->setValue(0.6f);
  editor->valueChanged(control(7));
  dispatch(effClose);  // no effEditClose: the leak checker and TearDown see the rest
  EXPECT_EQ(gui::headless::liveWindowCount(), 0);
  EXPECT_EQ(gui::headless::oleInitBalance(), 0);
}

// The names printed over the window's controls, by kind and left edge, against the name the
// effect gives the parameter each control is bound to: a reordered parameter list would rebind
// the controls.
TEST(EditorBinding, EachControlIsBoundToTheParameterNamedOverIt) {
  const struct {
    ControlKind kind;
    int32_t left;
    const char* name;
  } printed[] = {
      {ControlKind::knob, 339, "Fil.KeyTrack"},   {ControlKind::knob, 396, "Osc.KeyTrack"},
      {ControlKind::slider, 40, "OSC.Amt"},       {ControlKind::slider, 75, "OSC.Note"},
      {ControlKind::slider, 110, "OSC.Wave"},     {ControlKind::slider, 176, "Noise.Amt"},
      {ControlKind::slider, 211, "Noise.Color"},  {ControlKind::slider, 274, "CutOff"},
      {ControlKind::slider, 309, "Resonance"},    {ControlKind::slider, 364, "EF1.Osc.AM"},
      {ControlKind::slider, 399, "EF1.Noise.AM"}, {ControlKind::slider, 434, "EF1.Smooth"},
      {ControlKind::slider, 469, "EF2.OSC.FM"},   {ControlKind::slider, 504, "EF2.Cutoff"},
      {ControlKind::slider, 539, "EF2.Smooth"},   {ControlKind::slider, 597, "Dry2Filter"},
      {ControlKind::slider, 632, "Dry"},          {ControlKind::button, 264, "FilterType"},
  };
  Ferrowin effect(host);
  int32_t bound = 0;
  for (int32_t row = 0; row < EditorLayout::kControlCount; ++row) {
    const ControlPlacement& place = EditorLayout::control(row);
    if (place.kind == ControlKind::display) continue;  // each sits under its slider
    for (const auto& p : printed) {
      if (p.kind != place.kind || p.left != place.rect.left) continue;
      char name[kVstMaxParamStrLen * 2] = {};
      effect.getParameterName(place.parameter, name);
      EXPECT_STREQ(name, p.name) << "row " << row;
      ++bound;
    }
  }
  EXPECT_EQ(bound, 20);  // two knobs, fifteen sliders, three buttons
}

}  // namespace

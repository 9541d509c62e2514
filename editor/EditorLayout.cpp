#include "EditorLayout.h"

#include <array>

namespace {

// The window's columns of sliders: each group's sliders stand 35 pixels apart from the
// group's left edge, 16 x 160 at top 160, with a 30 x 14 display at top 326 under each.
// Knobs are 32 x 32 at top 44; the filter-type buttons 26 x 18, stacked without gaps.
constexpr int32_t kColumnStep = 35;
constexpr gui::CPoint kSliderSize{16, 160};
constexpr gui::CPoint kDisplaySize{30, 14};
constexpr gui::CPoint kKnobSize{32, 32};
constexpr gui::CPoint kButtonSize{26, 18};
constexpr int32_t kDisplayTop = 326;
constexpr int32_t kKnobTop = 44;

struct Column {
  int32_t parameter = -1;     // -1: past the group's last column
  float defaultValue = 0.0f;  // of the slider
};

struct SliderGroup {
  int32_t sliderLeft;
  int32_t displayLeft;
  Column columns[6];
};

constexpr SliderGroup kSliderGroups[] = {
    {40, 33, {{kOscAmount, 0.5f}, {kOscNote, 0.5f}, {kOscWave, 0.75f}}},
    {176, 166, {{kNoiseAmount, 0.5f}, {kNoiseColor, 0.5f}}},
    {274, 264, {{kCutoff, 1.0f}, {kResonance, 0.5f}}},
    {364,
     358,
     {{kEf1OscAm, 0.5f},
      {kEf1NoiseAm, 0.5f},
      {kEf1Smooth, 0.5f},
      {kEf2OscFm, 1.0f},
      {kEf2Cutoff, 1.0f},
      {kEf2Smooth, 0.5f}}},
    {597, 591, {{kDry2Filter, 1.0f}, {kDry, 0.5f}}},
};

struct Knob {
  int32_t parameter;
  int32_t left;
};
constexpr Knob kKnobs[] = {{kFilterKeyTrack, 339}, {kOscKeyTrack, 396}};

constexpr gui::CPoint kFilterTypeButtonsTopLeft{264, 40};
constexpr int32_t kFilterTypeButtons = 3;  // upper, middle, lower

constexpr DisplayText textOf(int32_t parameter) {
  if (parameter == kOscNote) return DisplayText::oscNote;
  if (parameter == kOscWave) return DisplayText::oscWave;
  return DisplayText::number;
}

// The rows in creation order: knobs, sliders, buttons, displays.
constexpr std::array<ControlPlacement, EditorLayout::kControlCount> placeControls() {
  std::array<ControlPlacement, EditorLayout::kControlCount> rows{};
  size_t row = 0;
  for (const Knob& knob : kKnobs)
    rows[row++] = {ControlKind::knob, knob.parameter, gui::CRect({knob.left, kKnobTop}, kKnobSize),
                   0.5f, DisplayText::number};
  for (const SliderGroup& group : kSliderGroups)
    for (int32_t c = 0; c < 6 && group.columns[c].parameter >= 0; ++c)
      rows[row++] = {
          ControlKind::slider, group.columns[c].parameter,
          gui::CRect({group.sliderLeft + c * kColumnStep, EditorLayout::kSliderTop}, kSliderSize),
          group.columns[c].defaultValue, DisplayText::number};
  for (int32_t b = 0; b < kFilterTypeButtons; ++b)
    rows[row++] = {
        ControlKind::button, kFilterType,
        gui::CRect({kFilterTypeButtonsTopLeft.x, kFilterTypeButtonsTopLeft.y + b * kButtonSize.y},
                   kButtonSize),
        0.5f, DisplayText::number};
  for (const SliderGroup& group : kSliderGroups)
    for (int32_t c = 0; c < 6 && group.columns[c].parameter >= 0; ++c)
      rows[row++] = {ControlKind::display, group.columns[c].parameter,
                     gui::CRect({group.displayLeft + c * kColumnStep, kDisplayTop}, kDisplaySize),
                     0.5f, textOf(group.columns[c].parameter)};
  return rows;
}

constexpr std::array<ControlPlacement, EditorLayout::kControlCount> kControls = placeControls();

}  // namespace

const ControlPlacement& EditorLayout::control(int32_t row) {
  return kControls[static_cast<size_t>(row)];
}

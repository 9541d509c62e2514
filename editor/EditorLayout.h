// What the editor's window consists of: every control with its kind, parameter, rectangle,
// default and display text, in creation order. The one description of the layout; the editor
// builds its window and its parameter index from it.
#pragma once

#include <cstdint>

#include "CRect.h"
#include "ParameterIndex.h"

enum class ControlKind : int32_t { knob, slider, button, display };

// How a display turns its value into text.
enum class DisplayText : int32_t {
  number,   // the normalized value with two decimals
  oscNote,  // the effect's own text of the oscillator frequency
  oscWave,  // the effect's own waveform name
};

struct ControlPlacement {
  ControlKind kind;
  int32_t parameter;   // the parameter index the control shows (its tag, except displays)
  gui::CRect rect;     // window coordinates, right and bottom exclusive
  float defaultValue;  // what a Ctrl-click restores (knobs and sliders)
  DisplayText text;    // displays only
};

class EditorLayout {
 public:
  static constexpr int32_t kControlCount = 35;

  // Resource ids of the bitmaps.
  static constexpr int32_t kBackgroundBitmap = 128;
  static constexpr int32_t kSliderTrackBitmap = 129;
  static constexpr int32_t kSliderHandleBitmap = 130;
  static constexpr int32_t kButtonBitmap = 131;
  static constexpr int32_t kKnobBitmap = 133;

  static constexpr int32_t kKnobFrames = 32;
  static constexpr int32_t kSliderTop = 160;
  static constexpr int32_t kSliderStyle = 66;  // vertical, value grows upwards

  // The controls in creation order: two knobs, fifteen sliders, the three filter-type buttons
  // (upper, middle, lower), fifteen displays.
  static const ControlPlacement& control(int32_t row);
};

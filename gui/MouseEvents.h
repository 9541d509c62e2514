// Button and modifier bits of mouse events, and what a view answers to a mouse event.
#pragma once

#include <cstdint>

namespace gui {

// A set of the bits below; -1 asks the receiver to read the current state from the frame.
using CButtonState = int32_t;

enum CButton : int32_t {
  kLButton = 1 << 1,
  kMButton = 1 << 2,
  kRButton = 1 << 3,
  kShift = 1 << 4,
  kControl = 1 << 5,
  kAlt = 1 << 6,
  kApple = 1 << 7,  // the command key; never produced on this platform
  kButton4 = 1 << 8,
  kButton5 = 1 << 9,
  kDoubleClick = 1 << 10
};

enum CMouseEventResult : int32_t {
  kMouseEventNotImplemented = 0,  // the view wants the blocking form, mouse()
  kMouseEventHandled = 1,         // the view captures the following moves and the release
  kMouseEventNotHandled = 2,
  // The press is complete: no moves and no release follow, and the mouse is not captured.
  kMouseDownEventHandledButDontNeedMovedOrUpEvents = 3
};

enum CMouseWheelAxis : int32_t { kMouseWheelAxisX = 0, kMouseWheelAxisY = 1 };

// Answer of key operations when no view took the key; any other value means handled.
constexpr int32_t kKeyNotHandled = -1;

}  // namespace gui

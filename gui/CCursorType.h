// Cursor shapes that CFrame::setCursor takes.
#pragma once

#include <cstdint>

namespace gui {

enum CCursorType : int32_t {
  kCursorDefault = 0,
  kCursorWait = 1,
  kCursorHSize = 2,
  kCursorVSize = 3,
  kCursorSizeAll = 4,
  kCursorNESWSize = 5,
  kCursorNWSESize = 6,
  kCursorCopy = 7,
  kCursorNotAllowed = 8,
  kCursorHand = 9
};

}  // namespace gui

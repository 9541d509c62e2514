#include "X11Input.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "../../MouseEvents.h"

namespace gui {
namespace platform {

int32_t buttonsFromState(unsigned int state) {
  int32_t buttons = 0;
  if (state & Button1Mask) buttons |= kLButton;
  if (state & Button2Mask) buttons |= kMButton;
  if (state & Button3Mask) buttons |= kRButton;
  if (state & ShiftMask) buttons |= kShift;
  if (state & ControlMask) buttons |= kControl;
  if (state & Mod1Mask) buttons |= kAlt;
  return buttons;
}

int32_t buttonBit(unsigned int button) {
  switch (button) {
    case Button1:
      return kLButton;
    case Button2:
      return kMButton;
    case Button3:
      return kRButton;
    case 8:
      return kButton4;
    case 9:
      return kButton5;
    default:
      return 0;
  }
}

float wheelNotches(unsigned int button) {
  if (button == Button4) return 1.0f;
  if (button == Button5) return -1.0f;
  return 0.0f;
}

bool keyFromSymbol(unsigned long keySymbol, unsigned int state, VstKeyCode& key) {
  key = VstKeyCode{0, 0, 0};
  if (state & ShiftMask) key.modifier |= MODIFIER_SHIFT;
  if (state & ControlMask) key.modifier |= MODIFIER_CONTROL;
  if (state & Mod1Mask) key.modifier |= MODIFIER_ALTERNATE;
  switch (keySymbol) {
    case XK_Tab:
    case XK_ISO_Left_Tab:  // Shift+Tab on most keyboard maps
      key.virt = VKEY_TAB;
      return true;
    case XK_Left:
      key.virt = VKEY_LEFT;
      return true;
    case XK_Up:
      key.virt = VKEY_UP;
      return true;
    case XK_Right:
      key.virt = VKEY_RIGHT;
      return true;
    case XK_Down:
      key.virt = VKEY_DOWN;
      return true;
    default:
      break;
  }
  // Latin-1 key symbols are their characters.
  if (keySymbol >= 0x20 && keySymbol <= 0xFF) {
    key.character = static_cast<int32_t>(keySymbol);
    return true;
  }
  return false;
}

}  // namespace platform
}  // namespace gui

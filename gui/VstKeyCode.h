// The key record that keys reach the toolkit in. It has the host's layout (character, virtual
// key, modifier: 8 bytes), so an editor can hand a host key over field by field.
#pragma once

#include <cstdint>

namespace gui {

struct VstKeyCode {
  int32_t character;       // the key's character, 0 for keys without one
  unsigned char virt;      // a virtual key (VKEY_...), 0 for plain characters
  unsigned char modifier;  // MODIFIER_... bits
};

// The virtual keys the toolkit acts on.
enum VstVirtualKey : unsigned char {
  VKEY_TAB = 2,
  VKEY_LEFT = 11,
  VKEY_UP = 12,
  VKEY_RIGHT = 13,
  VKEY_DOWN = 14,
};

enum VstModifierKey : unsigned char {
  MODIFIER_SHIFT = 1,
  MODIFIER_ALTERNATE = 2,
  MODIFIER_COMMAND = 4,
  MODIFIER_CONTROL = 8,
};

}  // namespace gui

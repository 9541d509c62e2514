// X11 input in the toolkit's terms: button and modifier bits, wheel notches and key records.
#pragma once

#include <cstdint>

#include "../../VstKeyCode.h"

namespace gui {
namespace platform {

// The toolkit's bits (kLButton ... kAlt) of an event's or the pointer's state mask.
int32_t buttonsFromState(unsigned int state);
// The toolkit's bit of a pressed X button: 1 left, 2 middle, 3 right, 8 and 9 the side
// buttons; 0 for the others (the wheel's 4 to 7).
int32_t buttonBit(unsigned int button);
// Notches of a wheel button: +1 away from the user (4), -1 towards (5); 0 for every other
// button, the sideways wheel's 6 and 7 included.
float wheelNotches(unsigned int button);
// The key record of a key symbol with the event's state mask; false for keys the toolkit
// has no record for (modifier keys alone, function keys).
bool keyFromSymbol(unsigned long keySymbol, unsigned int state, VstKeyCode& key);

}  // namespace platform
}  // namespace gui

// The window procedure of frame windows: paint, mouse and wheel messages become frame calls.
#pragma once

#include <windows.h>

#include <cstdint>

namespace gui {
namespace platform {

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The toolkit's button bits of a mouse message's key flags, with Alt from the key state.
int32_t buttonsFromKeyFlags(WPARAM keyFlags);
// Wheel notches of a wheel message's delta: whole notches of 120, truncated toward zero.
float wheelDistance(WPARAM wParam);

}  // namespace platform
}  // namespace gui

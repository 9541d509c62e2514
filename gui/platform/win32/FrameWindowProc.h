// The window procedure of frame windows: paint, mouse and wheel messages become frame calls.
#pragma once

#include <windows.h>

#include <cstdint>

#include "../../CRect.h"

namespace gui {
namespace platform {

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws rectangles of a frame window (window pixels) now, on the window's own context, where
// that is the cheaper way; false where they must wait for the window's paint message. They are
// drawn as given: a region would cut rectangles at different heights into bands of many pieces,
// each of which costs a drawing of its own.
//
// Under Wine a paint message costs about seven Wine-server round trips (the caret, the update
// region twice, the visible region), more than drawing the changes themselves, and the window
// shows what was drawn only when its thread next waits, so no half-drawn picture reaches the
// screen. On Windows the compositor may show a window's context while it is being drawn on, and
// it buffers a paint; the changes wait for the paint there.
bool drawRectsNow(HWND window, const CRect* rects, int32_t count);

// The toolkit's button bits of a mouse message's key flags, with Alt from the key state.
int32_t buttonsFromKeyFlags(WPARAM keyFlags);
// Wheel notches of a wheel message's delta: whole notches of 120, truncated toward zero.
float wheelDistance(WPARAM wParam);

}  // namespace platform
}  // namespace gui

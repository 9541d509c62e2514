// What CFrame asks of the platform's windowing: its child window, the cursor, the mouse
// buttons, the tick count, OLE and drop registration. Without a window (null) every call
// that takes one does nothing and answers false, zero or null.
#pragma once

#include <cstdint>

#include "../CPoint.h"
#include "../CRect.h"

namespace gui {

class CFrame;

namespace platform {

// OLE for the calling thread, paired per frame and per editor object.
void initializeOle();
void uninitializeOle();

// Major version of the operating system; above 5 windows are composited and painted directly.
int32_t getSystemMajorVersion();
// Milliseconds since the system started.
uint32_t getTicks();
// A number that names the calling thread while it runs; never 0.
uint64_t currentThreadId();

CPoint getCursorScreenPosition();
// The toolkit's button bits (kLButton ... kAlt) from the asynchronous key states, with the
// system's swapped-button setting applied.
int32_t getCurrentMouseButtons();

void* getCurrentCursor();
// type: kCursorDefault ... kCursorHand; unknown types and kCursorCopy give defaultCursor.
void setCursor(int32_t type, void* defaultCursor);
void restoreCursor(void* cursor);

// Registers the window class on first use and makes the frame's child window at (0,0) of
// parent with the frame stored in its user data; null without a parent.
void* createFrameWindow(CFrame* frame, void* parent, int32_t width, int32_t height);
// Clears the user data, destroys the window and unregisters the class after the last one.
void destroyFrameWindow(void* window);
// The frame's window was destroyed from outside (with its parent): the frame gives up the use
// of the window class that the window held.
void releaseLostFrameWindow();
// Asks for a repaint of that part of the window, with erasing.
void invalidateWindowRect(void* window, const CRect& rect);
// The same for count rectangles, in one request where the system allows it. Where a paint
// message costs more than the drawing (Win32 under Wine), they may be drawn before it returns.
void invalidateWindowRects(void* window, const CRect* rects, int32_t count);
// The host's idle time: on systems whose windows get no messages from the host's own loop
// (X11), handles the window's pending input and paints what waits to be painted; elsewhere
// nothing.
void serviceWindow(void* window);
CPoint getWindowScreenOrigin(void* window);
// The window as the system names it to other programs (an X11 window id, a window handle),
// for hosts that embed it; 0 without one.
uintptr_t getSystemWindowId(void* window);

// Registers a new drop target that serves frame; answers it (owned by OLE) or null.
void* registerDropTarget(void* window, CFrame* frame);
void revokeDropTarget(void* window);

// From the frame window upwards, the first window with a caption or border, without parent,
// or whose parent differs from the frame window by more than 60 pixels in width or height.
void* getOuterWindow(void* window);
// Top-left of window in its parent's client coordinates.
bool getPositionInParent(void* window, CPoint& position);
// The screen rectangle of window's parent, moved into its grandparent's client coordinates.
bool getParentRect(void* window, CRect& rect);
// Grows or shrinks the frame window and its ancestors up to the host's outer window so that
// the frame window gets width x height.
bool resizeWindowChain(void* window, int32_t width, int32_t height);

// Pixels per inch of the monitor that shows window (the primary one for null) over 96, where
// the process is told real pixels; 1 where the system scales the window itself.
float getDisplayScale(void* window);
// Shows a menu of count items at a point of window (window pixels), with item checked marked
// (-1: none), and waits for the choice; the index chosen, or -1 when the menu was dismissed.
int32_t popUpMenu(void* window, const CPoint& windowPixel, const char* const* items, int32_t count,
                  int32_t checked);
}  // namespace platform
}  // namespace gui

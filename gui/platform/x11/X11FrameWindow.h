// A frame's child window on X11, on a display connection of its own: it turns the window's
// events into frame calls at the host's idle time and keeps the back buffer that every drawing
// on the window goes to, so that the window only ever shows finished pictures.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <cstdint>

#include "../../CCursorType.h"
#include "../../CPoint.h"
#include "../../CRect.h"

namespace gui {

class CFrame;

namespace platform {

class X11FrameWindow {
 public:
  // Null when no display can be opened or parent is no window of it.
  static X11FrameWindow* create(CFrame* frame, Window parent, int32_t width, int32_t height);
  // Destroys the window unless it is gone already, and closes the connection; inside the
  // window's own event handling this waits until the handling is over.
  static void destroy(X11FrameWindow* window);
  X11FrameWindow(const X11FrameWindow&) = delete;
  X11FrameWindow& operator=(const X11FrameWindow&) = delete;

  // Handles the pending events and paints what they and invalidate asked for. Nested inside
  // the window's own event handling (a press that waits for its release), only paints.
  void service();
  // Paints now whatever waits to be painted; false when nothing did.
  bool paintPending();
  void invalidate(const CRect& rect);

  // The back buffer in window pixels; null once the window is gone.
  cairo_surface_t* backBuffer() const { return buffer; }
  // Copies that part of the back buffer to the window.
  void present(const CRect& area);

  CPoint screenOrigin();
  // Answers the toolkit's button bits; false when the server does not answer.
  bool queryPointer(CPoint& screen, int32_t& buttons);
  // kCursorDefault ... kCursorHand; unknown types give the parent's cursor.
  void showCursor(int32_t type);
  bool resize(int32_t width, int32_t height);

  // The window that last saw the pointer, else the newest live one; null when none is open.
  static X11FrameWindow* current();
  static bool paintAnyPending();

 private:
  X11FrameWindow(CFrame* frame, Display* display, Window parent);
  ~X11FrameWindow();
  bool build(int32_t width, int32_t height);
  void handle(XEvent& event);
  void handleButton(const XButtonEvent& event, bool press);
  void handleKey(XKeyEvent& event, bool press);
  void lose();

  CFrame* frame;
  Display* display;
  Window parent;
  Window window = 0;
  Visual* visual = nullptr;
  cairo_surface_t* buffer = nullptr;
  cairo_surface_t* surface = nullptr;  // the window's own
  CRect damage;
  int32_t depth = 0;                     // nesting of service() calls
  bool condemned = false;                // destroyed while its events were being handled
  Cursor cursors[kCursorHand + 1] = {};  // font cursors by toolkit cursor type, on first use
  unsigned int lastPressButton = 0;
  Time lastPressTime = 0;
  CPoint lastPressAt;
};

}  // namespace platform
}  // namespace gui

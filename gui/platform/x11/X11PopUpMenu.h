// A small pop-up menu on X11 for the editor (its scale menu): an override-redirect window under
// the pointer that holds the pointer and keyboard until an item is chosen or the menu is
// dismissed. The pointer picks on release after it moved or pressed inside; the arrow keys and
// Return pick too; Escape, or a press outside, dismisses.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <cstdint>

#include "../../CPoint.h"

namespace gui {
namespace platform {

class X11PopUpMenu {
 public:
  // items: count texts that outlive the menu; checked: the item marked (-1: none); scale:
  // device pixels per pixel of the editor, so that the menu grows with it.
  X11PopUpMenu(Display* display, const char* const* items, int32_t count, int32_t checked,
               float scale);
  X11PopUpMenu(const X11PopUpMenu&) = delete;
  X11PopUpMenu& operator=(const X11PopUpMenu&) = delete;

  // Shows the menu just below and right of screen (screen pixels) and waits; the index chosen,
  // or -1 when dismissed or the menu cannot be shown.
  int32_t run(const CPoint& screen);

 private:
  void draw(cairo_surface_t* surface) const;
  // The item at a point of the menu; -1 outside every item.
  int32_t itemAt(int x, int y) const;

  Display* display;
  const char* const* items;
  int32_t count;
  int32_t checked;
  int32_t highlighted = -1;
  int itemHeight;
  int width;
  double fontPx;
};

}  // namespace platform
}  // namespace gui

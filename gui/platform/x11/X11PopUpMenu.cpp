#include "X11PopUpMenu.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo-xlib.h>
#include <poll.h>

#include <algorithm>
#include <cmath>

#include "X11ErrorTrap.h"

namespace gui {
namespace platform {

namespace {

// At 100 %, in pixels: the height of an item, the menu's width and the text's size.
constexpr double kItemHeight = 20.0;
constexpr double kWidth = 80.0;
constexpr double kFontPx = 12.0;
constexpr double kTextIndent = 22.0;  // room for the check mark on the left
constexpr double kMarkInset = 7.0;
// How long a poll waits before the loop looks at the connection again, in milliseconds.
constexpr int kPollMs = 100;
// The title that names the menu to window tools.
constexpr const char* kTitle = "Ferrowin menu";

constexpr long kMenuEvents = ExposureMask | StructureNotifyMask | KeyPressMask;
constexpr unsigned int kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

}  // namespace

X11PopUpMenu::X11PopUpMenu(Display* display, const char* const* items, int32_t count,
                           int32_t checked, float scale)
    : display(display),
      items(items),
      count(count),
      checked(checked),
      itemHeight(static_cast<int>(std::lround(kItemHeight * scale))),
      width(static_cast<int>(std::lround(kWidth * scale))),
      fontPx(kFontPx * scale) {}

int32_t X11PopUpMenu::itemAt(int x, int y) const {
  if (x < 0 || x >= width || y < 0 || itemHeight <= 0) return -1;
  const int index = y / itemHeight;
  return index < count ? index : -1;
}

void X11PopUpMenu::draw(cairo_surface_t* surface) const {
  // Drawn in memory and copied, as the editor's window is: text drawn on the server itself
  // leaves glyph caches behind on the connection.
  const int height = itemHeight * count;
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(picture);
  cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
  cairo_paint(cr);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, fontPx);
  const double scale = fontPx / kFontPx;
  for (int32_t i = 0; i < count; ++i) {
    const double top = static_cast<double>(itemHeight) * i;
    if (i == highlighted) {
      cairo_set_source_rgb(cr, 0.2, 0.4, 0.75);
      cairo_rectangle(cr, 0, top, width, itemHeight);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 1, 1, 1);
    } else {
      cairo_set_source_rgb(cr, 0, 0, 0);
    }
    if (i == checked) {
      cairo_arc(cr, kTextIndent * scale / 2.0, top + itemHeight / 2.0,
                (kTextIndent / 2.0 - kMarkInset) * scale, 0.0, 2.0 * M_PI);
      cairo_fill(cr);
    }
    cairo_move_to(cr, kTextIndent * scale, top + (itemHeight + fontPx * 0.7) / 2.0);
    cairo_show_text(cr, items[i]);
  }
  cairo_set_source_rgb(cr, 0.4, 0.4, 0.4);
  cairo_set_line_width(cr, 1.0);
  cairo_rectangle(cr, 0.5, 0.5, width - 1.0, height - 1.0);
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_t* shown = cairo_create(surface);
  cairo_set_operator(shown, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(shown, picture, 0, 0);
  cairo_paint(shown);
  cairo_destroy(shown);
  cairo_surface_destroy(picture);
  cairo_surface_flush(surface);
}

int32_t X11PopUpMenu::run(const CPoint& screen) {
  if (!display || !items || count <= 0 || itemHeight <= 0 || width <= 0) return -1;
  X11ErrorTrap trap(display);
  const int screenNumber = DefaultScreen(display);
  const int height = itemHeight * count;
  // One pixel off the pointer, so that the release of the press that opened it picks nothing.
  const int x =
      std::min(static_cast<int>(screen.x) + 1, DisplayWidth(display, screenNumber) - width);
  const int y =
      std::min(static_cast<int>(screen.y) + 1, DisplayHeight(display, screenNumber) - height);
  XSetWindowAttributes attributes = {};
  attributes.override_redirect = True;
  attributes.event_mask = kMenuEvents;
  const Window menu =
      XCreateWindow(display, DefaultRootWindow(display), std::max(x, 0), std::max(y, 0),
                    static_cast<unsigned>(width), static_cast<unsigned>(height), 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
  if (trap.failed()) return -1;
  XStoreName(display, menu, kTitle);
  XMapRaised(display, menu);
  cairo_surface_t* surface =
      cairo_xlib_surface_create(display, menu, DefaultVisual(display, screenNumber), width, height);

  int32_t chosen = -1;
  bool grabbed = false;
  bool engaged = false;  // the pointer moved or pressed inside since the menu showed
  bool done = false;
  while (!done) {
    // The editor's own events stay queued for its next idle.
    XEvent event;
    if (!XCheckWindowEvent(display, menu, kMenuEvents | kGrabEvents, &event)) {
      pollfd connection = {ConnectionNumber(display), POLLIN, 0};
      poll(&connection, 1, kPollMs);
      if ((connection.revents & (POLLERR | POLLHUP)) != 0) break;
      continue;
    }
    switch (event.type) {
      case MapNotify:
        // Only a window on the screen can hold the pointer; without the grab the menu cannot
        // see a press outside, so it is not shown at all.
        grabbed = XGrabPointer(display, menu, False, kGrabEvents, GrabModeAsync, GrabModeAsync,
                               None, None, CurrentTime) == GrabSuccess;
        XGrabKeyboard(display, menu, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        done = !grabbed;
        break;
      case Expose:
        if (event.xexpose.count == 0) draw(surface);
        break;
      case MotionNotify: {
        const int32_t under = itemAt(event.xmotion.x, event.xmotion.y);
        engaged = engaged || under >= 0;
        if (under != highlighted) {
          highlighted = under;
          draw(surface);
        }
        break;
      }
      case ButtonPress:
        if (itemAt(event.xbutton.x, event.xbutton.y) < 0)
          done = true;
        else
          engaged = true;
        break;
      case ButtonRelease: {
        const int32_t under = itemAt(event.xbutton.x, event.xbutton.y);
        if (engaged && under >= 0) {
          chosen = under;
          done = true;
        }
        break;
      }
      case KeyPress: {
        const KeySym key = XLookupKeysym(&event.xkey, 0);
        if (key == XK_Escape) {
          done = true;
        } else if (key == XK_Return || key == XK_KP_Enter) {
          chosen = highlighted;
          done = highlighted >= 0;
        } else if (key == XK_Down || key == XK_Up) {
          const int32_t step = key == XK_Down ? 1 : count - 1;
          highlighted =
              highlighted < 0 ? (key == XK_Down ? 0 : count - 1) : (highlighted + step) % count;
          draw(surface);
        }
        break;
      }
      default:
        break;
    }
  }
  if (grabbed) {
    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
  }
  cairo_surface_destroy(surface);
  XDestroyWindow(display, menu);
  XFlush(display);
  return chosen;
}

}  // namespace platform
}  // namespace gui

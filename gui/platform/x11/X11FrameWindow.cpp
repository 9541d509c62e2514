#include "X11FrameWindow.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <cairo-xlib.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "../../CCursorType.h"
#include "../../CDrawContext.h"
#include "../../CFrame.h"
#include "../../MouseEvents.h"
#include "X11ErrorTrap.h"
#include "X11Input.h"
#include "X11PopUpMenu.h"

namespace gui {
namespace platform {

namespace {

// Every open window of the process, newest last; the UI thread alone uses the list.
std::vector<X11FrameWindow*>& liveWindows() {
  static std::vector<X11FrameWindow*> windows;
  return windows;
}
X11FrameWindow* pointerWindow = nullptr;

// Two presses of one button count as a double click within the time and distance that a
// desktop's defaults allow.
constexpr Time kDoubleClickMs = 500;
constexpr int32_t kDoubleClickPixels = 4;
// Damage far apart is painted as its pieces, not as the box around them, up to this many;
// beyond, the pieces merge into one.
constexpr size_t kMostDamagePieces = 8;

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | KeyReleaseMask | StructureNotifyMask | EnterWindowMask |
                            LeaveWindowMask;

unsigned int cursorShape(int32_t type) {
  switch (type) {
    case kCursorWait:
      return XC_watch;
    case kCursorHSize:
      return XC_sb_h_double_arrow;
    case kCursorVSize:
      return XC_sb_v_double_arrow;
    case kCursorSizeAll:
      return XC_fleur;
    case kCursorNESWSize:
      return XC_bottom_left_corner;
    case kCursorNWSESize:
      return XC_bottom_right_corner;
    case kCursorNotAllowed:
      return XC_X_cursor;
    case kCursorHand:
      return XC_hand2;
    default:
      return XC_num_glyphs;  // none: the parent's cursor
  }
}

}  // namespace

X11FrameWindow::X11FrameWindow(CFrame* frame, Display* display, Window parent)
    : frame(frame), display(display), parent(parent) {}

X11FrameWindow* X11FrameWindow::create(CFrame* frame, Window parent, int32_t width,
                                       int32_t height) {
  if (!parent || width <= 0 || height <= 0) return nullptr;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  auto* created = new X11FrameWindow(frame, display, parent);
  if (!created->build(width, height)) {
    delete created;
    return nullptr;
  }
  liveWindows().push_back(created);
  return created;
}

bool X11FrameWindow::build(int32_t width, int32_t height) {
  X11ErrorTrap trap(display);
  XWindowAttributes parentAttributes = {};
  if (!XGetWindowAttributes(display, parent, &parentAttributes) || trap.failed()) return false;
  visual = parentAttributes.visual;
  XSetWindowAttributes attributes = {};
  attributes.event_mask = kEventMask;
  attributes.background_pixmap = None;  // the back buffer covers every pixel
  attributes.bit_gravity = NorthWestGravity;
  window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width),
                         static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                         CopyFromParent, CWEventMask | CWBackPixmap | CWBitGravity, &attributes);
  if (trap.failed()) {
    window = 0;
    return false;
  }
  XMapWindow(display, window);
  buffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  surface = cairo_xlib_surface_create(display, window, visual, width, height);
  damage.assign(1, CRect(0, 0, width, height));
  return !trap.failed() && cairo_surface_status(buffer) == CAIRO_STATUS_SUCCESS &&
         cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
}

X11FrameWindow::~X11FrameWindow() {
  auto& windows = liveWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
  if (pointerWindow == this) pointerWindow = nullptr;
  {
    X11ErrorTrap trap(display);
    if (surface) cairo_surface_destroy(surface);
    if (buffer) cairo_surface_destroy(buffer);
    for (Cursor cursor : cursors)
      if (cursor) XFreeCursor(display, cursor);
    // A window the host destroyed with its own answers BadWindow here, which the trap takes.
    if (window) XDestroyWindow(display, window);
  }
  XCloseDisplay(display);
}

void X11FrameWindow::destroy(X11FrameWindow* window) {
  if (!window) return;
  if (window->depth > 0) {
    window->frame = nullptr;
    window->condemned = true;
    return;
  }
  delete window;
}

void X11FrameWindow::lose() {
  // The host destroyed its window, and this one with it: the frame lives on, without window.
  if (surface) cairo_surface_destroy(surface);
  if (buffer) cairo_surface_destroy(buffer);
  surface = buffer = nullptr;
  window = 0;
  CFrame* told = frame;
  frame = nullptr;
  condemned = true;
  if (told) told->windowDestroyed();
}

void X11FrameWindow::service() {
  ++depth;
  {
    X11ErrorTrap trap(display);
    XEvent event;
    if (depth == 1) {
      while (frame && window && XPending(display) > 0) {
        XNextEvent(display, &event);
        handle(event);
      }
    } else {
      // A press that waits for its release runs its own loop: input stays queued for later.
      while (window && XCheckTypedWindowEvent(display, window, Expose, &event)) handle(event);
    }
  }
  paintPending();
  if (--depth == 0 && condemned) delete this;
}

void X11FrameWindow::handle(XEvent& event) {
  switch (event.type) {
    case Expose: {
      const XExposeEvent& e = event.xexpose;
      invalidate(CRect(e.x, e.y, e.x + e.width, e.y + e.height));
      break;
    }
    case ButtonPress:
    case ButtonRelease:
      pointerWindow = this;
      handleButton(event.xbutton, event.type == ButtonPress);
      break;
    case MotionNotify: {
      pointerWindow = this;
      // Of moves that follow each other only the newest matters; a move after a press or a
      // release keeps its place behind it.
      XEvent next;
      while (XPending(display) > 0 && XPeekEvent(display, &next) && next.type == MotionNotify &&
             next.xmotion.window == window)
        XNextEvent(display, &event);
      CPoint where = frame->fromWindowPixels(CPoint(event.xmotion.x, event.xmotion.y));
      frame->onMouseMoved(where, buttonsFromState(event.xmotion.state));
      break;
    }
    case EnterNotify:
      pointerWindow = this;
      break;
    case LeaveNotify: {
      // The pointer left for another window: the hover and focus marks go with it. A leave
      // caused by a grab (ours during a press) is not the pointer leaving.
      if (event.xcrossing.mode != NotifyNormal) break;
      CPoint where = frame->fromWindowPixels(CPoint(event.xcrossing.x, event.xcrossing.y));
      frame->onMouseExited(where, 0);
      break;
    }
    case KeyPress:
    case KeyRelease:
      handleKey(event.xkey, event.type == KeyPress);
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == window) lose();
      break;
    default:
      break;
  }
}

void X11FrameWindow::handleButton(const XButtonEvent& event, bool press) {
  CPoint where = frame->fromWindowPixels(CPoint(event.x, event.y));
  const int32_t modifiers = buttonsFromState(event.state) & (kShift | kControl | kAlt);
  const float notches = wheelNotches(event.button);
  if (notches != 0.0f) {
    if (press) frame->onWheel(where, notches, modifiers);
    return;
  }
  const int32_t bit = buttonBit(event.button);
  if (bit == 0) return;
  // The state names the buttons held before this event: the press adds its button, the
  // release takes it away.
  const int32_t held = buttonsFromState(event.state) & ~(kShift | kControl | kAlt);
  if (!press) {
    frame->onMouseUp(where, ((held & ~bit) | modifiers));
    return;
  }
  int32_t buttons = held | bit | modifiers;
  // The distance in window pixels, as the hand moves the same at any scale.
  const bool again = event.button == lastPressButton &&
                     event.time - lastPressTime <= kDoubleClickMs &&
                     std::abs(event.x - lastPressAt.x) <= kDoubleClickPixels &&
                     std::abs(event.y - lastPressAt.y) <= kDoubleClickPixels;
  if (again) buttons |= kDoubleClick;
  lastPressButton = again ? 0 : event.button;
  lastPressTime = event.time;
  lastPressAt = CPoint(event.x, event.y);
  frame->onMouseDown(where, buttons);
}

void X11FrameWindow::handleKey(XKeyEvent& event, bool press) {
  KeySym symbol = NoSymbol;
  char text[8];
  XLookupString(&event, text, sizeof(text), &symbol, nullptr);
  VstKeyCode key{};
  if (!keyFromSymbol(symbol, event.state, key)) return;
  if (press)
    frame->onKeyDown(key);
  else
    frame->onKeyUp(key);
}

void X11FrameWindow::invalidate(const CRect& rect) {
  if (rect.isEmpty()) return;
  // A piece that overlaps or touches another joins it; what it then reaches joins too.
  CRect joined = rect;
  for (auto it = damage.begin(); it != damage.end();) {
    if (it->rectOverlap(joined)) {
      joined.unite(*it);
      damage.erase(it);
      it = damage.begin();
    } else {
      ++it;
    }
  }
  damage.push_back(joined);
  if (damage.size() <= kMostDamagePieces) return;
  CRect all = damage.front();
  for (const CRect& piece : damage) all.unite(piece);
  damage.assign(1, all);
}

bool X11FrameWindow::paintPending() {
  if (damage.empty() || !frame || !buffer) return false;
  const std::vector<CRect> pieces = std::move(damage);
  damage.clear();
  for (const CRect& piece : pieces) {
    if (!frame) break;  // a paint may end in the host's close
    auto* context = new CDrawContext(frame, nullptr, this);
    frame->drawRect(context, frame->fromWindowPixels(piece));
    context->forget();  // its surface presents what it drew
  }
  return true;
}

int32_t X11FrameWindow::popUpMenu(const CPoint& windowPixel, const char* const* items,
                                  int32_t count, int32_t checked) {
  if (!window || !frame) return -1;
  X11PopUpMenu menu(display, items, count, checked, frame->getScale());
  return menu.run(screenOrigin() + windowPixel);
}

void X11FrameWindow::present(const CRect& area) {
  if (!surface || !buffer || area.isEmpty()) return;
  X11ErrorTrap trap(display);
  cairo_t* cr = cairo_create(surface);
  cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, buffer, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  XFlush(display);
}

CPoint X11FrameWindow::screenOrigin() {
  if (!window) return CPoint();
  X11ErrorTrap trap(display);
  int x = 0;
  int y = 0;
  Window child = 0;
  if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
    return CPoint();
  return CPoint(x, y);
}

bool X11FrameWindow::queryPointer(CPoint& screen, int32_t& buttons) {
  X11ErrorTrap trap(display);
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int x = 0;
  int y = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y,
                     &mask))
    return false;
  screen = CPoint(rootX, rootY);
  buttons = buttonsFromState(mask);
  return true;
}

void X11FrameWindow::showCursor(int32_t type) {
  if (!window) return;
  X11ErrorTrap trap(display);
  const unsigned int shape = cursorShape(type);
  if (shape == XC_num_glyphs || type < 0 || type >= static_cast<int32_t>(std::size(cursors))) {
    XUndefineCursor(display, window);
  } else {
    Cursor& cursor = cursors[type];
    if (!cursor) cursor = XCreateFontCursor(display, shape);
    XDefineCursor(display, window, cursor);
  }
  XFlush(display);
}

bool X11FrameWindow::resize(int32_t width, int32_t height) {
  if (!window || width <= 0 || height <= 0) return false;
  X11ErrorTrap trap(display);
  XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  cairo_surface_t* resized = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (cairo_surface_status(resized) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(resized);
    return false;
  }
  cairo_surface_destroy(buffer);
  buffer = resized;
  cairo_xlib_surface_set_size(surface, width, height);
  damage.assign(1, CRect(0, 0, width, height));
  return !trap.failed();
}

X11FrameWindow* X11FrameWindow::current() {
  if (pointerWindow) return pointerWindow;
  const auto& windows = liveWindows();
  return windows.empty() ? nullptr : windows.back();
}

bool X11FrameWindow::paintAnyPending() {
  for (X11FrameWindow* window : liveWindows()) {
    X11ErrorTrap trap(window->display);
    XEvent event;
    while (window->window &&
           XCheckTypedWindowEvent(window->display, window->window, Expose, &event))
      window->handle(event);
    if (window->paintPending()) return true;
  }
  return false;
}

}  // namespace platform
}  // namespace gui

// The frame's window layer on X11: child windows on a connection of their own, the pointer,
// cursors and the clock. X11 has no OLE and no drop layer of the toolkit's kind: those calls
// do nothing and drops are refused.
#include <pthread.h>

#include <chrono>
#include <thread>

#include "../GraphicsSystem.h"
#include "../PlatformIdle.h"
#include "../PlatformWindow.h"
#include "X11FrameWindow.h"

namespace gui {
namespace platform {

namespace {

X11FrameWindow* asWindow(void* window) { return static_cast<X11FrameWindow*>(window); }

// What getCurrentCursor answers: the parent window's cursor, which restoreCursor brings back.
int parentCursorMarker;

// Windows from this major version on are composited; X11 windows here are drawn through
// their back buffer, which the frame then needs not keep.
constexpr int32_t kCompositedSystemVersion = 6;

}  // namespace

uintptr_t startGraphicsSystem() { return 1; }
void stopGraphicsSystem(uintptr_t /*token*/) {}

void initializeOle() {}
void uninitializeOle() {}
int32_t getSystemMajorVersion() { return kCompositedSystemVersion; }

uint32_t getTicks() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint64_t currentThreadId() {
  // A thread's handle is the address of its control block: never 0.
  return static_cast<uint64_t>(pthread_self());
}

void sleepMilliseconds(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool dispatchOnePaintMessage() { return X11FrameWindow::paintAnyPending(); }

CPoint getCursorScreenPosition() {
  CPoint screen;
  int32_t buttons = 0;
  if (X11FrameWindow* window = X11FrameWindow::current()) window->queryPointer(screen, buttons);
  return screen;
}

int32_t getCurrentMouseButtons() {
  CPoint screen;
  int32_t buttons = 0;
  if (X11FrameWindow* window = X11FrameWindow::current()) window->queryPointer(screen, buttons);
  return buttons;
}

void* getCurrentCursor() { return &parentCursorMarker; }

void setCursor(int32_t type, void* /*defaultCursor*/) {
  if (X11FrameWindow* window = X11FrameWindow::current()) window->showCursor(type);
}

void restoreCursor(void* /*cursor*/) {
  if (X11FrameWindow* window = X11FrameWindow::current()) window->showCursor(-1);
}

void* createFrameWindow(CFrame* frame, void* parent, int32_t width, int32_t height) {
  // The host hands over its window's X11 id in the pointer.
  return X11FrameWindow::create(frame, reinterpret_cast<Window>(parent), width, height);
}

void destroyFrameWindow(void* window) { X11FrameWindow::destroy(asWindow(window)); }

// The window record went with the window itself (see X11FrameWindow::service).
void releaseLostFrameWindow() {}

void invalidateWindowRect(void* window, const CRect& rect) {
  if (window) asWindow(window)->invalidate(rect);
}

// The window gathers its damage itself until it paints.
void invalidateWindowRects(void* window, const CRect* rects, int32_t count) {
  for (int32_t i = 0; i < count; ++i) invalidateWindowRect(window, rects[i]);
}

void serviceWindow(void* window) {
  if (window) asWindow(window)->service();
}

CPoint getWindowScreenOrigin(void* window) {
  return window ? asWindow(window)->screenOrigin() : CPoint();
}

uintptr_t getSystemWindowId(void* window) { return window ? asWindow(window)->id() : 0; }

void* registerDropTarget(void* /*window*/, CFrame* /*frame*/) { return nullptr; }
void revokeDropTarget(void* /*window*/) {}

// The frame's own window: X11 hosts embed the editor directly in the window they made for it,
// at its top-left corner.
void* getOuterWindow(void* window) { return window; }

bool getPositionInParent(void* window, CPoint& position) {
  if (!window) return false;
  position = CPoint();
  return true;
}

bool getParentRect(void* window, CRect& rect) {
  if (!window) return false;
  X11FrameWindow* frameWindow = asWindow(window);
  cairo_surface_t* buffer = frameWindow->backBuffer();
  if (!buffer) return false;
  rect = CRect(0, 0, cairo_image_surface_get_width(buffer), cairo_image_surface_get_height(buffer));
  return true;
}

bool resizeWindowChain(void* window, int32_t width, int32_t height) {
  return window && asWindow(window)->resize(width, height);
}

int32_t popUpMenu(void* window, const CPoint& windowPixel, const char* const* items, int32_t count,
                  int32_t checked) {
  if (!window || !items || count <= 0) return -1;
  return asWindow(window)->popUpMenu(windowPixel, items, count, checked);
}

}  // namespace platform
}  // namespace gui

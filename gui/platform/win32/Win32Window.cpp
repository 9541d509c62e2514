// The frame's window layer on Win32: the child window, cursor, buttons and OLE.
#include <ole2.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "../../CCursorType.h"
#include "../../ModuleHandle.h"
#include "../../MouseEvents.h"
#include "../PlatformWindow.h"
#include "CDropTarget.h"
#include "FrameWindowClass.h"
#include "FrameWindowProc.h"

namespace gui {
namespace platform {

namespace {

HWND asWindow(void* window) { return static_cast<HWND>(window); }

// Screen rectangle of a window's size.
SIZE windowSize(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

void initializeOle() { OleInitialize(nullptr); }
void uninitializeOle() { OleUninitialize(); }

int32_t getSystemMajorVersion() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExA(&version);
  return static_cast<int32_t>(version.dwMajorVersion);
}

uint32_t getTicks() { return GetTickCount(); }

uint64_t currentThreadId() { return GetCurrentThreadId(); }

CPoint getCursorScreenPosition() {
  POINT point = {};
  GetCursorPos(&point);
  return CPoint(point.x, point.y);
}

int32_t getCurrentMouseButtons() {
  // The asynchronous states are those of the physical buttons: the swap is applied here.
  const bool swapped = areButtonsSwapped();
  int32_t buttons = 0;
  if (GetAsyncKeyState(VK_LBUTTON) < 0) buttons |= swapped ? kRButton : kLButton;
  if (GetAsyncKeyState(VK_RBUTTON) < 0) buttons |= swapped ? kLButton : kRButton;
  if (GetAsyncKeyState(VK_MBUTTON) < 0) buttons |= kMButton;
  if (GetAsyncKeyState(VK_SHIFT) < 0) buttons |= kShift;
  if (GetAsyncKeyState(VK_CONTROL) < 0) buttons |= kControl;
  if (GetAsyncKeyState(VK_MENU) < 0) buttons |= kAlt;
  return buttons;
}

// With no cursor set yet (nothing has moved over a window of the thread), the arrow stands in:
// a frame that saved "no cursor" as its default would save the next one it sets instead, and
// later "restore" a wait or resize cursor.
void* getCurrentCursor() {
  HCURSOR cursor = GetCursor();
  return cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
}

void setCursor(int32_t type, void* defaultCursor) {
  LPCWSTR id = nullptr;
  switch (type) {
    case kCursorWait:
      id = IDC_WAIT;
      break;
    case kCursorHSize:
      id = IDC_SIZEWE;
      break;
    case kCursorVSize:
      id = IDC_SIZENS;
      break;
    case kCursorSizeAll:
      id = IDC_SIZEALL;
      break;
    case kCursorNESWSize:
      id = IDC_SIZENESW;
      break;
    case kCursorNWSESize:
      id = IDC_SIZENWSE;
      break;
    case kCursorNotAllowed:
      id = IDC_NO;
      break;
    case kCursorHand:
      id = IDC_HAND;
      break;
    default:
      break;
  }
  SetCursor(id ? LoadCursorW(nullptr, id) : static_cast<HCURSOR>(defaultCursor));
}

void restoreCursor(void* cursor) { SetCursor(static_cast<HCURSOR>(cursor)); }

void* createFrameWindow(CFrame* frame, void* parent, int32_t width, int32_t height) {
  if (!parent) return nullptr;
  const char* className = useFrameWindowClass();
  // Systems from major version 6 composite the window themselves, so it is drawn directly.
  const DWORD exStyle = getSystemMajorVersion() >= 6 ? WS_EX_COMPOSITED : 0;
  HWND window = CreateWindowExA(
      exStyle, className, "Window", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
      width, height, asWindow(parent), nullptr, static_cast<HINSTANCE>(getModuleHandle()), nullptr);
  if (!window) {
    // No window holds the class: its use ends here, not at the frame's destruction.
    unuseFrameWindowClass();
    return nullptr;
  }
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
  return window;
}

void destroyFrameWindow(void* window) {
  if (!window) return;
  SetWindowLongPtrA(asWindow(window), GWLP_USERDATA, 0);
  DestroyWindow(asWindow(window));
  unuseFrameWindowClass();
}

void releaseLostFrameWindow() { unuseFrameWindowClass(); }

void invalidateWindowRect(void* window, const CRect& rect) {
  if (!window) return;
  RECT r = {rect.left, rect.top, rect.right, rect.bottom};
  InvalidateRect(asWindow(window), &r, TRUE);
}

void invalidateWindowRects(void* window, const CRect* rects, int32_t count) {
  if (!window || count <= 0) return;
  if (drawRectsNow(asWindow(window), rects, count)) return;
  // One region, one request: the update region is the same as after one call per rectangle.
  HRGN region = CreateRectRgn(rects[0].left, rects[0].top, rects[0].right, rects[0].bottom);
  HRGN piece = CreateRectRgn(0, 0, 0, 0);
  for (int32_t i = 1; i < count && region && piece; ++i) {
    SetRectRgn(piece, rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    CombineRgn(region, region, piece, RGN_OR);
  }
  if (region && piece) {
    InvalidateRgn(asWindow(window), region, TRUE);
  } else {
    for (int32_t i = 0; i < count; ++i) invalidateWindowRect(window, rects[i]);
  }
  if (piece) DeleteObject(piece);
  if (region) DeleteObject(region);
}

// The host's message loop delivers every message of the window.
void serviceWindow(void* /*window*/) {}

uintptr_t getSystemWindowId(void* window) { return reinterpret_cast<uintptr_t>(window); }

CPoint getWindowScreenOrigin(void* window) {
  RECT rect = {};
  if (!window || !GetWindowRect(asWindow(window), &rect)) return CPoint();
  return CPoint(rect.left, rect.top);
}

void* registerDropTarget(void* window, CFrame* frame) {
  if (!window) return nullptr;
  auto* target = new CDropTarget(frame);
  // OLE's reference keeps the target alive until RevokeDragDrop drops it.
  if (RegisterDragDrop(asWindow(window), target) != S_OK) {
    target->AddRef();
    target->Release();
    return nullptr;
  }
  return target;
}

void revokeDropTarget(void* window) {
  if (window) RevokeDragDrop(asWindow(window));
}

void* getOuterWindow(void* window) {
  HWND frameWindow = asWindow(window);
  if (!frameWindow) return nullptr;
  const SIZE frameSize = windowSize(frameWindow);
  HWND current = frameWindow;
  while (current) {
    HWND parent = GetParent(current);
    if ((GetWindowLongA(current, GWL_STYLE) & WS_CAPTION) || !parent) return current;
    const SIZE parentSize = windowSize(parent);
    if (std::abs(parentSize.cx - frameSize.cx) > 60 || std::abs(parentSize.cy - frameSize.cy) > 60)
      return current;
    current = parent;
  }
  return nullptr;
}

bool getPositionInParent(void* window, CPoint& position) {
  if (!window) return false;
  RECT rect = {};
  GetWindowRect(asWindow(window), &rect);
  POINT topLeft = {rect.left, rect.top};
  if (HWND parent = GetParent(asWindow(window))) ScreenToClient(parent, &topLeft);
  position = CPoint(topLeft.x, topLeft.y);
  return true;
}

bool getParentRect(void* window, CRect& rect) {
  if (!window) return false;
  HWND parent = GetParent(asWindow(window));
  if (!parent) return false;
  RECT screen = {};
  GetWindowRect(parent, &screen);
  POINT topLeft = {screen.left, screen.top};
  if (HWND grandparent = GetParent(parent)) ScreenToClient(grandparent, &topLeft);
  rect = CRect(topLeft.x, topLeft.y, topLeft.x + screen.right - screen.left,
               topLeft.y + screen.bottom - screen.top);
  return true;
}

bool resizeWindowChain(void* window, int32_t width, int32_t height) {
  HWND current = asWindow(window);
  if (!current) return false;
  // Each ancestor is grown by the margin it had around the window below it, up to the host's
  // outer window: its margin is the dialog frame on both sides.
  const int32_t outerMargin = 2 * GetSystemMetrics(SM_CYDLGFRAME);
  int32_t extraX = 0;
  int32_t extraY = 0;
  while (extraX != outerMargin) {
    HWND parent = GetParent(current);
    if (!parent) break;
    char className[32] = {};
    GetClassNameA(parent, className, sizeof(className));
    if (std::strcmp(className, "MDIClient") == 0) break;
    const SIZE before = windowSize(current);
    const SIZE parentSize = windowSize(parent);
    SetWindowPos(current, HWND_TOP, 0, 0, width + extraX, height + extraY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    extraX += parentSize.cx - before.cx;
    extraY += parentSize.cy - before.cy;
    if (extraX > 80 || extraY > 80) return true;
    if (extraX < 0) extraX = 0;
    if (extraY < 0) extraY = 0;
    current = parent;
  }
  SetWindowPos(current, HWND_TOP, 0, 0, width + extraX, height + extraY,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

float getDisplayScale(void* window) {
  // Systems before Windows 10 have no per-monitor answer: the screen's pixels per inch stand in.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  UINT dpi = 0;
  if (dpiForWindow && window) dpi = dpiForWindow(asWindow(window));
  if (dpi == 0) {
    HDC screen = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? static_cast<float>(dpi) / static_cast<float>(USER_DEFAULT_SCREEN_DPI) : 1.0f;
}

int32_t popUpMenu(void* window, const CPoint& windowPixel, const char* const* items, int32_t count,
                  int32_t checked) {
  if (!window || !items || count <= 0) return -1;
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  // Command ids start at 1: TrackPopupMenu answers 0 for a dismissed menu.
  for (int32_t i = 0; i < count; ++i)
    AppendMenuA(menu, MF_STRING | (i == checked ? MF_CHECKED : MF_UNCHECKED),
                static_cast<UINT_PTR>(i + 1), items[i]);
  POINT screen = {windowPixel.x, windowPixel.y};
  ClientToScreen(asWindow(window), &screen);
  const int chosen = TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x,
      screen.y, 0, asWindow(window), nullptr);
  DestroyMenu(menu);
  return chosen > 0 ? chosen - 1 : -1;
}

}  // namespace platform
}  // namespace gui

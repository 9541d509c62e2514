#include "FrameWindowProc.h"

#include <ole2.h>
#include <windowsx.h>

#include <vector>

#include "../../CBitmap.h"
#include "../../CFrame.h"
#include "../../COffscreenContext.h"
#include "../../MouseEvents.h"
#include "Wine.h"

namespace gui {
namespace platform {

namespace {

CPoint pointOf(LPARAM lParam) { return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); }

// A region's rectangles, moved by (dx, dy).
std::vector<CRect> rectsOf(HRGN region, LONG dx, LONG dy) {
  std::vector<CRect> rects;
  const DWORD bytes = GetRegionData(region, 0, nullptr);
  std::vector<unsigned char> buffer(bytes);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (bytes >= sizeof(RGNDATAHEADER) && GetRegionData(region, bytes, data) == bytes) {
    const auto* r = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
      rects.emplace_back(r[i].left + dx, r[i].top + dy, r[i].right + dx, r[i].bottom + dy);
  }
  return rects;
}

// The rectangles of the region being painted: changes far apart (a slider at each end of the
// window) are painted as themselves, not as the box around them. The paint's context holds that
// region already, in screen pixels; asking the window for it again is a round trip to the Wine
// server, two when it has more than a few rectangles. Its box is the paint rectangle, which
// gives the offset to window pixels.
std::vector<CRect> paintRects(HDC dc, const RECT& paintBox) {
  std::vector<CRect> rects;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  RECT box = {};
  if (region && GetRandomRgn(dc, region, SYSRGN) == 1 && GetRgnBox(region, &box) != NULLREGION)
    rects = rectsOf(region, paintBox.left - box.left, paintBox.top - box.top);
  if (region) DeleteObject(region);
  if (rects.empty() && !IsRectEmpty(&paintBox))
    rects.emplace_back(paintBox.left, paintBox.top, paintBox.right, paintBox.bottom);
  return rects;
}

// Draws the frame's rectangles (window pixels) on a context of its window.
void drawRects(HWND window, CFrame* frame, HDC dc, const std::vector<CRect>& rects) {
  if (rects.empty()) return;
  // Older systems do not composite: the frame draws into its back buffer, of which only the
  // painted part is copied to the window.
  COffscreenContext* backBuffer = frame->getBackBuffer();
  CDrawContext* context = backBuffer;
  if (!context) context = new CDrawContext(frame, dc, window);
  CDrawContext* windowContext = backBuffer ? new CDrawContext(frame, dc, window) : nullptr;
  for (const CRect& windowRect : rects) {
    const CRect updateRect = frame->fromWindowPixels(windowRect);
    frame->drawRect(context, updateRect);
    if (windowContext)
      backBuffer->getBitmap()->draw(windowContext, updateRect, updateRect.getTopLeft());
  }
  if (windowContext) windowContext->forget();
  if (!backBuffer) context->forget();
}

void paint(HWND window, CFrame* frame) {
  PAINTSTRUCT paintStruct;
  HDC dc = BeginPaint(window, &paintStruct);
  if (!dc) return;
  drawRects(window, frame, dc, paintRects(dc, paintStruct.rcPaint));
  EndPaint(window, &paintStruct);
}

}  // namespace

bool drawRectsNow(HWND window, const CRect* rects, int32_t count) {
  auto* frame = reinterpret_cast<CFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!frame || frame->getBackBuffer() || !runsUnderWine()) return false;
  // Until the window's first paint, that paint takes the changes with its own, so that a newly
  // shown window is drawn once. Later, asking whether a paint is due (GetUpdateRect) would be a
  // Wine-server request at every idle; when one is (the window was uncovered or resized), the
  // changes are drawn now and again by the paint, to the same pixels.
  if (frame->isFirstDraw()) return false;
  // As GetDC takes it (the window's clipping styles), but kept without a reset on release: the
  // drawing restores what it changed, and under Wine a reset reselects the default font, which
  // asks the X server's resource defaults again (on Xvfb, reading two files), at every idle.
  constexpr DWORD kUseWindowStyles = 0x00010000;  // DCX_USESTYLE
  HDC dc = GetDCEx(window, nullptr, kUseWindowStyles | DCX_NORESETATTRS);
  if (!dc) return false;
  // An idle gives each changed view once; where two rectangles overlap, the part is drawn
  // twice, to the same pixels.
  drawRects(window, frame, dc, std::vector<CRect>(rects, rects + count));
  ReleaseDC(window, dc);
  return true;
}

int32_t buttonsFromKeyFlags(WPARAM keyFlags) {
  int32_t buttons = 0;
  if (keyFlags & MK_LBUTTON) buttons |= kLButton;
  if (keyFlags & MK_RBUTTON) buttons |= kRButton;
  if (keyFlags & MK_MBUTTON) buttons |= kMButton;
  if (keyFlags & MK_XBUTTON1) buttons |= kButton4;
  if (keyFlags & MK_XBUTTON2) buttons |= kButton5;
  if (keyFlags & MK_CONTROL) buttons |= kControl;
  if (keyFlags & MK_SHIFT) buttons |= kShift;
  if (GetKeyState(VK_MENU) < 0) buttons |= kAlt;
  return buttons;
}

float wheelDistance(WPARAM wParam) {
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  return static_cast<float>(delta / WHEEL_DELTA);
}

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* frame = reinterpret_cast<CFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!frame) return DefWindowProcA(window, message, wParam, lParam);

  switch (message) {
    case WM_DESTROY:
      // The host destroyed its window first: the frame lives on, closed. OLE's reference to the
      // drop target must be given up before the window is gone, or the target is never freed.
      RevokeDragDrop(window);
      // Later calls must not reach a dead handle, nor later messages a frame.
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      frame->windowDestroyed();
      break;

    case WM_CAPTURECHANGED:
      // Another window took the mouse: the press it was tracking ends here.
      if (reinterpret_cast<HWND>(lParam) != window) frame->endMouseGesture();
      break;

    case WM_PAINT:
      paint(window, frame);
      return 0;

    case WM_ERASEBKGND:
      return 1;

    case WM_MOUSEMOVE: {
      const CButtonState buttons = buttonsFromKeyFlags(wParam);
      CPoint where = frame->fromWindowPixels(pointOf(lParam));
      // Asks for WM_MOUSELEAVE; the request lapses with each leave, so it is renewed here.
      TRACKMOUSEEVENT leave = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
      TrackMouseEvent(&leave);
      frame->onMouseMoved(where, buttons);
      return 0;
    }

    case WM_MOUSELEAVE: {
      CPoint where;
      frame->getCurrentLocation(where);
      frame->onMouseExited(where, 0);
      return 0;
    }

    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK: {
      CButtonState buttons = buttonsFromKeyFlags(wParam);
      if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
          message == WM_MBUTTONDBLCLK || message == WM_XBUTTONDBLCLK)
        buttons |= kDoubleClick;
      CPoint where = frame->fromWindowPixels(pointOf(lParam));
      if (frame->onMouseDown(where, buttons) == kMouseEventHandled) SetCapture(window);
      return 0;
    }

    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP: {
      const CButtonState buttons = buttonsFromKeyFlags(wParam);
      CPoint where = frame->fromWindowPixels(pointOf(lParam));
      frame->onMouseUp(where, buttons);
      ReleaseCapture();
      return 0;
    }

    case WM_MOUSEWHEEL: {
      CButtonState buttons = 0;
      if (GetKeyState(VK_SHIFT) < 0) buttons |= kShift;
      if (GetKeyState(VK_CONTROL) < 0) buttons |= kControl;
      if (GetKeyState(VK_MENU) < 0) buttons |= kAlt;
      // The message carries screen coordinates, signed: monitors left of or above the primary
      // one have negative ones.
      CPoint where = pointOf(lParam);
      RECT windowRect;
      GetWindowRect(window, &windowRect);
      where.offset(-windowRect.left, -windowRect.top);
      where = frame->fromWindowPixels(where);
      frame->onWheel(where, wheelDistance(wParam), buttons);
      break;
    }

    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace platform
}  // namespace gui

// Opaque text and rectangles on a device context through GDI, placed and measured as Wine's
// GDI+ does: Wine draws such text with ExtTextOutW in a font made from the GDI+ font, and fills
// rectangles as GDI polygons, so this gives the same pixels without the per-call font creation,
// state saving and clip regions that cost most of a display's repaint there. Elsewhere GDI+
// keeps drawing (its rendering differs from GDI's).
#pragma once

#include <cstdint>

#include "../../CRect.h"
#include "GdiplusIncludes.h"

namespace gui {
namespace platform {

class GdiplusFont;

class GdiDevice {
 public:
  // A clip reaching this far on each side is no clip at all.
  static constexpr int32_t kNoClip = 0x40000000;
  static bool isNoClip(const CRect& clip) { return clip.left <= -kNoClip && clip.right >= kNoClip; }

  // True when the process runs under Wine, whose GDI+ draws opaque text and fills through GDI.
  static bool matchesGdiplus();
  // Whether a text can take this path: one line (no line break or tab, which GDI+ lays out
  // itself) and a colour without transparency (GDI+ blends that itself).
  static bool canDraw(const char16_t* text, uint32_t argb);

  // dc is the device context under graphics; the font, colours and mode set on it stay until
  // the destructor, so that the texts and fills of one paint share them, and the destructor
  // restores what they replaced.
  GdiDevice(HDC dc, Gdiplus::GpGraphics* graphics);
  ~GdiDevice();
  GdiDevice(const GdiDevice&) = delete;
  GdiDevice& operator=(const GdiDevice&) = delete;

  // Width in device pixels, as GdipMeasureString gives it for a zero layout rectangle; -1 when
  // the font has no GDI form.
  float measure(const char16_t* text, GdiplusFont& font);
  // Draws with the text's baseline one font ascent below layoutTop, inside clip (device
  // pixels); false when the font has no GDI form.
  bool draw(const char16_t* text, GdiplusFont& font, uint32_t argb, float layoutX, float layoutTop,
            const CRect& clip);
  // Fills the rectangle between the corners, rounded to device pixels as GDI+ rounds them, inside
  // clip with an opaque colour.
  void fill(float left, float top, float right, float bottom, uint32_t argb, const CRect& clip);
  // Draws the one-pixel edges just inside rect (device pixels), inside clip, with an opaque
  // colour.
  void outline(const CRect& rect, uint32_t argb, const CRect& clip);
  // The context's clip changed: a clip this device left on the context follows it, so that
  // GDI+'s own drawing there, which intersects the context's clip with its own, and bitmap copies
  // bounded by the clip meet the same pixels.
  void followClip(const CRect& clip);

 private:
  bool select(GdiplusFont& font);
  void selectBrushColor(uint32_t argb);
  // Under Wine every clip change on a window's context also goes to the X server with the
  // whole visible region, so a clip stays selected until the next one differs.
  void selectClip(const CRect& clip);

  HDC dc;
  Gdiplus::GpGraphics* graphics;
  HGDIOBJ originalFont = nullptr;  // with it, the mode and alignment that text changes
  int originalBkMode = 0;
  UINT originalTextAlign = 0;
  COLORREF originalTextColor = CLR_INVALID;
  COLORREF originalBrushColor = CLR_INVALID;
  HFONT selectedFont = nullptr;
  COLORREF textColor = CLR_INVALID;
  COLORREF brushColor = CLR_INVALID;
  HRGN clipRegion = nullptr;
  bool clipSelected = false;
  CRect selectedClip;
};

}  // namespace platform
}  // namespace gui

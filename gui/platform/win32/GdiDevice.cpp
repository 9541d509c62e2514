#include "GdiDevice.h"

#include <cmath>

#include "GdiplusFont.h"
#include "Wine.h"

namespace gui {
namespace platform {

namespace {

// GDI+'s rounding of device positions: halves go up.
int32_t roundHalfUp(float value) { return static_cast<int32_t>(std::floor(value + 0.5f)); }

// GDI+ leaves a sixth of the em on each side of a line that has no typographic format.
float sideMargin(const GdiplusFont& font) { return static_cast<float>(font.getEmSize() / 6.0); }

COLORREF colorOf(uint32_t argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace

bool GdiDevice::matchesGdiplus() { return runsUnderWine(); }

bool GdiDevice::canDraw(const char16_t* text, uint32_t argb) {
  if (!text || !text[0] || (argb >> 24) != 0xFF) return false;
  for (const char16_t* c = text; *c; ++c)
    if (*c == u'\n' || *c == u'\r' || *c == u'\t') return false;
  return true;
}

GdiDevice::GdiDevice(HDC dc, Gdiplus::GpGraphics* graphics) : dc(dc), graphics(graphics) {}

GdiDevice::~GdiDevice() {
  // The context leaves as it came: one kept without a reset on its release (the frame's idle
  // drawing) may next serve another window.
  if (originalFont) {
    SelectObject(dc, originalFont);
    SetBkMode(dc, originalBkMode);
    SetTextAlign(dc, originalTextAlign);
  }
  if (originalTextColor != CLR_INVALID) SetTextColor(dc, originalTextColor);
  if (originalBrushColor != CLR_INVALID) SetDCBrushColor(dc, originalBrushColor);
  if (clipSelected) SelectClipRgn(dc, nullptr);
  if (clipRegion) DeleteObject(clipRegion);
}

bool GdiDevice::select(GdiplusFont& font) {
  HFONT gdiFont = font.gdiFont(graphics);
  if (!gdiFont) return false;
  if (gdiFont == selectedFont) return true;
  HGDIOBJ previous = SelectObject(dc, gdiFont);
  if (!originalFont) {
    originalFont = previous;
    originalBkMode = SetBkMode(dc, TRANSPARENT);
    originalTextAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  }
  selectedFont = gdiFont;
  return true;
}

float GdiDevice::measure(const char16_t* text, GdiplusFont& font) {
  int32_t extent = 0;
  if (!font.knownWidth(text, extent)) {
    if (!select(font)) return -1.0f;
    const auto* wide = reinterpret_cast<const WCHAR*>(text);
    SIZE size = {0, 0};
    if (!GetTextExtentPoint32W(dc, wide, lstrlenW(wide), &size)) return -1.0f;
    extent = size.cx;
    font.rememberWidth(text, extent);
  }
  // In GDI+'s own float and double steps, so that a centred text lands on the same pixel.
  float width = static_cast<float>(extent);
  width = static_cast<float>(width + sideMargin(font) * 2.0);
  return width;
}

bool GdiDevice::draw(const char16_t* text, GdiplusFont& font, uint32_t argb, float layoutX,
                     float layoutTop, const CRect& clip) {
  if (!select(font)) return false;
  const COLORREF color = colorOf(argb);
  if (color != textColor) {
    const COLORREF previous = SetTextColor(dc, color);
    if (textColor == CLR_INVALID) originalTextColor = previous;
    textColor = color;
  }
  selectClip(clip);
  const float x = layoutX + sideMargin(font);
  const float baseline = layoutTop + static_cast<float>(font.gdiAscent());
  const auto* wide = reinterpret_cast<const WCHAR*>(text);
  ExtTextOutW(dc, roundHalfUp(x), roundHalfUp(baseline), 0, nullptr, wide,
              static_cast<UINT>(lstrlenW(wide)), nullptr);
  return true;
}

void GdiDevice::fill(float left, float top, float right, float bottom, uint32_t argb,
                     const CRect& clip) {
  selectBrushColor(argb);
  selectClip(clip);
  const RECT area = {roundHalfUp(left), roundHalfUp(top), roundHalfUp(right), roundHalfUp(bottom)};
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiDevice::outline(const CRect& rect, uint32_t argb, const CRect& clip) {
  selectBrushColor(argb);
  selectClip(clip);
  // Under Wine each GDI call costs about a microsecond whatever it draws, and FrameRect paints
  // the four edges with half the calls that four fills take; a display's outline is drawn at
  // every change of its value.
  const RECT area = {rect.left, rect.top, rect.right, rect.bottom};
  FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiDevice::selectBrushColor(uint32_t argb) {
  const COLORREF color = colorOf(argb);
  if (color == brushColor) return;
  const COLORREF previous = SetDCBrushColor(dc, color);
  if (brushColor == CLR_INVALID) originalBrushColor = previous;
  brushColor = color;
}

void GdiDevice::followClip(const CRect& clip) {
  if (clipSelected) selectClip(clip);
}

void GdiDevice::selectClip(const CRect& clip) {
  if (isNoClip(clip)) {
    if (clipSelected) SelectClipRgn(dc, nullptr);
    clipSelected = false;
    return;
  }
  if (clipSelected && clip == selectedClip) return;
  if (!clipRegion) clipRegion = CreateRectRgn(0, 0, 0, 0);
  SetRectRgn(clipRegion, clip.left, clip.top, clip.right, clip.bottom);
  SelectClipRgn(dc, clipRegion);
  clipSelected = true;
  selectedClip = clip;
}

}  // namespace platform
}  // namespace gui

#include "GdiplusFont.h"

#include <cstdlib>

#include "../../CFontDesc.h"

namespace gui {
namespace platform {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

GdiplusFont::~GdiplusFont() {
  if (gdi) DeleteObject(gdi);
  if (font) GdipDeleteFont(font);
}

float GdiplusFont::getEmSize() const {
  REAL size = 0.0f;
  if (GdipGetFontSize(font, &size) != Ok) return 0.0f;
  return size;
}

HFONT GdiplusFont::gdiFont(GpGraphics* graphics) {
  if (gdiTried) return gdi;
  gdiTried = true;
  LOGFONTW description = {};
  if (!font || !graphics || GdipGetLogFontW(font, graphics, &description) != Ok) return nullptr;
  HDC measuring = CreateCompatibleDC(nullptr);
  if (!measuring) return nullptr;
  HFONT unscaled = CreateFontIndirectW(&description);
  HGDIOBJ before = SelectObject(measuring, unscaled);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(measuring, &metrics);
  description.lfWidth = metrics.tmAveCharWidth;
  description.lfEscapement = description.lfOrientation = 0;
  gdi = CreateFontIndirectW(&description);
  SelectObject(measuring, gdi);
  GetTextMetricsW(measuring, &metrics);
  ascent = metrics.tmAscent;
  SelectObject(measuring, before);
  DeleteObject(unscaled);
  DeleteDC(measuring);
  return gdi;
}

bool GdiplusFont::knownWidth(const char16_t* text, int32_t& width) const {
  const auto known = widths.find(text);
  if (known == widths.end()) return false;
  width = known->second;
  return true;
}

void GdiplusFont::rememberWidth(const char16_t* text, int32_t width) {
  // A few displays' worth of values; a font used for ever-new texts starts again.
  constexpr size_t kMostWidths = 1024;
  if (widths.size() >= kMostWidths) widths.clear();
  widths.emplace(text, width);
}

PlatformFont* PlatformFont::create(const char* name, int32_t sizePx, int32_t style) {
  wchar_t wideName[200] = {};
  if (name) std::mbstowcs(wideName, name, 199);

  // GDI+ takes one style; underline wins over italic, italic over bold.
  INT gdiplusStyle = FontStyleRegular;
  if (style & kUnderlineFace)
    gdiplusStyle = FontStyleUnderline;
  else if (style & kItalicFace)
    gdiplusStyle = FontStyleItalic;
  else if (style & kBoldFace)
    gdiplusStyle = FontStyleBold;

  // The generic family is GDI+'s own object: it is asked for each time rather than kept, since
  // a pointer kept across a shut-down and restart of GDI+ would be stale.
  GpFontFamily* generic = nullptr;
  GpFontFamily* family = nullptr;
  if (GdipCreateFontFamilyFromName(wideName, nullptr, &family) != Ok || !family) {
    family = nullptr;
    GdipGetGenericFontFamilySansSerif(&generic);
  }
  GpFont* font = nullptr;
  GpFontFamily* first = family ? family : generic;
  if (!first ||
      GdipCreateFont(first, static_cast<REAL>(sizePx), gdiplusStyle, UnitPixel, &font) != Ok) {
    font = nullptr;
    if (!generic) GdipGetGenericFontFamilySansSerif(&generic);
    if (generic &&
        GdipCreateFont(generic, static_cast<REAL>(sizePx), gdiplusStyle, UnitPixel, &font) != Ok)
      font = nullptr;
  }
  if (family) GdipDeleteFontFamily(family);
  if (generic) GdipDeleteFontFamily(generic);
  return font ? new GdiplusFont(font) : nullptr;
}

}  // namespace platform
}  // namespace gui

// A CFontDesc's font as a GDI+ font.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "../PlatformFont.h"
#include "GdiplusIncludes.h"

namespace gui {
namespace platform {

class GdiplusFont : public PlatformFont {
 public:
  explicit GdiplusFont(Gdiplus::GpFont* font) : font(font) {}
  ~GdiplusFont() override;
  GdiplusFont(const GdiplusFont&) = delete;
  GdiplusFont& operator=(const GdiplusFont&) = delete;

  Gdiplus::GpFont* getFont() const { return font; }
  // Size of the em in pixels.
  float getEmSize() const;
  // The GDI font Wine's GDI+ draws this font's text with on graphics: the GDI+ font's own
  // description, its width set to the average character width. Made once; null on failure.
  HFONT gdiFont(Gdiplus::GpGraphics* graphics);
  // Pixels from the top of a line to its baseline in gdiFont.
  int32_t gdiAscent() const { return ascent; }
  // Widths in pixels that GDI measured for texts in gdiFont: a display measures its text to
  // centre it at every change of its value, and under Wine each measurement is a GDI call that
  // may first select the font into the context.
  bool knownWidth(const char16_t* text, int32_t& width) const;
  void rememberWidth(const char16_t* text, int32_t width);

 private:
  Gdiplus::GpFont* font;
  HFONT gdi = nullptr;
  bool gdiTried = false;
  int32_t ascent = 0;
  std::unordered_map<std::u16string, int32_t> widths;
};

}  // namespace platform
}  // namespace gui

// A CFontDesc's font as a GDI+ font.
#pragma once

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

 private:
  Gdiplus::GpFont* font;
};

}  // namespace platform
}  // namespace gui

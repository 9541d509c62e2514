// A CFontDesc's font as a cairo font face of the family fontconfig matches for its name.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "../PlatformFont.h"

namespace gui {
namespace platform {

class CairoFont : public PlatformFont {
 public:
  // Takes ownership of face.
  CairoFont(cairo_font_face_t* face, int32_t sizePx, bool underline)
      : face(face), emPx(sizePx), underline(underline) {}
  ~CairoFont() override;
  CairoFont(const CairoFont&) = delete;
  CairoFont& operator=(const CairoFont&) = delete;

  // Sets the face and its size in pixels (the em square) on cr.
  void select(cairo_t* cr) const;
  bool isUnderlined() const { return underline; }
  int32_t sizePx() const { return emPx; }

 private:
  cairo_font_face_t* face;
  int32_t emPx;
  bool underline;
};

}  // namespace platform
}  // namespace gui

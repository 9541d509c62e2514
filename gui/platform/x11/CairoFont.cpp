#include "CairoFont.h"

#include "../../CFontDesc.h"

namespace gui {
namespace platform {

CairoFont::~CairoFont() { cairo_font_face_destroy(face); }

void CairoFont::select(cairo_t* cr) const {
  cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, emPx);
}

PlatformFont* PlatformFont::create(const char* name, int32_t sizePx, int32_t style) {
  if (sizePx <= 0) return nullptr;
  // One style, as on Windows: underline wins over italic, italic over bold. fontconfig answers
  // an unknown family with its sans-serif one, and Arial with the family of Arial's metrics.
  const bool underline = (style & kUnderlineFace) != 0;
  const bool italic = !underline && (style & kItalicFace) != 0;
  const bool bold = !underline && !italic && (style & kBoldFace) != 0;
  cairo_font_face_t* face =
      cairo_toy_font_face_create(name && *name ? name : "sans-serif",
                                 italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                 bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    return nullptr;
  }
  return new CairoFont(face, sizePx, underline);
}

}  // namespace platform
}  // namespace gui

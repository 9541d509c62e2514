#include "CairoGraphics.h"

#include <string>

#include "CairoFont.h"
#include "CairoImage.h"
#include "X11FrameWindow.h"

namespace gui {
namespace platform {

namespace {

// Every stroke is one pixel wide per unit of width, its pixels centred on the coordinates:
// pixel (x, y) of the window is the unit square from (x, y), its centre half a unit in.
constexpr double kPixelCentre = 0.5;
// A dash of three widths and a gap of one, as the Windows pen's dashed style.
constexpr double kDashOn = 3.0;
constexpr double kDashOff = 1.0;
// Text is laid out as the Windows layer lays it out: its cell's top one font height (the
// font's line spacing) above the row below the bottom line, and a margin of a sixth of the em
// on either side of the glyphs, which widths include.
constexpr double kBottomLineOffset = 1.0;
constexpr double kSideMarginEm = 1.0 / 6.0;

void setSource(cairo_t* cr, const CColor& c) {
  cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}

// UTF-16 (with surrogate pairs) to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(const char16_t* text) {
  std::string out;
  for (const char16_t* p = text; p && *p; ++p) {
    uint32_t code = *p;
    if (code >= 0xD800 && code <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (p[1] - 0xDC00);
      ++p;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace

PlatformGraphics* PlatformGraphics::createForDevice(void* /*systemContext*/, void* window) {
  // X11 has no device contexts: drawing on a window goes to its back buffer.
  auto* frameWindow = static_cast<X11FrameWindow*>(window);
  if (!frameWindow || !frameWindow->backBuffer()) return nullptr;
  return new CairoGraphics(frameWindow->backBuffer(), frameWindow);
}

PlatformGraphics* PlatformGraphics::createForImage(PlatformImage* image) {
  auto* cairoImage = static_cast<CairoImage*>(image);
  if (!cairoImage || !cairoImage->getSurface()) return nullptr;
  return new CairoGraphics(cairoImage->getSurface(), nullptr);
}

CairoGraphics::CairoGraphics(cairo_surface_t* surface, X11FrameWindow* window)
    : cr(cairo_create(surface)), window(window) {
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  // Text in whole pixels, its glyphs fitted to the pixel grid, as the Windows layer draws it
  // on a display without colour sub-pixels.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

CairoGraphics::~CairoGraphics() {
  cairo_destroy(cr);
  if (!window) return;
  if (!clipped) {
    cairo_surface_t* buffer = window->backBuffer();
    if (buffer)
      shown = CRect(0, 0, cairo_image_surface_get_width(buffer),
                    cairo_image_surface_get_height(buffer));
  }
  window->present(shown);
}

void CairoGraphics::setSmoothingNone() { cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE); }

void CairoGraphics::setClip(const CRect& rect) {
  cairo_reset_clip(cr);
  cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
  cairo_clip(cr);
  show(rect);
}

void CairoGraphics::show(const CRect& area) {
  clipped = true;
  if (area.isEmpty()) return;
  if (shown.isEmpty())
    shown = area;
  else
    shown.unite(area);
}

void CairoGraphics::usePen() {
  setSource(cr, penColor);
  cairo_set_line_width(cr, penWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  if (dashStyle == 1) {
    const double dashes[] = {kDashOn * penWidth, kDashOff * penWidth};
    cairo_set_dash(cr, dashes, 2, 0.0);
  } else {
    cairo_set_dash(cr, nullptr, 0, 0.0);
  }
}

void CairoGraphics::drawLine(const CPoint& from, const CPoint& to) {
  usePen();
  cairo_move_to(cr, from.x + kPixelCentre, from.y + kPixelCentre);
  cairo_line_to(cr, to.x + kPixelCentre, to.y + kPixelCentre);
  cairo_stroke(cr);
}

void CairoGraphics::fillRect(float left, float top, float width, float height) {
  setSource(cr, fillColor);
  cairo_rectangle(cr, left, top, width, height);
  cairo_fill(cr);
}

void CairoGraphics::strokeRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  usePen();
  cairo_rectangle(cr, left + kPixelCentre, top + kPixelCentre, width, height);
  cairo_stroke(cr);
}

void CairoGraphics::drawImage(PlatformImage* image, int32_t destX, int32_t destY, int32_t srcX,
                              int32_t srcY, int32_t width, int32_t height, uint8_t alpha) {
  auto* source = static_cast<CairoImage*>(image);
  if (!source || width <= 0 || height <= 0) return;
  cairo_surface_t* pixels = source->getSurface();
  if (!pixels) return;
  cairo_save(cr);
  cairo_rectangle(cr, destX, destY, width, height);
  cairo_clip(cr);
  cairo_set_source_surface(cr, pixels, destX - srcX, destY - srcY);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  if (alpha == 255)
    cairo_paint(cr);
  else
    cairo_paint_with_alpha(cr, alpha / 255.0);
  cairo_restore(cr);
}

float CairoGraphics::measureString(const char16_t* text, PlatformFont* font) {
  auto* cairoFont = static_cast<CairoFont*>(font);
  if (!cairoFont || !text) return -1.0f;
  cairoFont->select(cr);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, toUtf8(text).c_str(), &extents);
  return static_cast<float>(extents.x_advance + 2.0 * kSideMarginEm * cairoFont->sizePx());
}

void CairoGraphics::drawString(const char16_t* text, PlatformFont* font, int32_t x,
                               int32_t bottomY) {
  auto* cairoFont = static_cast<CairoFont*>(font);
  if (!cairoFont || !text) return;
  cairoFont->select(cr);
  cairo_font_extents_t metrics;
  cairo_font_extents(cr, &metrics);
  const std::string utf8 = toUtf8(text);
  const double baseline = bottomY + kBottomLineOffset - metrics.height + metrics.ascent;
  setSource(cr, fontColor);
  const double left = x + kSideMarginEm * cairoFont->sizePx();
  cairo_move_to(cr, left, baseline);
  cairo_show_text(cr, utf8.c_str());
  if (cairoFont->isUnderlined()) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8.c_str(), &extents);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, left, baseline + 1.0 + kPixelCentre);
    cairo_rel_line_to(cr, extents.x_advance, 0.0);
    cairo_stroke(cr);
  }
}

}  // namespace platform
}  // namespace gui

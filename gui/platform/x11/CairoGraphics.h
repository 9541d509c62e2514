// The drawing surface of a context on cairo: on an image, or on a frame window's back buffer,
// whose drawn part goes to the window when the surface ends. Coordinates are window pixels;
// a display scale would be one cairo_scale on the context here, the back buffer made larger.
#pragma once

#include <cairo.h>

#include "../PlatformGraphics.h"

namespace gui {
namespace platform {

class X11FrameWindow;

class CairoGraphics : public PlatformGraphics {
 public:
  // window: where the drawing on surface is shown at the end, or null for an image.
  CairoGraphics(cairo_surface_t* surface, X11FrameWindow* window);
  ~CairoGraphics() override;
  CairoGraphics(const CairoGraphics&) = delete;
  CairoGraphics& operator=(const CairoGraphics&) = delete;

  void setPenColor(const CColor& color) override { penColor = color; }
  void setPenWidth(float width) override { penWidth = width; }
  void setPenDashStyle(int32_t style) override { dashStyle = style; }
  void setFillColor(const CColor& color) override { fillColor = color; }
  void setFontColor(const CColor& color) override { fontColor = color; }
  void setSmoothingNone() override;
  void setClip(const CRect& rect) override;

  void drawLine(const CPoint& from, const CPoint& to) override;
  void fillRect(float left, float top, float width, float height) override;
  void strokeRect(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void drawImage(PlatformImage* image, int32_t destX, int32_t destY, int32_t srcX, int32_t srcY,
                 int32_t width, int32_t height, uint8_t alpha) override;
  float measureString(const char16_t* text, PlatformFont* font) override;
  void drawString(const char16_t* text, PlatformFont* font, int32_t x, int32_t bottomY) override;

 private:
  void usePen();
  void show(const CRect& area);

  cairo_t* cr;
  X11FrameWindow* window;
  CColor penColor;
  CColor fillColor;
  CColor fontColor;
  float penWidth = 1.0f;
  int32_t dashStyle = 0;
  CRect shown;           // the part of the window drawn on so far
  bool clipped = false;  // whether a clip limits the drawing (else all of it may change)
};

}  // namespace platform
}  // namespace gui

// The drawing surface behind a CDrawContext: pen, brushes and the primitive operations, in
// window pixels (offsets are already applied by the caller).
#pragma once

#include <cstdint>

#include "../CColor.h"
#include "../CPoint.h"
#include "../CRect.h"

namespace gui {
namespace platform {

class PlatformFont;
class PlatformImage;

class PlatformGraphics {
 public:
  virtual ~PlatformGraphics() = default;

  // On the device context when given, else on the window's own device context (held until
  // destruction); null with neither: such a context draws nothing.
  static PlatformGraphics* createForDevice(void* systemContext, void* window);
  // On the pixels of an image (off-screen drawing); null when image is null.
  static PlatformGraphics* createForImage(PlatformImage* image);

  virtual void setPenColor(const CColor& color) = 0;
  virtual void setPenWidth(float width) = 0;
  virtual void setPenDashStyle(int32_t style) = 0;
  virtual void setFillColor(const CColor& color) = 0;
  virtual void setFontColor(const CColor& color) = 0;
  // Smoothing off: every pixel is either covered or not.
  virtual void setSmoothingNone() = 0;
  // Replaces the clip with the rectangle.
  virtual void setClip(const CRect& rect) = 0;

  virtual void drawLine(const CPoint& from, const CPoint& to) = 0;
  virtual void fillRect(float left, float top, float width, float height) = 0;
  // The outline through the pixel centres from (left, top) to (left + width, top + height).
  virtual void strokeRect(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
  // Copies the source rectangle (srcX, srcY, width, height) of image to (destX, destY);
  // alpha 0..255 scales the image's own alpha.
  virtual void drawImage(PlatformImage* image, int32_t destX, int32_t destY, int32_t srcX,
                         int32_t srcY, int32_t width, int32_t height, uint8_t alpha) = 0;
  // Stretches the source rectangle of image over the destination rectangle (device pixels);
  // alpha as for drawImage. For images that have no picture at the context's scale.
  virtual void drawImageStretched(PlatformImage* image, const CRect& dest, const CRect& source,
                                  uint8_t alpha) = 0;
  // Width of the bounding box of the UTF-16 text; negative when it cannot be measured.
  virtual float measureString(const char16_t* text, PlatformFont* font) = 0;
  // Draws the UTF-16 text with its bottom line at bottomY.
  virtual void drawString(const char16_t* text, PlatformFont* font, int32_t x, int32_t bottomY) = 0;
};

}  // namespace platform
}  // namespace gui

// A CDrawContext's surface as a GDI+ graphics object with its pen and two brushes.
#pragma once

#include <memory>

#include "../PlatformGraphics.h"
#include "GdiDevice.h"
#include "GdiplusIncludes.h"

namespace gui {
namespace platform {

class GdiplusFont;
class GdiplusImage;

class GdiplusGraphics : public PlatformGraphics {
 public:
  // Takes ownership of graphics (onDevice: drawn on a device context, not an image); ownDc, when
  // not null, is released to window at destruction.
  GdiplusGraphics(Gdiplus::GpGraphics* graphics, HWND window, HDC ownDc, bool onDevice);
  ~GdiplusGraphics() override;
  GdiplusGraphics(const GdiplusGraphics&) = delete;
  GdiplusGraphics& operator=(const GdiplusGraphics&) = delete;

  void setPenColor(const CColor& color) override;
  void setPenWidth(float width) override;
  void setPenDashStyle(int32_t style) override;
  void setFillColor(const CColor& color) override;
  void setFontColor(const CColor& color) override;
  void setSmoothingNone() override;
  void setClip(const CRect& rect) override;

  void drawLine(const CPoint& from, const CPoint& to) override;
  void fillRect(float left, float top, float width, float height) override;
  void strokeRect(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void drawImage(PlatformImage* image, int32_t destX, int32_t destY, int32_t srcX, int32_t srcY,
                 int32_t width, int32_t height, uint8_t alpha) override;
  void drawImageStretched(PlatformImage* image, const CRect& dest, const CRect& source,
                          uint8_t alpha) override;
  float measureString(const char16_t* text, PlatformFont* font) override;
  void drawString(const char16_t* text, PlatformFont* font, int32_t x, int32_t bottomY) override;

  // The last failing GDI+ status; kept for debugging only.
  Gdiplus::GpStatus getLastStatus() const { return lastStatus; }

 private:
  void check(Gdiplus::GpStatus status) {
    if (status != Gdiplus::Ok) lastStatus = status;
  }

  // Gives GDI+ the clip before it draws: under Wine most drawing goes through GDI instead, and
  // each clip change on the graphics costs a region of its own there.
  void applyClip();

  // Direct GDI drawing on this device, made at first use; null where it does not apply.
  GdiDevice* gdiDevice();

  // Copies an opaque image's piece with BitBlt, inside the clip; false when it cannot.
  bool copyOpaque(GdiplusImage* source, int32_t destX, int32_t destY, int32_t srcX, int32_t srcY,
                  int32_t width, int32_t height);

  Gdiplus::GpGraphics* graphics;
  bool onDevice = false;  // on a window or device context, not on an image
  CRect clip{-GdiDevice::kNoClip, -GdiDevice::kNoClip, GdiDevice::kNoClip, GdiDevice::kNoClip};
  bool clipApplied = true;  // GDI+ holds clip (a new graphics has none)
  Gdiplus::GpPen* pen = nullptr;
  Gdiplus::GpSolidFill* fillBrush = nullptr;
  Gdiplus::GpSolidFill* fontBrush = nullptr;
  uint32_t fontArgb = 0xFF000000;
  uint32_t fillArgb = 0xFF000000;
  uint32_t penArgb = 0xFF000000;
  float penWidth = 1.0f;
  int32_t penDashStyle = 0;  // solid
  std::unique_ptr<GdiDevice> gdi;
  bool gdiTried = false;
  HWND window;
  HDC ownDc;
  Gdiplus::GpStatus lastStatus = Gdiplus::Ok;
};

}  // namespace platform
}  // namespace gui

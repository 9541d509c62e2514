// A CBitmap's pixels as a GDI+ bitmap.
#pragma once

#include "../PlatformImage.h"
#include "GdiplusIncludes.h"

namespace gui {
namespace platform {

class GdiplusImage : public PlatformImage {
 public:
  // Takes ownership of bitmap.
  explicit GdiplusImage(Gdiplus::GpBitmap* bitmap) : bitmap(bitmap) {}
  ~GdiplusImage() override;
  GdiplusImage(const GdiplusImage&) = delete;
  GdiplusImage& operator=(const GdiplusImage&) = delete;

  int32_t getWidth() const override;
  int32_t getHeight() const override;
  Gdiplus::GpBitmap* getBitmap() const { return bitmap; }

 private:
  Gdiplus::GpBitmap* bitmap;
};

}  // namespace platform
}  // namespace gui

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
  // A memory device context that holds a copy of an image without alpha, made on first use,
  // for copies with BitBlt: GDI+ converts the whole image for every piece it draws. Null for
  // images with alpha, or when the copy cannot be made.
  HDC opaqueCopy();

 private:
  Gdiplus::GpBitmap* bitmap;
  HDC copyDc = nullptr;
  HBITMAP copyBitmap = nullptr;
  HGDIOBJ copyDcOldBitmap = nullptr;
  bool copyTried = false;
};

}  // namespace platform
}  // namespace gui

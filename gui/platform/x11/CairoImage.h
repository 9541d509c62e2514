// A CBitmap's pixels as a cairo image: 32-bit, premultiplied alpha. An image of a bitmap file
// knows its size from the file's header and decodes its pixels when first drawn.
#pragma once

#include <cairo.h>

#include "../PlatformImage.h"
#include "BmpDecoder.h"

namespace gui {
namespace platform {

class CairoImage : public PlatformImage {
 public:
  // Takes ownership of surface.
  explicit CairoImage(cairo_surface_t* surface)
      : surface(surface),
        width(cairo_image_surface_get_width(surface)),
        height(cairo_image_surface_get_height(surface)) {}
  // A bitmap file that outlives the image (one the library carries); a file that fails to
  // parse gives an image of size 0.
  CairoImage(const uint8_t* bytes, size_t size);
  ~CairoImage() override;
  CairoImage(const CairoImage&) = delete;
  CairoImage& operator=(const CairoImage&) = delete;

  int32_t getWidth() const override { return width; }
  int32_t getHeight() const override { return height; }
  // Null for an image of size 0, or when cairo cannot hold the pixels.
  cairo_surface_t* getSurface();

 private:
  cairo_surface_t* surface = nullptr;
  BmpDecoder file;  // parsed, its pixels not yet decoded while surface is null
  int32_t width = 0;
  int32_t height = 0;
};

}  // namespace platform
}  // namespace gui

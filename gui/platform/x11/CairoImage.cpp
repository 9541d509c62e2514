#include "CairoImage.h"

#include <cstring>

#include "EmbeddedResources.h"

namespace gui {
namespace platform {

namespace {

// Null (and nothing to free) when cairo could not make it.
cairo_surface_t* newSurface(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) return surface;
  cairo_surface_destroy(surface);
  return nullptr;
}

uint32_t* pixelsOf(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
}

size_t strideInPixels(cairo_surface_t* surface) {
  return static_cast<size_t>(cairo_image_surface_get_stride(surface)) / sizeof(uint32_t);
}

}  // namespace

CairoImage::CairoImage(const uint8_t* bytes, size_t size) {
  if (!file.parse(bytes, size)) return;
  width = file.width();
  height = file.height();
}

CairoImage::~CairoImage() {
  if (surface) cairo_surface_destroy(surface);
}

cairo_surface_t* CairoImage::getSurface() {
  if (surface || width <= 0) return surface;
  surface = newSurface(width, height);
  if (!surface) return nullptr;
  file.decode(pixelsOf(surface), strideInPixels(surface));
  cairo_surface_mark_dirty(surface);
  return surface;
}

PlatformImage* PlatformImage::createBlank(int32_t width, int32_t height) {
  cairo_surface_t* surface = newSurface(width, height);
  return surface ? new CairoImage(surface) : nullptr;
}

PlatformImage* PlatformImage::loadResource(const CResourceDescription& desc) {
  // The library carries its bitmaps by integer id only; names have no table to be found in.
  if (desc.type != CResourceDescription::kIntegerType) return nullptr;
  const EmbeddedResource* resource = findEmbeddedResource(desc.u.id);
  return resource ? new CairoImage(resource->bytes, resource->size) : nullptr;
}

PlatformImage* PlatformImage::fromHandle(void* /*handle*/, void* bits, int32_t width,
                                         int32_t height) {
  // X11 has no bitmap handles of the toolkit's kind; premultiplied pixels are copied.
  if (!bits) return nullptr;
  cairo_surface_t* surface = newSurface(width, height);
  if (!surface) return nullptr;
  uint32_t* pixels = pixelsOf(surface);
  const size_t stride = strideInPixels(surface);
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(pixels + static_cast<size_t>(y) * stride,
                static_cast<const uint32_t*>(bits) + static_cast<size_t>(y) * width,
                static_cast<size_t>(width) * sizeof(uint32_t));
  cairo_surface_mark_dirty(surface);
  return new CairoImage(surface);
}

void PlatformImage::deleteHandle(void* /*handle*/) {}

const EmbeddedResource* findEmbeddedResource(int32_t id) {
  for (const EmbeddedResource* r = kEmbeddedResources; r->bytes; ++r)
    if (r->id == id) return r;
  return nullptr;
}

}  // namespace platform
}  // namespace gui

#include "CBitmap.h"

#include "CDrawContext.h"
#include "GDIPlusGlobals.h"
#include "platform/PlatformGraphics.h"
#include "platform/PlatformImage.h"

namespace gui {

CBitmap::CBitmap(const CResourceDescription& desc) : resourceDesc(desc) {
  GDIPlusGlobals::acquire();
  loadFromResource(desc);
}

CBitmap::CBitmap(int32_t width, int32_t height) : width(width), height(height) {
  GDIPlusGlobals::acquire();
  image = platform::PlatformImage::createBlank(width, height);
}

CBitmap::~CBitmap() {
  dispose();
  GDIPlusGlobals::release();
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                             uint8_t alpha) {
  platform::PlatformImage* pixels = getPlatformImage();
  if (!pixels || !context) return;
  platform::PlatformGraphics* graphics = context->getPlatformGraphics();
  if (!graphics) return;
  const float scale = context->getScale();
  if (scale == 1.0f) {
    graphics->drawImage(pixels, rect.left + context->offset.x, rect.top + context->offset.y,
                        offset.x, offset.y, rect.width(), rect.height(), alpha);
    return;
  }
  CRect logical = rect;
  const CRect dest = ScaleFactor::toDevice(logical.offset(context->offset), scale);
  if (platform::PlatformImage* scaled = getScaledImage(scale)) {
    graphics->drawImage(scaled, dest.left, dest.top, ScaleFactor::toDevice(offset.x, scale),
                        ScaleFactor::toDevice(offset.y, scale), dest.width(), dest.height(), alpha);
    return;
  }
  const CRect source(offset.x, offset.y, offset.x + rect.width(), offset.y + rect.height());
  graphics->drawImageStretched(pixels, dest, source, alpha);
}

platform::PlatformImage* CBitmap::getScaledImage(float scale) {
  const int32_t index = ScaleFactor::indexOf(scale);
  if (index <= 0 || resourceDesc.type != CResourceDescription::kIntegerType) return nullptr;
  const auto slot = static_cast<size_t>(index);
  if (!scaledTried[slot]) {
    scaledTried[slot] = true;
    scaledImages[slot] = platform::PlatformImage::loadResource(
        CResourceDescription(ScaleFactor::resourceId(resourceDesc.u.id, scale)));
  }
  return scaledImages[slot];
}

void CBitmap::dispose() {
  delete image;
  image = nullptr;
  for (int32_t i = 0; i < ScaleFactor::kCount; ++i) {
    delete scaledImages[i];
    scaledImages[i] = nullptr;
    scaledTried[i] = false;
  }
  platform::PlatformImage::deleteHandle(handle);
  platform::PlatformImage::deleteHandle(maskHandle);
  handle = maskHandle = nullptr;
  bits = nullptr;
  width = height = 0;
  noAlpha = false;
}

bool CBitmap::loadFromResource(const CResourceDescription& desc) {
  dispose();
  image = platform::PlatformImage::loadResource(desc);
  if (!image) return false;
  width = image->getWidth();
  height = image->getHeight();
  return true;
}

bool CBitmap::loadFromPath(const void* /*platformPath*/) {
  dispose();
  return false;
}

platform::PlatformImage* CBitmap::getPlatformImage() {
  if (!image && handle) image = platform::PlatformImage::fromHandle(handle, bits, width, height);
  return image;
}

}  // namespace gui

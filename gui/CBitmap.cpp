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
  graphics->drawImage(pixels, rect.left + context->offset.x, rect.top + context->offset.y, offset.x,
                      offset.y, rect.width(), rect.height(), alpha);
}

void CBitmap::dispose() {
  delete image;
  image = nullptr;
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

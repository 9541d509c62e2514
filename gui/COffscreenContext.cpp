#include "COffscreenContext.h"

#include "CBitmap.h"
#include "platform/PlatformGraphics.h"

namespace gui {

COffscreenContext::COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                                     const CColor& backgroundColor)
    : CDrawContext(frame, nullptr, nullptr),
      height(height),
      width(width),
      backgroundColor(backgroundColor) {
  setClipRectRaw(CRect(0, 0, width, height).normalize());
  bitmap = new CBitmap(width, height);
  platform::PlatformGraphics* surface =
      platform::PlatformGraphics::createForImage(bitmap->getPlatformImage());
  setPlatformGraphics(surface);
  // The pen and brushes of a new surface are opaque black; bring them to this context's state.
  if (surface) {
    surface->setPenColor(getFrameColor());
    surface->setFillColor(getFillColor());
    surface->setFontColor(getFontColor());
    surface->setPenWidth(static_cast<float>(getLineWidth()));
  }
}

COffscreenContext::~COffscreenContext() {
  // The surface draws on the bitmap's pixels: it goes before the bitmap does.
  setPlatformGraphics(nullptr);
  if (bitmap) bitmap->forget();
}

}  // namespace gui

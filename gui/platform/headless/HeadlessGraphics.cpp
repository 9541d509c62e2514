// The headless build has no module resources and no device: images keep their size, nothing
// is loaded and nothing is drawn.
#include "../PlatformFont.h"
#include "../PlatformGraphics.h"
#include "HeadlessImage.h"

namespace gui {
namespace platform {

PlatformImage* PlatformImage::createBlank(int32_t width, int32_t height) {
  return new HeadlessImage(width, height);
}

PlatformImage* PlatformImage::loadResource(const CResourceDescription& /*desc*/) { return nullptr; }

PlatformImage* PlatformImage::fromHandle(void* /*handle*/, void* /*bits*/, int32_t /*width*/,
                                         int32_t /*height*/) {
  return nullptr;
}

void PlatformImage::deleteHandle(void* /*handle*/) {}

PlatformFont* PlatformFont::create(const char* /*name*/, int32_t /*sizePx*/, int32_t /*style*/) {
  return nullptr;
}

PlatformGraphics* PlatformGraphics::createForDevice(void* /*systemContext*/, void* /*window*/) {
  return nullptr;
}

PlatformGraphics* PlatformGraphics::createForImage(PlatformImage* /*image*/) { return nullptr; }

}  // namespace platform
}  // namespace gui

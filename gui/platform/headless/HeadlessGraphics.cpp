// The headless build has no module resources and no device: images keep their size, nothing
// is drawn, and a resource is an image of the size a test gave its id (HeadlessPlatform.h).
#include <map>
#include <utility>

#include "../PlatformFont.h"
#include "../PlatformGraphics.h"
#include "HeadlessImage.h"
#include "HeadlessPlatform.h"

namespace gui {

namespace {
std::map<int32_t, std::pair<int32_t, int32_t>>& resourceSizes() {
  static std::map<int32_t, std::pair<int32_t, int32_t>> sizes;
  return sizes;
}
}  // namespace

void headless::setResourceSize(int32_t id, int32_t width, int32_t height) {
  resourceSizes()[id] = {width, height};
}

namespace platform {

PlatformImage* PlatformImage::createBlank(int32_t width, int32_t height) {
  return new HeadlessImage(width, height);
}

PlatformImage* PlatformImage::loadResource(const CResourceDescription& desc) {
  if (desc.type != CResourceDescription::kIntegerType) return nullptr;
  const auto it = resourceSizes().find(desc.u.id);
  if (it == resourceSizes().end()) return nullptr;
  return new HeadlessImage(it->second.first, it->second.second);
}

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

// The pixels of a CBitmap as the platform's graphics layer holds them.
#pragma once

#include <cstdint>

#include "../CResourceDescription.h"

namespace gui {
namespace platform {

class PlatformImage {
 public:
  virtual ~PlatformImage() = default;
  // 0 when the image failed to decode.
  virtual int32_t getWidth() const = 0;
  virtual int32_t getHeight() const = 0;

  // A fully transparent 32-bit ARGB image; null when the platform cannot make one.
  static PlatformImage* createBlank(int32_t width, int32_t height);
  // The "DATA" resource of the module decoded from a stream, else its bitmap resource of that
  // integer id; null when neither exists. A resource that fails to decode still gives an
  // image, of size 0.
  static PlatformImage* loadResource(const CResourceDescription& desc);
  // Wraps a platform bitmap handle; with bits, those premultiplied ARGB pixels of
  // width x height are used instead of the handle's.
  static PlatformImage* fromHandle(void* handle, void* bits, int32_t width, int32_t height);
  static void deleteHandle(void* handle);
};

}  // namespace platform
}  // namespace gui

// An image without pixels: the headless build keeps sizes only.
#pragma once

#include "../PlatformImage.h"

namespace gui {
namespace platform {

class HeadlessImage : public PlatformImage {
 public:
  HeadlessImage(int32_t width, int32_t height) : width(width), height(height) {}
  int32_t getWidth() const override { return width; }
  int32_t getHeight() const override { return height; }

 private:
  int32_t width;
  int32_t height;
};

}  // namespace platform
}  // namespace gui

// Controls drawn from a vertical strip of equally tall pictures.
#pragma once

#include <cstdint>

namespace gui {

class IMultiBitmapControl {
 public:
  virtual ~IMultiBitmapControl() = default;
  virtual void setHeightOfOneImage(const int32_t& height) { heightOfOneImage = height; }
  virtual int32_t getHeightOfOneImage() const { return heightOfOneImage; }
  // One picture as tall as the control itself.
  virtual void autoComputeHeightOfOneImage() = 0;

 protected:
  int32_t heightOfOneImage = 0;
  int32_t subPixmaps = 0;
};

}  // namespace gui

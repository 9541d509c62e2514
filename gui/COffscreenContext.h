// A drawing context whose surface is a bitmap of its own: double buffering.
#pragma once

#include <cstdint>

#include "CColor.h"
#include "CDrawContext.h"

namespace gui {

class CBitmap;

class COffscreenContext : public CDrawContext {
 public:
  // The bitmap starts fully transparent; backgroundColor is only kept.
  COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                    const CColor& backgroundColor = kBlackCColor);
  ~COffscreenContext() override;

  // Copy to a window by drawing this bitmap with CBitmap::draw onto the window's context.
  CBitmap* getBitmap() const { return bitmap; }
  int32_t getWidth() const { return width; }
  int32_t getHeight() const { return height; }
  CColor getBackgroundColor() const { return backgroundColor; }

 private:
  CBitmap* bitmap = nullptr;
  int32_t height = 0;
  int32_t width = 0;
  CColor backgroundColor;
};

}  // namespace gui

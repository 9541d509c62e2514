// An image from the plug-in's resources, or a blank one for off-screen drawing.
#pragma once

#include <cstdint>

#include "CBaseObject.h"
#include "CColor.h"
#include "CPoint.h"
#include "CRect.h"
#include "CResourceDescription.h"
#include "ScaleFactor.h"

namespace gui {

class CDrawContext;
namespace platform {
class PlatformImage;
}

class CBitmap : public CBaseObject {
 public:
  // Loads the "DATA" resource of that id or name, else the bitmap resource of that id.
  explicit CBitmap(const CResourceDescription& desc);
  // A transparent 32-bit image of that size.
  CBitmap(int32_t width, int32_t height);
  ~CBitmap() override;
  CBitmap(const CBitmap&) = delete;

  // Copies the rectangle's size from offset in the image to rect in the context; no stretching,
  // transparency comes from the image's alpha. On a scaled context the picture of that scale
  // is drawn where the resources have one, else the image stretched.
  virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint());
  virtual void drawTransparent(CDrawContext* context, const CRect& rect,
                               const CPoint& offset = CPoint());
  // alpha 0..255 scales the image's own alpha.
  virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                              uint8_t alpha);
  virtual void dispose();
  virtual bool loadFromResource(const CResourceDescription& desc);
  // Files are not supported: the bitmap is emptied and false answered.
  virtual bool loadFromPath(const void* platformPath);

  int32_t getWidth() const { return width; }
  int32_t getHeight() const { return height; }
  const CResourceDescription& getResourceDescription() const { return resourceDesc; }
  CColor getTransparentColor() const { return transparentColor; }
  void setTransparentColor(const CColor& color) { transparentColor = color; }
  bool getNoAlpha() const { return noAlpha; }

  // The pixels, made from the platform handle on first use; null when there are none.
  platform::PlatformImage* getPlatformImage();
  // The picture bound for that scale, loaded on first use; null at 1 or where there is none.
  platform::PlatformImage* getScaledImage(float scale);

 private:
  CResourceDescription resourceDesc;
  int32_t width = 0;
  int32_t height = 0;
  CColor transparentColor = {255, 255, 255, 0};
  bool noAlpha = true;
  platform::PlatformImage* image = nullptr;
  platform::PlatformImage* scaledImages[ScaleFactor::kCount] = {};  // by index of the factor
  bool scaledTried[ScaleFactor::kCount] = {};
  void* bits = nullptr;        // premultiplied ARGB pixels behind handle, or null
  void* handle = nullptr;      // platform bitmap handle, or null
  void* maskHandle = nullptr;  // platform bitmap handle, or null
};

}  // namespace gui

#include "GdiplusImage.h"

#include <cwchar>

#include "../../ModuleHandle.h"
#include "ResourceStream.h"

namespace gui {
namespace platform {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

GdiplusImage::~GdiplusImage() {
  if (copyDc) {
    SelectObject(copyDc, copyDcOldBitmap);
    DeleteDC(copyDc);
  }
  if (copyBitmap) DeleteObject(copyBitmap);
  if (bitmap) GdipDisposeImage(bitmap);
}

HDC GdiplusImage::opaqueCopy() {
  if (copyTried) return copyDc;
  copyTried = true;
  PixelFormat format = 0;
  if (!bitmap || GdipGetImagePixelFormat(bitmap, &format) != Ok) return nullptr;
  if ((format & (PixelFormatAlpha | PixelFormatPAlpha)) != 0) return nullptr;
  if (GdipCreateHBITMAPFromBitmap(bitmap, &copyBitmap, 0xFF000000) != Ok || !copyBitmap)
    return nullptr;
  copyDc = CreateCompatibleDC(nullptr);
  if (copyDc) copyDcOldBitmap = SelectObject(copyDc, copyBitmap);
  return copyDc;
}

int32_t GdiplusImage::getWidth() const {
  UINT width = 0;
  if (GdipGetImageWidth(bitmap, &width) != Ok) return 0;
  return static_cast<int32_t>(width);
}

int32_t GdiplusImage::getHeight() const {
  UINT height = 0;
  if (GdipGetImageHeight(bitmap, &height) != Ok) return 0;
  return static_cast<int32_t>(height);
}

PlatformImage* PlatformImage::createBlank(int32_t width, int32_t height) {
  GpBitmap* bitmap = nullptr;
  if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Ok ||
      !bitmap)
    return nullptr;
  return new GdiplusImage(bitmap);
}

PlatformImage* PlatformImage::loadResource(const CResourceDescription& desc) {
  GpBitmap* bitmap = nullptr;
  // Images of any format GDI+ decodes come as "DATA" resources.
  ResourceStream* stream = new ResourceStream();
  if (stream->open(desc)) GdipCreateBitmapFromStreamICM(stream, &bitmap);
  stream->Release();

  // The plug-in's own images are plain bitmap resources.
  if (!bitmap) {
    auto* module = static_cast<HINSTANCE>(getModuleHandle());
    if (desc.type == CResourceDescription::kIntegerType) {
      GdipCreateBitmapFromResource(module, MAKEINTRESOURCEW(desc.u.id), &bitmap);
    } else if (desc.type == CResourceDescription::kStringType && desc.u.name) {
      wchar_t name[200] = {};
      std::mbstowcs(name, desc.u.name, 199);
      GdipCreateBitmapFromResource(module, name, &bitmap);
    }
  }
  return bitmap ? new GdiplusImage(bitmap) : nullptr;
}

PlatformImage* PlatformImage::fromHandle(void* handle, void* bits, int32_t width, int32_t height) {
  GpBitmap* bitmap = nullptr;
  if (bits)
    GdipCreateBitmapFromScan0(width, height, 4 * width, PixelFormat32bppPARGB,
                              static_cast<BYTE*>(bits), &bitmap);
  else
    GdipCreateBitmapFromHBITMAP(static_cast<HBITMAP>(handle), nullptr, &bitmap);
  return bitmap ? new GdiplusImage(bitmap) : nullptr;
}

void PlatformImage::deleteHandle(void* handle) {
  if (handle) DeleteObject(static_cast<HBITMAP>(handle));
}

}  // namespace platform
}  // namespace gui

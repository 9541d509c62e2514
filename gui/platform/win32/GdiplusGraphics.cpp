#include "GdiplusGraphics.h"

#include "GdiDevice.h"
#include "GdiplusFont.h"
#include "GdiplusImage.h"

namespace gui {
namespace platform {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

const ARGB kOpaqueBlack = 0xFF000000;

bool isOpaque(uint32_t argb) { return (argb >> 24) == 0xFF; }

WCHAR* wide(const char16_t* text) { return reinterpret_cast<WCHAR*>(const_cast<char16_t*>(text)); }

}  // namespace

PlatformGraphics* PlatformGraphics::createForDevice(void* systemContext, void* window) {
  HDC dc = static_cast<HDC>(systemContext);
  HWND hwnd = static_cast<HWND>(window);
  HDC ownDc = nullptr;
  if (!dc && hwnd) dc = ownDc = GetDC(hwnd);
  if (!dc) return nullptr;
  GpGraphics* graphics = nullptr;
  if (GdipCreateFromHDC(dc, &graphics) != Ok || !graphics) {
    if (ownDc) ReleaseDC(hwnd, ownDc);
    return nullptr;
  }
  GdipSetInterpolationMode(graphics, InterpolationModeLowQuality);
  GdipSetPageUnit(graphics, UnitPixel);
  GdipSetPixelOffsetMode(graphics, PixelOffsetModeNone);
  return new GdiplusGraphics(graphics, hwnd, ownDc, true);
}

PlatformGraphics* PlatformGraphics::createForImage(PlatformImage* image) {
  auto* gdiplusImage = static_cast<GdiplusImage*>(image);
  if (!gdiplusImage || !gdiplusImage->getBitmap()) return nullptr;
  GpGraphics* graphics = nullptr;
  if (GdipGetImageGraphicsContext(gdiplusImage->getBitmap(), &graphics) != Ok || !graphics)
    return nullptr;
  GdipSetInterpolationMode(graphics, InterpolationModeLowQuality);
  GdipSetPageUnit(graphics, UnitPixel);
  return new GdiplusGraphics(graphics, nullptr, nullptr, false);
}

GdiplusGraphics::GdiplusGraphics(GpGraphics* graphics, HWND window, HDC ownDc, bool onDevice)
    : graphics(graphics), onDevice(onDevice), window(window), ownDc(ownDc) {
  check(GdipCreatePen1(kOpaqueBlack, 1.0f, UnitWorld, &pen));
  check(GdipCreateSolidFill(kOpaqueBlack, &fillBrush));
  check(GdipCreateSolidFill(kOpaqueBlack, &fontBrush));
}

GdiplusGraphics::~GdiplusGraphics() {
  // The context gets its own font back before it is released.
  gdi.reset();
  if (fontBrush) GdipDeleteBrush(fontBrush);
  if (fillBrush) GdipDeleteBrush(fillBrush);
  if (pen) GdipDeletePen(pen);
  if (graphics) GdipDeleteGraphics(graphics);
  if (ownDc) ReleaseDC(window, ownDc);
}

void GdiplusGraphics::setPenColor(const CColor& color) {
  penArgb = color.toArgb();
  if (pen) check(GdipSetPenColor(pen, penArgb));
}

void GdiplusGraphics::setPenWidth(float width) {
  penWidth = width;
  if (pen) check(GdipSetPenWidth(pen, width));
}

void GdiplusGraphics::setPenDashStyle(int32_t style) {
  penDashStyle = style;
  if (pen) check(GdipSetPenDashStyle(pen, static_cast<DashStyle>(style)));
}

void GdiplusGraphics::setFillColor(const CColor& color) {
  fillArgb = color.toArgb();
  if (fillBrush) check(GdipSetSolidFillColor(fillBrush, fillArgb));
}

void GdiplusGraphics::setFontColor(const CColor& color) {
  fontArgb = color.toArgb();
  if (fontBrush) check(GdipSetSolidFillColor(fontBrush, fontArgb));
}

void GdiplusGraphics::setSmoothingNone() {
  check(GdipSetSmoothingMode(graphics, SmoothingModeNone));
}

void GdiplusGraphics::setClip(const CRect& rect) {
  if (rect == clip) return;
  clip = rect;
  clipApplied = false;
  if (gdi) gdi->followClip(rect);
}

void GdiplusGraphics::applyClip() {
  if (clipApplied) return;
  clipApplied = true;
  if (GdiDevice::isNoClip(clip)) {
    check(GdipResetClip(graphics));
    return;
  }
  check(GdipSetClipRectI(graphics, clip.left, clip.top, clip.width(), clip.height(),
                         CombineModeReplace));
}

void GdiplusGraphics::drawLine(const CPoint& from, const CPoint& to) {
  applyClip();
  if (pen) check(GdipDrawLineI(graphics, pen, from.x, from.y, to.x, to.y));
}

void GdiplusGraphics::fillRect(float left, float top, float width, float height) {
  if (isOpaque(fillArgb) && gdiDevice()) {
    gdiDevice()->fill(left, top, left + width, top + height, fillArgb, clip);
    return;
  }
  applyClip();
  if (fillBrush) check(GdipFillRectangle(graphics, fillBrush, left, top, width, height));
}

void GdiplusGraphics::strokeRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  // A solid one-pixel outline through the corners covers the pixels of its four edges.
  if (penWidth == 1.0f && penDashStyle == 0 && isOpaque(penArgb) && gdiDevice()) {
    gdiDevice()->outline(CRect(left, top, left + width + 1, top + height + 1), penArgb, clip);
    return;
  }
  applyClip();
  if (pen) check(GdipDrawRectangleI(graphics, pen, left, top, width, height));
}

void GdiplusGraphics::drawImage(PlatformImage* image, int32_t destX, int32_t destY, int32_t srcX,
                                int32_t srcY, int32_t width, int32_t height, uint8_t alpha) {
  auto* source = static_cast<GdiplusImage*>(image);
  if (!source || !source->getBitmap()) return;
  if (alpha == 255 && copyOpaque(source, destX, destY, srcX, srcY, width, height)) return;
  applyClip();
  if (alpha == 255) {
    check(GdipDrawImageRectRectI(graphics, source->getBitmap(), destX, destY, width, height, srcX,
                                 srcY, width, height, UnitPixel, nullptr, nullptr, nullptr));
    return;
  }
  // Partial opacity: the source part goes to a temporary image, which is drawn with its alpha
  // scaled by a colour matrix.
  GpBitmap* temporary = nullptr;
  if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &temporary) !=
          Ok ||
      !temporary)
    return;
  GpGraphics* temporaryGraphics = nullptr;
  if (GdipGetImageGraphicsContext(temporary, &temporaryGraphics) == Ok && temporaryGraphics) {
    check(GdipDrawImageRectRectI(temporaryGraphics, source->getBitmap(), 0, 0, width, height, srcX,
                                 srcY, width, height, UnitPixel, nullptr, nullptr, nullptr));
    ColorMatrix matrix = {};
    for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
    matrix.m[3][3] = static_cast<REAL>(alpha) / 255.0f;
    GpImageAttributes* attributes = nullptr;
    if (GdipCreateImageAttributes(&attributes) == Ok && attributes) {
      GdipSetImageAttributesColorMatrix(attributes, ColorAdjustTypeBitmap, TRUE, &matrix, nullptr,
                                        ColorMatrixFlagsDefault);
      check(GdipDrawImageRectRectI(graphics, temporary, destX, destY, width, height, 0, 0, width,
                                   height, UnitPixel, attributes, nullptr, nullptr));
      GdipDisposeImageAttributes(attributes);
    }
    GdipDeleteGraphics(temporaryGraphics);
  }
  GdipDisposeImage(temporary);
}

void GdiplusGraphics::drawImageStretched(PlatformImage* image, const CRect& dest,
                                         const CRect& source, uint8_t alpha) {
  auto* gdiplusImage = static_cast<GdiplusImage*>(image);
  if (!gdiplusImage || !gdiplusImage->getBitmap()) return;
  applyClip();
  GpImageAttributes* attributes = nullptr;
  if (alpha != 255 && GdipCreateImageAttributes(&attributes) == Ok && attributes) {
    ColorMatrix matrix = {};
    for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
    matrix.m[3][3] = static_cast<REAL>(alpha) / 255.0f;
    GdipSetImageAttributesColorMatrix(attributes, ColorAdjustTypeBitmap, TRUE, &matrix, nullptr,
                                      ColorMatrixFlagsDefault);
  }
  check(GdipDrawImageRectRectI(graphics, gdiplusImage->getBitmap(), dest.left, dest.top,
                               dest.width(), dest.height(), source.left, source.top, source.width(),
                               source.height(), UnitPixel, attributes, nullptr, nullptr));
  if (attributes) GdipDisposeImageAttributes(attributes);
}

bool GdiplusGraphics::copyOpaque(GdiplusImage* source, int32_t destX, int32_t destY, int32_t srcX,
                                 int32_t srcY, int32_t width, int32_t height) {
  if (!onDevice) return false;
  HDC sourceDc = source->opaqueCopy();
  if (!sourceDc) return false;
  // The piece that lies both inside the image and inside the clip, as GDI+ would draw it.
  CRect dest(destX, destY, destX + width, destY + height);
  dest.bound(clip);
  dest.bound(CRect(destX - srcX, destY - srcY, destX - srcX + source->getWidth(),
                   destY - srcY + source->getHeight()));
  if (dest.isEmpty()) return true;
  HDC dc = nullptr;
  if (GdipGetDC(graphics, &dc) != Ok || !dc) return false;
  BitBlt(dc, dest.left, dest.top, dest.width(), dest.height(), sourceDc, srcX + dest.left - destX,
         srcY + dest.top - destY, SRCCOPY);
  GdipReleaseDC(graphics, dc);
  return true;
}

GdiDevice* GdiplusGraphics::gdiDevice() {
  if (gdiTried) return gdi.get();
  gdiTried = true;
  HDC dc = nullptr;
  if (!onDevice || !GdiDevice::matchesGdiplus() || GdipGetDC(graphics, &dc) != Ok || !dc)
    return nullptr;
  // GDI+ hands out the context it was made on; it stays valid while the graphics lives.
  GdipReleaseDC(graphics, dc);
  gdi = std::make_unique<GdiDevice>(dc, graphics);
  return gdi.get();
}

float GdiplusGraphics::measureString(const char16_t* text, PlatformFont* font) {
  auto* gdiplusFont = static_cast<GdiplusFont*>(font);
  if (!gdiplusFont || !gdiplusFont->getFont()) return -1.0f;
  if (GdiDevice::canDraw(text, kOpaqueBlack) && gdiDevice()) {
    const float width = gdiDevice()->measure(text, *gdiplusFont);
    if (width >= 0.0f) return width;
  }
  RectF layout = {0.0f, 0.0f, 0.0f, 0.0f};
  RectF box = {0.0f, 0.0f, 0.0f, 0.0f};
  const GpStatus status = GdipMeasureString(graphics, wide(text), -1, gdiplusFont->getFont(),
                                            &layout, nullptr, &box, nullptr, nullptr);
  check(status);
  return status == Ok ? box.Width : -1.0f;
}

void GdiplusGraphics::drawString(const char16_t* text, PlatformFont* font, int32_t x,
                                 int32_t bottomY) {
  auto* gdiplusFont = static_cast<GdiplusFont*>(font);
  if (!gdiplusFont || !gdiplusFont->getFont() || !fontBrush) return;
  REAL dpiY = 96.0f;
  check(GdipGetDpiY(graphics, &dpiY));
  REAL fontHeight = 0.0f;
  check(GdipGetFontHeightGivenDPI(gdiplusFont->getFont(), dpiY, &fontHeight));
  // The layout rectangle's top is one font height above the bottom line.
  RectF layout = {static_cast<REAL>(x), static_cast<REAL>(bottomY) + 1.0f - fontHeight, 0.0f, 0.0f};
  if (GdiDevice::canDraw(text, fontArgb) && gdiDevice() &&
      gdiDevice()->draw(text, *gdiplusFont, fontArgb, layout.X, layout.Y, clip))
    return;
  applyClip();
  check(GdipSetTextRenderingHint(graphics, TextRenderingHintClearTypeGridFit));
  check(GdipDrawString(graphics, wide(text), -1, gdiplusFont->getFont(), &layout, nullptr,
                       fontBrush));
}

}  // namespace platform
}  // namespace gui

#include "CDrawContext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "CFontDesc.h"
#include "CFrame.h"
#include "ScaleFactor.h"
#include "platform/PlatformGraphics.h"
#include "platform/PlatformWindow.h"

namespace gui {

namespace {

// UTF-8 to UTF-16 with surrogate pairs; malformed bytes become U+FFFD.
std::vector<char16_t> toUtf16(const char* text) {
  std::vector<char16_t> out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  out.reserve(std::strlen(text) + 1);
  while (*p) {
    uint32_t code = 0xFFFD;
    int extra = 0;
    if (*p < 0x80) {
      code = *p;
    } else if ((*p & 0xE0) == 0xC0) {
      code = *p & 0x1F;
      extra = 1;
    } else if ((*p & 0xF0) == 0xE0) {
      code = *p & 0x0F;
      extra = 2;
    } else if ((*p & 0xF8) == 0xF0) {
      code = *p & 0x07;
      extra = 3;
    }
    ++p;
    for (int i = 0; i < extra; ++i) {
      if ((*p & 0xC0) != 0x80) {
        code = 0xFFFD;
        break;
      }
      code = code << 6 | (*p & 0x3F);
      ++p;
    }
    if (code > 0x10FFFF) code = 0xFFFD;
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
  }
  out.push_back(0);
  return out;
}

}  // namespace

CDrawContext::CDrawContext(CFrame* frame, void* systemContext, void* window)
    : systemContext(systemContext), window(window), frame(frame) {
  clipRect = frame ? frame->getViewSize() : CRect(0, 0, 1000, 1000);
  // Off-screen images hold logical pixels; windows and devices show the frame's scale.
  if (frame && (systemContext || window)) scale = frame->getScale();
  graphics = platform::PlatformGraphics::createForDevice(systemContext, window);

  // The surface starts with an opaque black pen and brushes; the setters below only talk to it
  // when a value changes, so the fields are first set to differ from the defaults.
  if (graphics) {
    graphics->setPenColor(kBlackCColor);
    graphics->setPenWidth(scale);
    graphics->setFillColor(kBlackCColor);
    graphics->setFontColor(kBlackCColor);
  }
  frameColor = kBlackCColor;
  setFrameColor(kWhiteCColor);
  setLineStyle(kLineSolid);
  setLineWidth(1);
  fillColor = kWhiteCColor;
  setFillColor(kBlackCColor);
  setFontColor(kWhiteCColor);
  setFont(kSystemFont);
  drawMode = -1;
  setDrawMode(kCopyMode);
}

CDrawContext::~CDrawContext() {
  if (font) font->forget();
  delete graphics;
}

CPoint CDrawContext::screenOffset() {
  if (!windowOriginKnown) {
    if (window) windowOrigin = platform::getWindowScreenOrigin(window);
    windowOriginKnown = true;
  }
  return windowOrigin + offsetScreen;
}

void CDrawContext::setPlatformGraphics(platform::PlatformGraphics* newGraphics) {
  delete graphics;
  graphics = newGraphics;
}

void CDrawContext::setFrameColor(const CColor& color) {
  if (color == frameColor) return;
  frameColor = color;
  if (graphics) graphics->setPenColor(color);
}

void CDrawContext::setFillColor(const CColor& color) {
  if (color == fillColor) return;
  fillColor = color;
  if (graphics) graphics->setFillColor(color);
}

void CDrawContext::setFontColor(const CColor& color) {
  fontColor = color;
  if (graphics) graphics->setFontColor(color);
}

void CDrawContext::setLineWidth(int32_t width) {
  if (width == lineWidth) return;
  lineWidth = width;
  if (graphics) graphics->setPenWidth(static_cast<float>(width) * scale);
}

void CDrawContext::setLineStyle(int32_t style) {
  if (style == lineStyle) return;
  lineStyle = style;
  if (graphics) graphics->setPenDashStyle(style);
}

void CDrawContext::setDrawMode(int32_t mode) {
  if (mode == drawMode) return;
  drawMode = mode;
  if (mode == kCopyMode && graphics) graphics->setSmoothingNone();
}

void CDrawContext::setClipRect(const CRect& rect) {
  CRect target = rect;
  target.offset(offset);
  if (target == clipRect) return;
  clipRect = target;
  if (graphics) graphics->setClip(ScaleFactor::toDevice(clipRect, scale));
}

CRect CDrawContext::getClipRect() const {
  CRect rect = clipRect;
  return rect.offset(-offset.x, -offset.y);
}

void CDrawContext::moveTo(const CPoint& point) { penLoc = point + offset; }

void CDrawContext::lineTo(const CPoint& point) {
  const CPoint to = point + offset;
  if (graphics)
    graphics->drawLine(
        CPoint(ScaleFactor::toDevice(penLoc.x, scale), ScaleFactor::toDevice(penLoc.y, scale)),
        CPoint(ScaleFactor::toDevice(to.x, scale), ScaleFactor::toDevice(to.y, scale)));
  penLoc = to;
}

void CDrawContext::drawRect(const CRect& rect, int32_t style) {
  if (!graphics) return;
  CRect r = rect;
  r.offset(offset).normalize();
  r = ScaleFactor::toDevice(r, scale);
  const int32_t w = r.width();
  const int32_t h = r.height();
  if (style == kDrawFilled || style == kDrawFilledAndStroked) fillDevice(r, fillColor);
  if (style != kDrawStroked && style != kDrawFilledAndStroked) return;
  if (scale == 1.0f) {
    graphics->strokeRect(r.left, r.top, w - 1, h - 1);
    return;
  }
  // A scaled outline lies inside the rectangle, as the unscaled one does: four bands of the
  // scaled line width along its edges, which no pen alignment gives exactly.
  const int32_t band = std::max(1, ScaleFactor::toDevice(lineWidth, scale));
  fillDevice(CRect(r.left, r.top, r.right, r.top + band), frameColor);
  fillDevice(CRect(r.left, r.bottom - band, r.right, r.bottom), frameColor);
  fillDevice(CRect(r.left, r.top, r.left + band, r.bottom), frameColor);
  fillDevice(CRect(r.right - band, r.top, r.right, r.bottom), frameColor);
  graphics->setFillColor(fillColor);
}

void CDrawContext::fillDevice(const CRect& r, const CColor& color) {
  if (!(color == fillColor)) graphics->setFillColor(color);
  graphics->fillRect(static_cast<float>(r.left), static_cast<float>(r.top),
                     static_cast<float>(r.width()), static_cast<float>(r.height()));
}

void CDrawContext::setFont(CFontDesc* newFont, int32_t size, int32_t style) {
  if (!newFont) return;
  CFontDesc* chosen = newFont;
  const bool sameSize = size <= 0 || size == newFont->getSize();
  const bool sameStyle = style == -1 || style == newFont->getStyle();
  if (sameSize && sameStyle) {
    newFont->remember();
  } else {
    chosen = new CFontDesc(newFont->getName(), size > 0 ? size : newFont->getSize(),
                           style != -1 ? style : newFont->getStyle());
  }
  if (font) font->forget();
  font = chosen;
}

int32_t CDrawContext::getStringWidth(const char* text) {
  if (!font || !text || !graphics) return -1;
  const float width = deviceStringWidth(text);
  return width < 0.0f ? -1 : static_cast<int32_t>(width / scale);
}

float CDrawContext::deviceStringWidth(const char* text) {
  platform::PlatformFont* platformFont = font ? font->getPlatformFont(scale) : nullptr;
  if (!platformFont || !graphics) return -1.0f;
  const std::vector<char16_t> wide = toUtf16(text);
  return graphics->measureString(wide.data(), platformFont);
}

void CDrawContext::drawString(const char* text, const CRect& rect, int32_t align) {
  if (!text) return;
  // Placed in device pixels, with the font at its device size.
  CRect box = rect;
  box = ScaleFactor::toDevice(box.offset(offset), scale);
  const int32_t fontSize = font ? ScaleFactor::toDevice(font->getSize(), scale) : 0;
  const int32_t y = box.bottom + fontSize / 2 - box.height() / 2 - 1;
  int32_t x = box.left;
  if (align != kLeftText) {
    const float measured = deviceStringWidth(text);
    const int32_t textWidth = measured < 0.0f ? -1 : static_cast<int32_t>(measured);
    if (align == kRightText)
      x = box.right - textWidth;
    else
      x = static_cast<int32_t>(static_cast<float>(box.right - box.left) * 0.5f +
                               static_cast<float>(box.left) - static_cast<float>(textWidth) * 0.5f);
  }

  const CRect savedClip = getClipRect();
  CRect narrowed = rect;
  narrowed.bound(savedClip);
  if (narrowed != savedClip) setClipRect(narrowed);

  platform::PlatformFont* platformFont = font ? font->getPlatformFont(scale) : nullptr;
  if (graphics && platformFont) {
    const std::vector<char16_t> wide = toUtf16(text);
    graphics->drawString(wide.data(), platformFont, x, y);
  }

  setClipRect(savedClip);
}

}  // namespace gui

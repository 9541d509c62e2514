#include "CParamDisplay.h"

#include <cstdio>
#include <cstring>

#include "CBitmap.h"
#include "CFontDesc.h"

namespace gui {

namespace {
constexpr size_t kTextCapacity = 256;

// Stores a new setting and marks the display dirty when it differs from the old one.
template <typename T>
void storeMarking(CParamDisplay& display, T& field, const T& newValue) {
  if (field != newValue) display.setDirty(true);
  field = newValue;
}
}  // namespace

CParamDisplay::CParamDisplay(const CRect& size)
    : CControl(size, nullptr, 0, nullptr), fontID(kNormalFont) {
  if (fontID) fontID->remember();
}

CParamDisplay::CParamDisplay(const CParamDisplay& other)
    : CControl(other),
      stringConvert(other.stringConvert),
      stringConvert2(other.stringConvert2),
      string2FloatConvert(other.string2FloatConvert),
      userData(other.userData),
      horiTxtAlign(other.horiTxtAlign),
      style(other.style),
      fontID(other.fontID),
      txtFace(other.txtFace),
      fontColor(other.fontColor),
      backColor(other.backColor),
      frameColor(other.frameColor),
      shadowColor(other.shadowColor),
      textTransparency(other.textTransparency),
      antialias(other.antialias) {
  if (fontID) fontID->remember();
}

CParamDisplay::~CParamDisplay() {
  if (fontID) fontID->forget();
}

void CParamDisplay::textFor(float shown, char* text) const {
  text[0] = 0;
  if (stringConvert2) {
    stringConvert2(shown, text, userData);
  } else if (stringConvert) {
    stringConvert(shown, text);
  } else {
    std::snprintf(text, kTextCapacity, "%2.2f", static_cast<double>(shown));
  }
  // A conversion that forgot the terminator still gives a text.
  text[kTextCapacity - 1] = 0;
}

void CParamDisplay::draw(CDrawContext* context) {
  char text[kTextCapacity];
  textFor(value, text);
  drawnText = text;
  drawn = true;
  drawText(context, text);
}

bool CParamDisplay::isDirty() const {
  // A display marked dirty (a setting changed) redraws whatever it shows.
  if (dirty || !drawn) return CControl::isDirty();
  if (!CControl::isDirty()) return false;
  char text[kTextCapacity];
  textFor(value, text);
  return drawnText != text;
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* newBack) {
  setDirty(false);
  if (style & kNoDrawStyle) return;

  CBitmap* back = newBack ? newBack : background;
  if (back) {
    drawBitmap(back, context, size, backOffset);
  } else if (!transparencyEnabled) {
    context->setFillColor(backColor);
    context->drawRect(size, kDrawFilled);
    if (!(style & (k3DIn | k3DOut | kNoFrame))) {
      context->setLineWidth(1);
      context->setFrameColor(frameColor);
      // The outline lies inside: one pixel short of the right and bottom edges.
      context->drawRect(size, kDrawStroked);
    }
  }

  if (style & (k3DIn | k3DOut)) {
    // Sunken: the light edges are the lower right ones; raised: the upper left.
    const bool sunken = (style & k3DIn) != 0;
    const CColor upperLeft = sunken ? backColor : frameColor;
    const CColor lowerRight = sunken ? frameColor : backColor;
    const CPoint bottomLeft(size.left, size.bottom);
    const CPoint topLeft(size.left, size.top + 1);
    const CPoint topRight(size.right - 1, size.top + 1);
    const CPoint bottomRight(size.right - 1, size.bottom);
    context->setLineWidth(1);
    context->setFrameColor(upperLeft);
    context->moveTo(bottomLeft);
    context->lineTo(topLeft);
    context->lineTo(topRight);
    context->setFrameColor(lowerRight);
    context->moveTo(topRight);
    context->lineTo(bottomRight);
    context->lineTo(bottomLeft);
  }

  if ((style & kNoTextStyle) || !text || !text[0]) return;

  const CRect savedClip = context->getClipRect();
  CRect clip = size;
  clip.bound(savedClip);
  context->setClipRect(clip);
  if (fontID) context->setFont(fontID, 0, txtFace);
  if (style & kShadowText) {
    CRect shadow = size;
    shadow.offset(1, 1);
    context->setFontColor(shadowColor);
    context->drawString(text, shadow, horiTxtAlign);
  }
  context->setFontColor(fontColor);
  context->drawString(text, size, horiTxtAlign);
  context->setClipRect(savedClip);
}

bool CParamDisplay::isTypeOf(const char* name) const {
  return name && (std::strcmp(name, "CParamDisplay") == 0 || CControl::isTypeOf(name));
}

CView* CParamDisplay::newCopy() const { return new CParamDisplay(*this); }

void CParamDisplay::mouse(CDrawContext* /*context*/, CPoint& /*where*/, CButtonState /*buttons*/) {}

void CParamDisplay::setFont(CFontDesc* font) {
  setDirty(true);
  if (font) font->remember();
  if (fontID) fontID->forget();
  fontID = font;
}

CFontDesc* CParamDisplay::getFont() const { return fontID; }
void CParamDisplay::setFontColor(CColor color) { storeMarking(*this, fontColor, color); }
CColor CParamDisplay::getFontColor() const { return fontColor; }
void CParamDisplay::setBackColor(CColor color) { storeMarking(*this, backColor, color); }
CColor CParamDisplay::getBackColor() const { return backColor; }
void CParamDisplay::setFrameColor(CColor color) { storeMarking(*this, frameColor, color); }
CColor CParamDisplay::getFrameColor() const { return frameColor; }
void CParamDisplay::setShadowColor(CColor color) { storeMarking(*this, shadowColor, color); }
CColor CParamDisplay::getShadowColor() const { return shadowColor; }
void CParamDisplay::setAntialias(bool flag) { antialias = flag; }
bool CParamDisplay::getAntialias() const { return antialias; }
void CParamDisplay::setHoriAlign(int32_t align) { storeMarking(*this, horiTxtAlign, align); }
int32_t CParamDisplay::getHoriAlign() const { return horiTxtAlign; }

void CParamDisplay::setStringConvert(CParamDisplayValueToStringProcWithUserData convert,
                                     void* data) {
  stringConvert2 = convert;
  userData = data;
}

void CParamDisplay::setStringConvert(CParamDisplayValueToStringProc convert) {
  stringConvert = convert;
}

void CParamDisplay::setString2FloatConvert(CParamDisplayStringToValueProc convert) {
  string2FloatConvert = convert;
}

void CParamDisplay::setStyle(int32_t val) { storeMarking(*this, style, val); }
int32_t CParamDisplay::getStyle() const { return style; }
void CParamDisplay::setTxtFace(int32_t val) { storeMarking(*this, txtFace, val); }
int32_t CParamDisplay::getTxtFace() const { return txtFace; }
void CParamDisplay::setTextTransparency(bool flag) { textTransparency = flag; }
bool CParamDisplay::getTextTransparency() const { return textTransparency; }

}  // namespace gui

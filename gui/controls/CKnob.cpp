#include "CKnob.h"

#include <cmath>
#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"

namespace gui {

namespace {
constexpr float kTwoPi = 6.2831855f;
constexpr float kDefaultStartAngle = 3.9269907f;  // 225°: the lower left
constexpr float kDefaultRangeAngle = -4.712389f;  // 270° clockwise
constexpr float kLinearDragPixels = 200.0f;       // a linear drag over the whole range
constexpr int32_t kLinearKnobMode = 2;

int32_t insetForHandle(const CBitmap* handle) {
  return static_cast<int32_t>(static_cast<float>(handle->getWidth()) * 0.5f + 2.5f);
}

// Into 0..2π by one turn at most.
float oneTurnIntoCircle(float angle) {
  if (angle < 0.0f) return angle + kTwoPi;
  if (angle > kTwoPi) return angle - kTwoPi;
  return angle;
}
}  // namespace

CKnob::CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
             const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset) {
  radius = static_cast<float>(size.right - size.left) * 0.5f;
  wantsFocusFlag = true;
  takesMarksFlag = true;
  CKnob::setStartAngle(kDefaultStartAngle);
  CKnob::setRangeAngle(kDefaultRangeAngle);
}

CKnob::CKnob(const CKnob& other)
    : CControl(other),
      offset(other.offset),
      colorHandle(other.colorHandle),
      colorShadowHandle(other.colorShadowHandle),
      handleBitmap(other.handleBitmap),
      inset(other.inset),
      startAngle(other.startAngle),
      rangeAngle(other.rangeAngle),
      halfAngle(other.halfAngle),
      aCoef(other.aCoef),
      bCoef(other.bCoef),
      radius(other.radius),
      zoomFactor(other.zoomFactor) {
  if (handleBitmap) handleBitmap->remember();
}

CKnob::~CKnob() {
  if (handleBitmap) handleBitmap->forget();
}

void CKnob::draw(CDrawContext* context) {
  drawBitmap(background, context, size, offset);
  drawHandle(context);
  if (isMarked()) drawMark(context, size, kDrawStroked);
  setDirty(false);
}

void CKnob::drawHandle(CDrawContext* context) {
  CPoint point;
  valueToPoint(point);
  if (handleBitmap) {
    const int32_t width = handleBitmap->getWidth();
    const int32_t height = handleBitmap->getHeight();
    const CPoint topLeft(size.left + point.x - width / 2, size.top + point.y - height / 2);
    handleBitmap->drawTransparent(context, CRect(topLeft, CPoint(width, height)));
    return;
  }
  CPoint centre(size.left + size.width() / 2 - 1, size.top + size.height() / 2);
  CPoint tip(size.left + point.x - 1, size.top + point.y);
  context->setLineWidth(1);
  context->setFrameColor(colorShadowHandle);
  context->moveTo(tip);
  context->lineTo(centre);
  // The second line lies one pixel up and right of the shadow.
  centre.offset(1, -1);
  tip.offset(1, -1);
  context->setFrameColor(colorHandle);
  context->moveTo(tip);
  context->lineTo(centre);
}

void CKnob::startDrag(const CPoint& where, const CButtonState& buttons) {
  firstPoint = where;
  lastPoint = CPoint(-1, -1);
  startValue = oldValue;
  modeLinear = false;
  entryValue = value;
  range = kLinearDragPixels;
  coef = (vmax - vmin) / range;
  oldButton = buttons;

  // Alt inverts the host's knob mode for one drag.
  const int32_t mode = frame ? frame->getKnobMode() : 0;
  const bool alt = (buttons & kAlt) != 0;
  const bool linear = (mode == kLinearKnobMode) != alt && (buttons & kLButton);
  if (linear) {
    if (buttons & kShift) range = zoomFactor * range;
    lastPoint = where;
    modeLinear = true;
    coef = (vmax - vmin) / range;
  } else {
    CPoint local = where - size.getTopLeft();
    startValue = valueFromPoint(local);
  }
}

CMouseEventResult CKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
  beginEdit();
  if (checkDefaultValue(buttons)) {
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  }
  startDrag(where, buttons);
  return onMouseMoved(where, buttons);
}

CMouseEventResult CKnob::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  endEdit();
  return kMouseEventHandled;
}

CMouseEventResult CKnob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!(buttons & kLButton)) return kMouseEventHandled;
  if (where == lastPoint) return kMouseEventHandled;
  lastPoint = where;

  if (modeLinear) {
    // Right and up increase the value.
    const auto distance = static_cast<float>((where.x - firstPoint.x) + (firstPoint.y - where.y));
    if (buttons != oldButton) {
      // Shift changed: the entry value moves so that the value does not jump.
      range = (buttons & kShift) ? zoomFactor * kLinearDragPixels : kLinearDragPixels;
      const float newCoef = (vmax - vmin) / range;
      entryValue += (coef - newCoef) * distance;
      coef = newCoef;
      oldButton = buttons;
    }
    value = distance * coef + entryValue;
    bounceValue();
  } else {
    CPoint local = where - size.getTopLeft();
    const float v = valueFromPoint(local);
    const float halfRange = (vmax - vmin) * 0.5f;
    // A jump across the dead arc is refused: the knob stays at the end it reached until the
    // pointer comes back near the last accepted value.
    value = v;
    if (startValue - v > halfRange) {
      value = vmax;
    } else if (v - startValue > halfRange) {
      value = vmin;
    } else {
      startValue = v;
    }
  }
  if (value != oldValue && listener) listener->valueChanged(this);
  if (isDirty()) invalid();
  return kMouseEventHandled;
}

bool CKnob::onWheel(const CPoint& /*where*/, const float& distance, const CButtonState& buttons) {
  if (!mouseEnabled) return false;
  return stepByWheel(distance, buttons);
}

int32_t CKnob::onKeyDown(VstKeyCode& keyCode) { return stepByKey(keyCode); }

bool CKnob::isTypeOf(const char* name) const {
  return name && (std::strcmp(name, "CKnob") == 0 || CControl::isTypeOf(name));
}

CView* CKnob::newCopy() const { return new CKnob(*this); }

void CKnob::mouse(CDrawContext* context, CPoint& where, CButtonState buttons) {
  if (!mouseEnabled) return;
  buttons = currentButtons(buttons);
  if (!(buttons & kLButton)) return;
  if (modifierClickTaken(buttons) || checkDefaultValue(buttons)) return;
  startDrag(where, buttons);
  trackUntilReleased(context, where);
}

void CKnob::compute() {
  aCoef = (vmax - vmin) / rangeAngle;
  bCoef = vmin - aCoef * startAngle;
  halfAngle = (kTwoPi - std::fabs(rangeAngle)) * 0.5f;
  setDirty(true);
}

void CKnob::setStartAngle(float val) {
  startAngle = val;
  compute();
}

float CKnob::getStartAngle() const { return startAngle; }

void CKnob::setRangeAngle(float val) {
  rangeAngle = val;
  compute();
}

float CKnob::getRangeAngle() const { return rangeAngle; }

void CKnob::valueToPoint(CPoint& point) const {
  const float alpha = (value - bCoef) / aCoef;
  const float reach = radius - static_cast<float>(inset);
  // Half a pixel up, then truncated. Screen y grows downwards, angles turn counter-clockwise.
  const float x = radius + std::cos(alpha) * reach + 0.5f;
  const float y = radius - std::sin(alpha) * reach + 0.5f;
  point.x = truncateClamped(x);
  point.y = truncateClamped(y);
}

float CKnob::valueFromPoint(CPoint& point) const {
  float alpha =
      std::atan2(radius - static_cast<float>(point.y), static_cast<float>(point.x) - radius);
  if (alpha < 0.0f) alpha += kTwoPi;
  float a2 = alpha - startAngle;
  if (rangeAngle < 0.0f) {
    a2 -= rangeAngle;
    const float a3 = oneTurnIntoCircle(a2);
    // The half of the dead arc next to the sweep's end gives vmax, the other half vmin.
    if (a3 > halfAngle - rangeAngle) return vmax;
    if (a3 > -rangeAngle) return vmin;
    if (a2 > halfAngle - rangeAngle) {
      a2 -= kTwoPi;
    } else if (a2 < -halfAngle) {
      a2 += kTwoPi;
    }
    return vmax + aCoef * a2;
  }
  const float a3 = oneTurnIntoCircle(a2);
  if (a3 > halfAngle + rangeAngle) return vmin;
  if (a3 > rangeAngle) return vmax;
  if (a2 > halfAngle + rangeAngle) {
    a2 -= kTwoPi;
  } else if (a2 < -halfAngle) {
    a2 += kTwoPi;
  }
  return vmin + aCoef * a2;
}

int32_t CKnob::getInsetValue() const { return inset; }
void CKnob::setInsetValue(int32_t val) { inset = val; }
CColor CKnob::getColorShadowHandle() const { return colorShadowHandle; }

void CKnob::setColorShadowHandle(CColor color) {
  colorShadowHandle = color;
  setDirty(true);
}

CColor CKnob::getColorHandle() const { return colorHandle; }

void CKnob::setColorHandle(CColor color) {
  colorHandle = color;
  setDirty(true);
}

CBitmap* CKnob::getHandleBitmap() const { return handleBitmap; }

void CKnob::setHandleBitmap(CBitmap* bitmap) {
  if (bitmap) bitmap->remember();
  if (handleBitmap) handleBitmap->forget();
  handleBitmap = bitmap;
  if (handleBitmap) inset = insetForHandle(handleBitmap);
}

void CKnob::setZoomFactor(float val) { zoomFactor = val; }
float CKnob::getZoomFactor() const { return zoomFactor; }

}  // namespace gui

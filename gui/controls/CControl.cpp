#include "CControl.h"

#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "TrackingScope.h"
#include "VstKeyCode.h"

namespace gui {

namespace {
// Virtual keys of the host's key record.
constexpr int32_t kKeyLeft = 11;
constexpr int32_t kKeyUp = 12;
constexpr int32_t kKeyRight = 13;
constexpr int32_t kKeyDown = 14;
constexpr int32_t kKeyModifierShift = 1;
constexpr float kFineStep = 0.1f;
}  // namespace

CControl::CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag) {
  mouseEnabled = true;
  transparencyEnabled = false;
  if (background) background->remember();
  if (this->background) this->background->forget();
  this->background = background;
  CControl::setDirty(true);
}

CControl::CControl(const CControl& other)
    : CView(other),
      listener(other.listener),
      tag(other.tag),
      oldValue(other.oldValue),
      defaultValue(other.defaultValue),
      value(other.value),
      vmin(other.vmin),
      vmax(other.vmax),
      wheelInc(other.wheelInc) {
  CControl::setDirty(true);
}

CControl::~CControl() = default;

bool CControl::isDirty() const {
  // Written so that a NaN on either side counts as a change.
  return !(oldValue == value) || CView::isDirty();
}

void CControl::setDirty(bool flag) {
  CView::setDirty(flag);
  if (flag) {
    oldValue = value == -1.0f ? 0.0f : -1.0f;
  } else {
    oldValue = value;
  }
}

bool CControl::isTypeOf(const char* name) const {
  return name && (std::strcmp(name, "CControl") == 0 || CView::isTypeOf(name));
}

bool CControl::listenerTakesModifierClick(const CButtonState& buttons) {
  return listener && listener->controlModifierClicked(this, buttons) != 0;
}

void CControl::doIdleStuff() {
  if (frame) frame->doIdleStuff();
}

void CControl::setValue(float val) { value = val; }
float CControl::getValue() const { return value; }
void CControl::setMin(float val) { vmin = val; }
float CControl::getMin() const { return vmin; }
void CControl::setMax(float val) { vmax = val; }
float CControl::getMax() const { return vmax; }
void CControl::setOldValue(float val) { oldValue = val; }
float CControl::getOldValue() const { return oldValue; }
void CControl::setDefaultValue(float val) { defaultValue = val; }
float CControl::getDefaultValue() const { return defaultValue; }

void CControl::bounceValue() {
  if (value > vmax) {
    value = vmax;
  } else if (value < vmin) {
    value = vmin;
  }
}

bool CControl::checkDefaultValue(CButtonState buttons) {
  if (buttons != (kLButton | kControl)) return false;
  beginEdit();
  value = getDefaultValue();
  if (isDirty() && listener) listener->valueChanged(this);
  endEdit();
  return true;
}

void CControl::setTag(int32_t val) { tag = val; }
int32_t CControl::getTag() const { return tag; }

void CControl::beginEdit() {
  if (listener) listener->controlBeginEdit(this);
  if (frame) {
    frame->setFocusView(this);
    frame->beginEdit(tag);
  }
}

void CControl::endEdit() {
  if (frame) frame->endEdit(tag);
  if (listener) listener->controlEndEdit(this);
}

CControlListener* CControl::getListener() const { return listener; }
void CControl::setListener(CControlListener* newListener) { listener = newListener; }
void CControl::setBackOffset(const CPoint& offset) { backOffset = offset; }
void CControl::copyBackOffset() { backOffset = size.getTopLeft(); }
void CControl::setWheelInc(float val) { wheelInc = val; }
float CControl::getWheelInc() const { return wheelInc; }

void CControl::reportChange() {
  if (!isDirty() || !listener) return;
  beginEdit();
  listener->valueChanged(this);
  endEdit();
}

int32_t CControl::truncateClamped(float position) {
  constexpr float kFarOff = 1.0e6f;
  if (!(position > -kFarOff)) return position != position ? 0 : -1000000;
  if (position > kFarOff) return 1000000;
  return static_cast<int32_t>(position);
}

void CControl::drawBitmap(CBitmap* bitmap, CDrawContext* context, const CRect& rect,
                          const CPoint& offset) const {
  if (!bitmap) return;
  if (transparencyEnabled) {
    bitmap->drawTransparent(context, rect, offset);
  } else {
    bitmap->draw(context, rect, offset);
  }
}

bool CControl::isMarked() const { return frame && frame->isMarked(this); }

void CControl::drawMark(CDrawContext* context, const CRect& rect, int32_t style) {
  // White over the art: a third for a handle, which stays readable; two thirds for a ring.
  constexpr CColor kLighten = {255, 255, 255, 84};
  constexpr CColor kRing = {255, 255, 255, 170};
  const CColor fill = context->getFillColor();
  const CColor line = context->getFrameColor();
  const int32_t width = context->getLineWidth();
  context->setFillColor(kLighten);
  context->setFrameColor(kRing);
  context->setLineWidth(1);
  context->drawRect(rect, style);
  context->setFillColor(fill);
  context->setFrameColor(line);
  context->setLineWidth(width);
}

CButtonState CControl::currentButtons(CButtonState buttons) const {
  if (buttons != -1) return buttons;
  return frame ? frame->getCurrentMouseButtons() : 0;
}

bool CControl::modifierClickTaken(const CButtonState& buttons) {
  return (buttons & (kShift | kControl | kAlt | kApple)) && listenerTakesModifierClick(buttons);
}

void CControl::trackUntilReleased(CDrawContext* context, const CPoint& where) {
  beginEdit();
  // The frame and this control outlive the loop even when the editor closes in an idle call.
  const TrackingScope scope(frame, this, [this] { endEdit(); });
  while (frame && scope.frameAlive()) {
    const CButtonState now = frame->getCurrentMouseButtons();
    if (!(now & kLButton)) break;
    CPoint current = where;
    getMouseLocation(context, current);
    onMouseMoved(current, now);
    doIdleStuff();
  }
}

bool CControl::stepByWheel(float distance, const CButtonState& buttons) {
  value += (buttons & kShift) ? distance * kFineStep * wheelInc : distance * wheelInc;
  bounceValue();
  reportChange();
  return true;
}

int32_t CControl::stepByKey(const VstKeyCode& keyCode) {
  float step = 0.0f;
  switch (keyCode.virt) {
    case kKeyLeft:
    case kKeyDown:
      step = -1.0f;
      break;
    case kKeyUp:
    case kKeyRight:
      step = 1.0f;
      break;
    default:
      return kKeyNotHandled;
  }
  if (keyCode.modifier & kKeyModifierShift) step *= kFineStep;
  value += step * wheelInc;
  bounceValue();
  reportChange();
  return 1;
}

}  // namespace gui

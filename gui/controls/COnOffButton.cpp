#include "COnOffButton.h"

#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "TrackingScope.h"

namespace gui {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, int32_t tag,
                           CBitmap* background, int32_t style)
    : CControl(size, listener, tag, background), style(style) {
  takesMarksFlag = true;
}

COnOffButton::COnOffButton(const COnOffButton& other) : CControl(other), style(other.style) {}

COnOffButton::~COnOffButton() = default;

void COnOffButton::draw(CDrawContext* context) {
  const int32_t stateTop = value != 0.0f && background ? background->getHeight() / 2 : 0;
  drawBitmap(background, context, size, CPoint(0, stateTop));
  if (isMarked()) drawMark(context, size, kDrawStroked);
  setDirty(false);
}

void COnOffButton::flip() {
  // Whatever is not 0 once truncated counts as on: 0.5 turns on, 1 turns off; NaN counts as off.
  value = truncateClamped(value) != 0 ? 0.0f : 1.0f;
}

void COnOffButton::reportFlip() {
  if (!listener) return;
  beginEdit();
  listener->valueChanged(this);
  endEdit();
}

CMouseEventResult COnOffButton::onMouseDown(CPoint& /*where*/, const CButtonState& buttons) {
  if (!(buttons & kLButton)) return kMouseEventNotHandled;
  // The idle pass may close the editor: the frame and the button live until the click is done.
  const TrackingScope scope(frame, this, nullptr);
  flip();
  // With kPreListenerUpdate the idle pass below paints the new state before the listener runs.
  invalid();
  if (style == kPostListenerUpdate) reportFlip();
  doIdleStuff();
  if (style == kPreListenerUpdate) reportFlip();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COnOffButton::isTypeOf(const char* name) const {
  return name && (std::strcmp(name, "COnOffButton") == 0 || CControl::isTypeOf(name));
}

CView* COnOffButton::newCopy() const { return new COnOffButton(*this); }

void COnOffButton::mouse(CDrawContext* /*context*/, CPoint& /*where*/, CButtonState buttons) {
  if (!mouseEnabled) return;
  buttons = currentButtons(buttons);
  if (modifierClickTaken(buttons) || !(buttons & kLButton)) return;
  const TrackingScope scope(frame, this, nullptr);
  flip();
  if (style == kPostListenerUpdate) reportFlip();
  doIdleStuff();
  if (style == kPreListenerUpdate) reportFlip();
}

int32_t COnOffButton::getStyle() const { return style; }
void COnOffButton::setStyle(int32_t val) { style = val; }

}  // namespace gui

#include "CSlider.h"

#include <algorithm>
#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"

namespace gui {

CSlider::CSlider(const CRect& size, CControlListener* listener, int32_t tag, int32_t minPos,
                 int32_t maxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
                 int32_t style)
    : CControl(size, listener, tag, background),
      offset(offset),
      handleBitmap(handle),
      style(style) {
  if (handleBitmap) {
    handleBitmap->remember();
    handleWidth = handleBitmap->getWidth();
    handleHeight = handleBitmap->getHeight();
  }
  controlWidth = size.width();
  controlHeight = size.height();
  trackStart = isHorizontal() ? minPos - size.left : minPos - size.top;
  travel = maxPos - minPos;
  CSlider::setOffsetHandle(CPoint(0, 0));
  wantsFocusFlag = true;
  takesMarksFlag = true;
}

CSlider::CSlider(const CSlider& other)
    : CControl(other),
      offset(other.offset),
      offsetHandle(other.offsetHandle),
      handleBitmap(other.handleBitmap),
      style(other.style),
      handleWidth(other.handleWidth),
      handleHeight(other.handleHeight),
      travel(other.travel),
      trackStart(other.trackStart),
      handleMinPos(other.handleMinPos),
      handleMaxPos(other.handleMaxPos),
      controlWidth(other.controlWidth),
      controlHeight(other.controlHeight),
      zoomFactor(other.zoomFactor),
      drawTransparentHandle(other.drawTransparentHandle),
      freeClick(other.freeClick) {
  if (handleBitmap) handleBitmap->remember();
}

CSlider::~CSlider() {
  if (handleBitmap) handleBitmap->forget();
}

float CSlider::positionShare() const { return (style & (kLeft | kTop)) ? value : 1.0f - value; }

CRect CSlider::getHandleRect() const {
  // The drawing takes the value as it is: it assumes a range of 0..1.
  const int32_t along = truncateClamped(static_cast<float>(travel) * positionShare());
  CRect rect;
  if (isHorizontal()) {
    rect.top = offsetHandle.y;
    rect.bottom = rect.top + handleHeight;
    rect.left = std::max(along + offsetHandle.x, handleMinPos);
    rect.right = std::min(rect.left + handleWidth, handleMaxPos);
  } else {
    rect.left = offsetHandle.x;
    rect.right = rect.left + handleWidth;
    rect.top = std::max(along + offsetHandle.y, handleMinPos);
    rect.bottom = std::min(rect.top + handleHeight, handleMaxPos);
  }
  return rect.offset(size.left, size.top);
}

void CSlider::draw(CDrawContext* context) {
  const CRect area(size.left, size.top, size.left + controlWidth, size.top + controlHeight);
  drawBitmap(background, context, area, offset);
  if (handleBitmap) {
    if (drawTransparentHandle) {
      handleBitmap->drawTransparent(context, getHandleRect(), CPoint(0, 0));
    } else {
      handleBitmap->draw(context, getHandleRect(), CPoint(0, 0));
    }
    if (isMarked()) drawMark(context, getHandleRect(), kDrawFilled);
    if (!shownHandle.isEmpty()) shownHandle.unite(getHandleRect());
  }
  setDirty(false);
}

void CSlider::invalid() {
  const CRect handle = getHandleRect();
  // A control marked dirty (its look or size changed) redraws whole; so does one whose handle
  // has not been placed yet. The mark is the view's own flag, not a change of value.
  const bool onlyMoved = !dirty && handleBitmap && !shownHandle.isEmpty();
  CRect rect = size;
  if (onlyMoved) rect = shownHandle.unite(handle);
  shownHandle = handleBitmap ? handle : CRect();
  setDirty(false);
  invalidRect(rect);
}

bool CSlider::grab(const CPoint& where, const CButtonState& buttons) {
  const bool horizontal = isHorizontal();
  const int32_t along = horizontal ? where.x : where.y;
  const int32_t across = horizontal ? where.y : where.x;
  const int32_t handleAlong = horizontal ? handleWidth : handleHeight;
  const int32_t handleAcross = horizontal ? handleHeight : handleWidth;
  const int32_t trackOrigin = horizontal ? size.left + offsetHandle.x : size.top + offsetHandle.y;
  const int32_t acrossOrigin = horizontal ? size.top + offsetHandle.y : size.left + offsetHandle.x;

  grabOffset = trackOrigin;
  if (freeClick) {
    // The pointer holds the handle at its middle.
    grabOffset += handleAlong / 2 - 1;
  } else {
    const int32_t handleStart =
        truncateClamped(static_cast<float>(travel) * positionShare()) + trackOrigin;
    const bool onHandle = handleStart <= along && along <= handleStart + handleAlong &&
                          acrossOrigin <= across && across <= acrossOrigin + handleAcross;
    if (!onHandle) return false;
    // The handle keeps the point where it was gripped.
    grabOffset += along - handleStart;
  }
  zoomAnchor = vmin - 1.0f;
  oldButton = buttons;
  return true;
}

CMouseEventResult CSlider::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!(buttons & kLButton)) return kMouseEventNotHandled;
  if (!grab(where, buttons)) return kMouseEventNotHandled;
  beginEdit();
  if (checkDefaultValue(buttons)) {
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  }
  // A fine drag never jumps on the press.
  if (buttons & kShift) return kMouseEventHandled;
  return onMouseMoved(where, buttons);
}

CMouseEventResult CSlider::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  endEdit();
  return kMouseEventHandled;
}

CMouseEventResult CSlider::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!(buttons & kLButton)) return kMouseEventHandled;
  const float normalized = (value - vmin) / (vmax - vmin);
  const bool shift = (buttons & kShift) != 0;
  // The fine drag's anchor: taken on the first move, on every move without Shift and whenever
  // Shift is pressed. Releases are remembered too, so that a second Shift press re-anchors
  // instead of jumping back to an anchor from before.
  if (zoomAnchor == vmin - 1.0f) zoomAnchor = normalized;
  if (!shift || buttons != oldButton) zoomAnchor = normalized;
  oldButton = buttons;
  const int32_t along = isHorizontal() ? where.x : where.y;
  float share = static_cast<float>(along - grabOffset) / static_cast<float>(travel);
  if (style & (kRight | kBottom)) share = 1.0f - share;
  if (shift) share = zoomAnchor + (share - zoomAnchor) / zoomFactor;
  value = vmin + share * (vmax - vmin);
  bounceValue();
  if (isDirty() && listener) listener->valueChanged(this);
  if (isDirty()) invalid();
  return kMouseEventHandled;
}

bool CSlider::onWheel(const CPoint& /*where*/, const float& distance, const CButtonState& buttons) {
  if (!mouseEnabled) return false;
  return stepByWheel(distance, buttons);
}

int32_t CSlider::onKeyDown(VstKeyCode& keyCode) { return stepByKey(keyCode); }

bool CSlider::isTypeOf(const char* name) const {
  return name && (std::strcmp(name, "CSlider") == 0 || CControl::isTypeOf(name));
}

CView* CSlider::newCopy() const { return new CSlider(*this); }

void CSlider::mouse(CDrawContext* context, CPoint& where, CButtonState buttons) {
  if (!mouseEnabled) return;
  buttons = currentButtons(buttons);
  if (modifierClickTaken(buttons) || checkDefaultValue(buttons)) return;
  if (!(buttons & kLButton) || !grab(where, buttons)) return;
  trackUntilReleased(context, where);
}

void CSlider::setDrawTransparentHandle(bool flag) {
  drawTransparentHandle = flag;
  shownHandle = CRect();
}
void CSlider::setFreeClick(bool flag) { freeClick = flag; }
bool CSlider::getFreeClick() const { return freeClick; }

void CSlider::setOffsetHandle(const CPoint& val) {
  offsetHandle = val;
  shownHandle = CRect();
  if (isHorizontal()) {
    handleMinPos = offsetHandle.x + trackStart;
    handleMaxPos = handleMinPos + travel + handleWidth;
  } else {
    handleMinPos = offsetHandle.y + trackStart;
    handleMaxPos = handleMinPos + travel + handleHeight;
  }
}

CPoint CSlider::getOffsetHandle() const { return offsetHandle; }
void CSlider::setOffset(const CPoint& val) {
  offset = val;
  shownHandle = CRect();
}
CPoint CSlider::getOffset() const { return offset; }
int32_t CSlider::getStyle() const { return style; }

void CSlider::setHandle(CBitmap* handle) {
  if (handle) handle->remember();
  if (handleBitmap) handleBitmap->forget();
  handleBitmap = handle;
  shownHandle = CRect();
  if (handleBitmap) {
    handleWidth = handleBitmap->getWidth();
    handleHeight = handleBitmap->getHeight();
  }
}

CBitmap* CSlider::getHandle() const { return handleBitmap; }
void CSlider::setZoomFactor(float val) { zoomFactor = val; }
float CSlider::getZoomFactor() const { return zoomFactor; }

}  // namespace gui

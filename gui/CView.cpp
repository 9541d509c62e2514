#include "CView.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "CViewContainer.h"
#include "ScaleFactor.h"
#include "platform/PlatformWindow.h"

namespace gui {

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

// A copy starts with one reference of its own, not the original's count.
// NOLINTNEXTLINE(bugprone-copy-constructor-init)
CView::CView(const CView& other)
    : CBaseObject(),
      size(other.size),
      mouseableArea(other.mouseableArea),
      mouseEnabled(other.mouseEnabled),
      transparencyEnabled(other.transparencyEnabled),
      wantsFocusFlag(other.wantsFocusFlag),
      takesMarksFlag(other.takesMarksFlag),
      background(other.background),
      attributes(other.attributes) {
  if (background) background->remember();
}

CView::~CView() {
  if (background) background->forget();
}

CViewContainer* CView::asContainer(CView* view) {
  if (view && view->notify(nullptr, kMsgCheckIfViewContainer) == kMessageNotified) {
    return static_cast<CViewContainer*>(view);
  }
  return nullptr;
}

void CView::draw(CDrawContext* context) {
  if (background) {
    if (transparencyEnabled) {
      background->drawTransparent(context, size, CPoint(0, 0));
    } else {
      background->draw(context, size, CPoint(0, 0));
    }
  }
  setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/) { draw(context); }

bool CView::checkUpdate(const CRect& updateRect) const { return updateRect.rectOverlap(size); }

bool CView::isDirty() const { return dirty; }

void CView::setDirty(bool flag) { dirty = flag; }

void CView::invalidRect(const CRect& rect) {
  if (!attachedFlag || !visible) return;
  if (parentView) {
    parentView->invalidRect(rect);
  } else if (frame) {
    frame->invalidRect(rect);
  }
}

void CView::invalid() {
  setDirty(false);
  invalidRect(size);
}

void CView::setVisible(bool flag) {
  if (visible == flag) return;
  visible = flag;
  setDirty(true);
}

CMouseEventResult CView::onMouseDown(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseMoved(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseEntered(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseExited(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventNotImplemented;
}

bool CView::hitTest(const CPoint& where, const CButtonState& /*buttons*/) {
  return mouseableArea.pointInsideInclusive(where);
}

bool CView::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                    const CButtonState& buttons) {
  // A horizontal notch to the right counts as a vertical notch downwards.
  return onWheel(where, axis == kMouseWheelAxisX ? -distance : distance, buttons);
}

bool CView::onWheel(const CPoint& /*where*/, const float& /*distance*/,
                    const CButtonState& /*buttons*/) {
  return false;
}

void CView::setMouseEnabled(bool enable) { mouseEnabled = enable; }

bool CView::getMouseEnabled() const { return mouseEnabled; }

void CView::setMouseableArea(const CRect& rect) { mouseableArea = rect; }

const CRect& CView::getMouseableArea() const { return mouseableArea; }

CRect& CView::getMouseableArea(CRect& rect) const {
  rect = mouseableArea;
  return rect;
}

bool CView::onDrop(CDragContainer* /*drag*/, const CPoint& /*where*/) { return false; }

void CView::onDragEnter(CDragContainer* /*drag*/, const CPoint& /*where*/) {}

void CView::onDragLeave(CDragContainer* /*drag*/, const CPoint& /*where*/) {}

void CView::onDragMove(CDragContainer* /*drag*/, const CPoint& /*where*/) {}

int32_t CView::onKeyDown(VstKeyCode& /*keyCode*/) { return kKeyNotHandled; }

int32_t CView::onKeyUp(VstKeyCode& /*keyCode*/) { return kKeyNotHandled; }

void CView::setViewSize(const CRect& rect, bool invalidate) {
  size = rect;
  if (invalidate) setDirty(true);
}

const CRect& CView::getViewSize() const { return size; }

CRect& CView::getViewSize(CRect& rect) const {
  rect = size;
  return rect;
}

CRect CView::getVisibleSize() {
  if (CViewContainer* container = asContainer(parentView)) {
    return container->getVisibleSize(size);
  }
  if (frame) return frame->getVisibleSize(size);
  return CRect(0, 0, 0, 0);
}

void CView::parentSizeChanged() {}

CPoint& CView::frameToLocal(CPoint& point) const {
  if (CViewContainer* container = asContainer(parentView)) return container->frameToLocal(point);
  return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
  if (CViewContainer* container = asContainer(parentView)) return container->localToFrame(point);
  return point;
}

void CView::looseFocus() {}

void CView::takeFocus() {}

bool CView::wantsFocus() const { return wantsFocusFlag; }

void CView::setWantsFocus(bool flag) { wantsFocusFlag = flag; }

void CView::setBackground(CBitmap* bitmap) {
  // Remembering first keeps a bitmap alive that is set again as its own replacement.
  if (bitmap) bitmap->remember();
  if (background) background->forget();
  background = bitmap;
  setDirty(true);
}

CBitmap* CView::getBackground() const { return background; }

void CView::setTransparency(bool flag) { transparencyEnabled = flag; }

bool CView::getTransparency() const { return transparencyEnabled; }

bool CView::removed(CView* /*parent*/) {
  if (!attachedFlag) return false;
  if (frame) frame->onViewRemoved(this);
  parentView = nullptr;
  frame = nullptr;
  attachedFlag = false;
  return true;
}

bool CView::attached(CView* parent) {
  if (attachedFlag) return false;
  parentView = parent;
  frame = parent ? parent->getFrame() : nullptr;
  attachedFlag = true;
  return true;
}

GUIEditorInterface* CView::getEditor() const { return frame ? frame->getEditor() : nullptr; }

bool CView::isTypeOf(const char* name) const { return name && std::strcmp(name, "CView") == 0; }

CView* CView::newCopy() const { return new CView(*this); }

void CView::mouse(CDrawContext* /*context*/, CPoint& /*where*/, CButtonState /*buttons*/) {}

void CView::getMouseLocation(CDrawContext* context, CPoint& point) {
  if (!context) return;
  if (CViewContainer* container = asContainer(parentView)) {
    const CPoint topLeft = container->getViewSize().getTopLeft();
    context->offsetScreen += topLeft;
    context->offset += topLeft;
    container->getMouseLocation(context, point);
    context->offsetScreen -= topLeft;
    context->offset -= topLeft;
    return;
  }
  point = ScaleFactor::toLogical(platform::getCursorScreenPosition() - context->screenOffset(),
                                 context->getScale());
}

void CView::setParentView(CView* view) { parentView = view; }

void CView::setFrame(CFrame* newFrame) { frame = newFrame; }

CPoint& CView::getFrameTopLeftPos(CPoint& topLeft) const {
  topLeft += size.getTopLeft();
  if (CViewContainer* container = asContainer(parentView)) {
    return container->getFrameTopLeftPos(topLeft);
  }
  return topLeft;
}

bool CView::listenerTakesModifierClick(const CButtonState& /*buttons*/) { return false; }

bool CView::setAttribute(CViewAttributeID id, int32_t byteCount, const void* bytes) {
  if (byteCount < 0 || (byteCount > 0 && !bytes)) return false;
  std::vector<uint8_t> data;
  if (byteCount > 0) {
    const auto* first = static_cast<const uint8_t*>(bytes);
    data.assign(first, first + byteCount);
  }
  for (Attribute& attribute : attributes) {
    if (attribute.id == id) {
      attribute.bytes = std::move(data);
      return true;
    }
  }
  attributes.push_back({id, std::move(data)});
  return true;
}

bool CView::getAttributeSize(CViewAttributeID id, int32_t& byteCount) const {
  for (const Attribute& attribute : attributes) {
    if (attribute.id == id) {
      byteCount = static_cast<int32_t>(attribute.bytes.size());
      return true;
    }
  }
  return false;
}

bool CView::getAttribute(CViewAttributeID id, int32_t capacity, void* bytes,
                         int32_t& byteCount) const {
  for (const Attribute& attribute : attributes) {
    if (attribute.id != id) continue;
    const auto count = static_cast<int32_t>(attribute.bytes.size());
    if (count > capacity || (count > 0 && !bytes)) return false;
    std::copy(attribute.bytes.begin(), attribute.bytes.end(), static_cast<uint8_t*>(bytes));
    byteCount = count;
    return true;
  }
  return false;
}

bool CView::removeAttribute(CViewAttributeID id) {
  const auto it = std::find_if(attributes.begin(), attributes.end(),
                               [id](const Attribute& a) { return a.id == id; });
  if (it == attributes.end()) return false;
  attributes.erase(it);
  return true;
}

}  // namespace gui

#include "CViewContainer.h"

#include <cstring>
#include <iterator>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "COffscreenContext.h"
#include "TrackingScope.h"

namespace gui {

CViewContainer::CViewContainer(const CRect& size) : CView(size) { setDirty(true); }

CViewContainer::CViewContainer(const CViewContainer& other)
    : CView(other),
      backgroundColor(other.backgroundColor),
      backgroundOffset(other.backgroundOffset),
      drawInOffscreen(other.drawInOffscreen) {
  for (CView* child : other.children) addView(child->newCopy());
}

CViewContainer::~CViewContainer() {
  CViewContainer::removeAll(true);
  releaseOffscreen();
}

void CViewContainer::releaseOffscreen() {
  if (offscreenContext) offscreenContext->forget();
  offscreenContext = nullptr;
}

CMessageResult CViewContainer::notify(CBaseObject* /*sender*/, const char* message) {
  return message == kMsgCheckIfViewContainer ? kMessageNotified : kMessageUnknown;
}

void CViewContainer::draw(CDrawContext* context) { drawRect(context, size); }

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
  if (!context) return;
  if (drawInOffscreen && !offscreenContext) {
    offscreenContext = new COffscreenContext(frame, size.width(), size.height(), kBlackCColor);
  }
  const CPoint topLeft = size.getTopLeft();
  CDrawContext* target = context;
  if (drawInOffscreen) {
    target = offscreenContext;
  } else {
    context->offsetScreen += topLeft;
    context->offset += topLeft;
  }

  CRect clipped = updateRect;
  clipped.bound(size);
  CRect local = clipped;
  local.offset(-topLeft.x, -topLeft.y);

  CRect savedClip = target->getClipRect();
  if (target == offscreenContext && static_cast<CView*>(frame) != this) {
    // The off-screen surface holds only this container, so its clip starts at the origin.
    savedClip.moveTo(0, 0);
  }
  CRect clip = local;
  clip.bound(savedClip);
  target->setClipRect(clip);

  drawBackgroundRect(target, local);

  CRect currentClip = clip;
  for (CView* child : children) {
    if (!checkUpdateRect(child, local)) continue;
    CRect childClip = child->getViewSize();
    childClip.bound(clip);
    if (childClip.width() == 0 || childClip.height() == 0) continue;
    if (childClip != currentClip) {
      target->setClipRect(childClip);
      currentClip = childClip;
    }
    child->drawRect(target, local);
  }

  target->setClipRect(savedClip);

  if (target == offscreenContext) {
    if (CBitmap* bitmap = offscreenContext->getBitmap()) {
      bitmap->draw(context, clipped, local.getTopLeft());
    }
  } else {
    context->offsetScreen -= topLeft;
    context->offset -= topLeft;
  }
  setDirty(false);
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect) {
  if (!context) return;
  if (background) {
    const CRect savedClip = context->getClipRect();
    CRect clip = rect;
    clip.bound(savedClip);
    context->setClipRect(clip);
    // Only the part inside the clip: copying a piece costs the piece, not the whole picture.
    CRect part(0, 0, background->getWidth(), background->getHeight());
    part.bound(clip);
    const CPoint source = backgroundOffset + part.getTopLeft();
    if (!part.isEmpty() && transparencyEnabled) {
      background->drawTransparent(context, part, source);
    } else if (!part.isEmpty()) {
      background->draw(context, part, source);
    }
    context->setClipRect(savedClip);
  } else if (!transparencyEnabled) {
    context->setFillColor(backgroundColor);
    context->setFrameColor(backgroundColor);
    context->drawRect(rect, kDrawFilledAndStroked);
  }
}

bool CViewContainer::isDirty() const {
  if (dirty) return true;
  const CRect bounds(0, 0, size.width(), size.height());
  for (const CView* child : children) {
    if (!child->isDirty()) continue;
    CRect r = child->getViewSize();
    r.bound(bounds);
    if (!r.isEmpty()) return true;
  }
  return false;
}

void CViewContainer::invalidRect(const CRect& rect) {
  if (!visible) return;
  CRect r = rect;
  r.offset(size.left, size.top);
  r.bound(size);
  if (r.isEmpty()) return;
  if (parentView) {
    parentView->invalidRect(r);
  } else if (frame && static_cast<CView*>(frame) != this) {
    frame->invalidRect(r);
  }
}

void CViewContainer::invalid() {
  if (!visible) return;
  if (parentView) {
    parentView->invalidRect(size);
  } else if (frame && static_cast<CView*>(frame) != this) {
    frame->invalidRect(size);
  }
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons) {
  CPoint local = where - size.getTopLeft();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    CView* child = *it;
    if (!child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, buttons)) {
      continue;
    }
    if (buttons != -1 && (buttons & (kShift | kControl | kAlt | kApple)) &&
        child->isTypeOf("CControl") && child->listenerTakesModifierClick(buttons)) {
      return kMouseEventHandled;
    }
    const CMouseEventResult result = child->onMouseDown(local, buttons);
    if (result == kMouseEventNotImplemented) {
      // A container answers this only after a view inside it has tracked the press itself.
      if (frame && !asContainer(child)) {
        // The view's loop may close the editor: the frame lives until the context is back.
        const TrackingScope keepFrame(frame, nullptr, nullptr);
        CDrawContext* context = frame->createDrawContext();
        child->mouse(context, local, buttons);
        if (context) context->forget();
      }
    } else if (result == kMouseEventHandled) {
      mouseDownView = child;
    }
    return result;
  }
  return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons) {
  if (!mouseDownView) return kMouseEventNotHandled;
  CPoint local = where - size.getTopLeft();
  CView* view = mouseDownView;
  mouseDownView = nullptr;
  view->onMouseUp(local, buttons);
  return kMouseEventHandled;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!mouseDownView) return kMouseEventNotHandled;
  CPoint local = where - size.getTopLeft();
  if (mouseDownView->onMouseMoved(local, buttons) == kMouseEventHandled) {
    return kMouseEventHandled;
  }
  mouseDownView = nullptr;
  return kMouseEventNotHandled;
}

bool CViewContainer::onWheel(const CPoint& where, const CMouseWheelAxis& axis,
                             const float& distance, const CButtonState& buttons) {
  CView* child = getViewAt(where, false);
  if (!child) return false;
  const CPoint local = where - size.getTopLeft();
  return child->onWheel(local, axis, distance, buttons);
}

bool CViewContainer::onWheel(const CPoint& where, const float& distance,
                             const CButtonState& buttons) {
  return onWheel(where, kMouseWheelAxisY, distance, buttons);
}

bool CViewContainer::onDrop(CDragContainer* drag, const CPoint& where) {
  if (!frame) return false;
  CView* view = getViewAt(where, false);
  const CPoint local = where - size.getTopLeft();
  if (view != currentDragView) {
    if (currentDragView) currentDragView->onDragLeave(drag, local);
    currentDragView = view;
  }
  if (!view) return false;
  const bool result = view->onDrop(drag, local);
  // The drop may have removed the view, which clears the drag view.
  if (currentDragView == view) {
    view->onDragLeave(drag, local);
    currentDragView = nullptr;
  }
  return result;
}

void CViewContainer::onDragEnter(CDragContainer* drag, const CPoint& where) {
  if (!frame) return;
  const CPoint local = where - size.getTopLeft();
  if (currentDragView) currentDragView->onDragLeave(drag, local);
  currentDragView = getViewAt(where, false);
  if (currentDragView) currentDragView->onDragEnter(drag, local);
}

void CViewContainer::onDragLeave(CDragContainer* drag, const CPoint& where) {
  if (!frame) return;
  const CPoint local = where - size.getTopLeft();
  CView* view = currentDragView;
  currentDragView = nullptr;
  if (view) view->onDragLeave(drag, local);
}

void CViewContainer::onDragMove(CDragContainer* drag, const CPoint& where) {
  if (!frame) return;
  const CPoint local = where - size.getTopLeft();
  CView* view = getViewAt(where, false);
  if (view != currentDragView) {
    if (currentDragView) currentDragView->onDragLeave(drag, local);
    currentDragView = view;
    if (view) view->onDragEnter(drag, local);
  } else if (view) {
    view->onDragMove(drag, local);
  }
}

int32_t CViewContainer::onKeyDown(VstKeyCode& keyCode) {
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    const int32_t result = (*it)->onKeyDown(keyCode);
    if (result != kKeyNotHandled) return result;
  }
  return kKeyNotHandled;
}

int32_t CViewContainer::onKeyUp(VstKeyCode& keyCode) {
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    const int32_t result = (*it)->onKeyUp(keyCode);
    if (result != kKeyNotHandled) return result;
  }
  return kKeyNotHandled;
}

void CViewContainer::setViewSize(const CRect& rect, bool invalidate) {
  CView::setViewSize(rect, invalidate);
  parentSizeChanged();
  if (drawInOffscreen && offscreenContext) {
    releaseOffscreen();
    offscreenContext = new COffscreenContext(frame, size.width(), size.height(), kBlackCColor);
  }
}

void CViewContainer::parentSizeChanged() {
  for (CView* child : children) child->parentSizeChanged();
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
  point -= size.getTopLeft();
  if (CViewContainer* container = asContainer(parentView)) return container->frameToLocal(point);
  return point;
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
  point += size.getTopLeft();
  if (CViewContainer* container = asContainer(parentView)) return container->localToFrame(point);
  return point;
}

void CViewContainer::looseFocus() {
  for (CView* child : children) child->looseFocus();
}

void CViewContainer::takeFocus() {
  for (CView* child : children) child->takeFocus();
}

bool CViewContainer::removed(CView* parent) {
  if (!attachedFlag) return false;
  releaseOffscreen();
  for (CView* child : children) child->removed(this);
  return CView::removed(parent);
}

bool CViewContainer::attached(CView* parent) {
  if (attachedFlag) return false;
  frame = parent ? parent->getFrame() : nullptr;
  if (drawInOffscreen && !offscreenContext) {
    offscreenContext = new COffscreenContext(frame, size.width(), size.height(), kBlackCColor);
  }
  for (CView* child : children) child->attached(this);
  return CView::attached(parent);
}

bool CViewContainer::isTypeOf(const char* name) const {
  return name && (std::strcmp(name, "CViewContainer") == 0 || CView::isTypeOf(name));
}

CView* CViewContainer::newCopy() const { return new CViewContainer(*this); }

void CViewContainer::mouse(CDrawContext* context, CPoint& where, CButtonState buttons) {
  if (buttons == -1 && context && frame) buttons = frame->getCurrentMouseButtons();
  CPoint local = where - size.getTopLeft();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    CView* child = *it;
    if (child->getMouseEnabled() && child->hitTest(local, buttons)) {
      child->mouse(context, local, buttons);
      return;
    }
  }
}

bool CViewContainer::addView(CView* view, CView* before) {
  if (!view || view->isAttached()) return false;
  view->remember();
  auto position = children.end();
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (*it == before) {
      position = it;
      break;
    }
  }
  if (position == children.end() && !children.empty()) position = std::prev(children.end());
  children.insert(position, view);
  if (attachedFlag) {
    view->attached(this);
    view->setDirty(true);
  }
  return true;
}

bool CViewContainer::addView(CView* view, const CRect& area, bool enabled) {
  if (!addView(view)) return false;
  view->setMouseEnabled(enabled);
  view->setMouseableArea(area);
  return true;
}

bool CViewContainer::addView(CView* view) {
  if (!view || view->isAttached()) return false;
  view->remember();
  children.push_back(view);
  if (attachedFlag) {
    view->attached(this);
    view->setDirty(true);
  }
  return true;
}

void CViewContainer::forgetTransientViews(CView* view) {
  if (mouseDownView == view) mouseDownView = nullptr;
  if (currentDragView == view) currentDragView = nullptr;
}

bool CViewContainer::removeView(CView* view, bool withForget) {
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (*it != view) continue;
    children.erase(it);
    forgetTransientViews(view);
    if (attachedFlag) view->removed(this);
    if (withForget) view->forget();
    view->forget();
    return true;
  }
  return false;
}

bool CViewContainer::removeAll(bool withForget) {
  mouseDownView = nullptr;
  currentDragView = nullptr;
  while (!children.empty()) {
    CView* view = children.front();
    children.pop_front();
    if (attachedFlag) view->removed(this);
    if (withForget) view->forget();
    view->forget();
  }
  return true;
}

bool CViewContainer::isChild(CView* view) const {
  for (const CView* child : children) {
    if (child == view) return true;
  }
  return false;
}

int32_t CViewContainer::getNbViews() const { return static_cast<int32_t>(children.size()); }

CView* CViewContainer::getView(int32_t index) const {
  if (index < 0) return nullptr;
  for (CView* child : children) {
    if (index-- == 0) return child;
  }
  return nullptr;
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
  if (!frame || !visible) return nullptr;
  const CPoint local = where - size.getTopLeft();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    CView* child = *it;
    if (!child->isVisible() || !child->getMouseableArea().pointInsideInclusive(local)) continue;
    if (deep) {
      if (CViewContainer* container = asContainer(child)) return container->getViewAt(local, true);
    }
    return child;
  }
  return nullptr;
}

CViewContainer* CViewContainer::getContainerAt(const CPoint& where, bool deep) {
  if (!frame) return nullptr;
  if (deep) {
    const CPoint local = where - size.getTopLeft();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      CView* child = *it;
      if (!child->getMouseableArea().pointInsideInclusive(local)) continue;
      // The topmost child under the point decides: a plain view hides the containers below it.
      if (CViewContainer* container = asContainer(child)) {
        return container->getContainerAt(local, true);
      }
      break;
    }
  }
  return this;
}

void CViewContainer::setBackgroundColor(const CColor& color) {
  backgroundColor = color;
  setDirty(true);
}

CColor CViewContainer::getBackgroundColor() const { return backgroundColor; }

void CViewContainer::setBackgroundOffset(const CPoint& offset) { backgroundOffset = offset; }

const CPoint& CViewContainer::getBackgroundOffset() const { return backgroundOffset; }

void CViewContainer::useOffscreen(bool flag) {
  drawInOffscreen = flag;
  if (!flag) releaseOffscreen();
}

bool CViewContainer::advanceNextFocusView(CView* oldFocus, bool reverse) {
  bool passedOldFocus = oldFocus == nullptr;
  auto visit = [&](CView* child) {
    if (!passedOldFocus) {
      passedOldFocus = child == oldFocus;
      return false;
    }
    if (child->wantsFocus()) {
      if (frame) frame->setFocusView(child);
      return true;
    }
    CViewContainer* container = asContainer(child);
    return container && container->advanceNextFocusView(nullptr, reverse);
  };
  if (reverse) {
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      if (visit(*it)) return true;
    }
  } else {
    for (CView* child : children) {
      if (visit(child)) return true;
    }
  }
  return false;
}

bool CViewContainer::invalidateDirtyViews() {
  if (!visible) return true;
  if (dirty) {
    if (parentView) {
      parentView->invalidRect(size);
    } else if (frame) {
      frame->invalidRect(size);
    }
    return true;
  }
  for (CView* child : children) {
    if (!child->isDirty() || !child->isVisible()) continue;
    if (CViewContainer* container = asContainer(child)) {
      container->invalidateDirtyViews();
    } else {
      child->invalid();
    }
  }
  return true;
}

CRect CViewContainer::getVisibleSize(const CRect& rect) {
  CRect result = rect;
  result.offset(size.left, size.top);
  result.bound(size);
  if (static_cast<CView*>(frame) != this) {
    if (CViewContainer* container = asContainer(parentView)) {
      result = container->getVisibleSize(result);
    } else if (frame) {
      result = frame->getVisibleSize(result);
    }
  }
  result.offset(-size.left, -size.top);
  return result;
}

CView* CViewContainer::getCurrentView() {
  if (!frame) return nullptr;
  CPoint where;
  frame->getCurrentLocation(where);
  frameToLocal(where);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->getMouseableArea().pointInsideInclusive(where)) return *it;
  }
  return nullptr;
}

bool CViewContainer::checkUpdateRect(CView* view, const CRect& rect) {
  return view->checkUpdate(rect) && view->isVisible();
}

bool CViewContainer::hitTestSubViews(const CPoint& where, const CButtonState& buttons) {
  const CPoint local = where - size.getTopLeft();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->getMouseEnabled() && (*it)->hitTest(local, buttons)) return true;
  }
  return false;
}

}  // namespace gui

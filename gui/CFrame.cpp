#include "CFrame.h"

#include <cstring>
#include <initializer_list>

#include "CDrawContext.h"
#include "CMouseObserver.h"
#include "COffscreenContext.h"
#include "GDIPlusGlobals.h"
#include "GUIEditorInterface.h"
#include "ScaleFactor.h"
#include "TrackingScope.h"
#include "VstKeyCode.h"
#include "platform/PlatformWindow.h"

namespace gui {

namespace {
// Process-wide: a focus change that causes another focus change is ignored.
bool settingFocusView = false;
}  // namespace

CFrame::CFrame(const CRect& size, void* parentWindow, GUIEditorInterface* editor)
    : CViewContainer(size), editor(editor), systemWindow(parentWindow) {
  frame = this;
  attachedFlag = true;
  platform::initializeOle();
  GDIPlusGlobals::acquire();
  systemMajorVersion = platform::getSystemMajorVersion();
  if (editor) scale = editor->getScaleFactor();
  if (parentWindow) {
    const CRect device = ScaleFactor::toDevice(size, scale);
    window = platform::createFrameWindow(this, parentWindow, device.width(), device.height());
    setDropActive(true);
  }
}

CFrame::~CFrame() {
  endMouseGesture();
  if (modalView) {
    CView* view = modalView;
    modalView = nullptr;
    CFrame::removeView(view, false);
  }
  if (!defaultCursor) defaultCursor = platform::getCurrentCursor();
  platform::restoreCursor(defaultCursor);
  if (dropActive && window) platform::revokeDropTarget(window);
  dropActive = false;
  dropTarget = nullptr;
  if (frameContext) frameContext->forget();
  frameContext = nullptr;

  frame = nullptr;
  focusView = nullptr;
  mouseOverView = nullptr;
  CFrame::removeAll(true);

  platform::uninitializeOle();
  if (backBuffer) backBuffer->forget();
  backBuffer = nullptr;
  if (window) platform::destroyFrameWindow(window);
  if (windowLost) platform::releaseLostFrameWindow();
  window = nullptr;
  GDIPlusGlobals::release();
}

void CFrame::draw(CDrawContext* context) { drawRect(context, size); }

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
  firstDraw = false;
  CDrawContext* target = context;
  if (target) {
    target->remember();
  } else {
    target = createDrawContext();
  }
  if (!target) return;
  const CRect savedClip = target->getClipRect();
  CRect clip = updateRect;
  clip.bound(savedClip);
  if (clip != savedClip) target->setClipRect(clip);
  if (updateRect.width() > 0 && updateRect.height() > 0) {
    CViewContainer::drawRect(target, updateRect);
  }
  if (clip != savedClip) target->setClipRect(savedClip);
  target->forget();
}

void CFrame::invalidRect(const CRect& rect) {
  if (!visible) return;
  const CRect device = ScaleFactor::deviceCover(rect, scale);
  if (gatheringInvalidations) {
    gatheredInvalidations.push_back(device);
    return;
  }
  platform::invalidateWindowRect(window, device);
}

void CFrame::invalid() {
  invalidRect(size);
  setDirty(false);
}

void CFrame::exitMouseOverView(CPoint where, const CButtonState& buttons) {
  if (!mouseOverView) return;
  CView* view = mouseOverView;
  mouseOverView = nullptr;
  view->frameToLocal(where);
  view->onMouseExited(where, buttons);
  if (mouseObserver) mouseObserver->onMouseExited(view, this);
}

template <typename Change>
void CFrame::changeMarks(Change change) {
  CView* const hoveredBefore = marks.hovered();
  CView* const focusMarkedBefore = focusMarkedView();
  change();
  for (CView* view : {hoveredBefore, focusMarkedBefore, marks.hovered(), focusMarkedView()}) {
    const bool markedBefore = view == hoveredBefore || view == focusMarkedBefore;
    if (view && markedBefore != isMarked(view)) view->setDirty(true);
  }
}

CView* CFrame::focusMarkedView() const {
  return marks.focusVisible() && focusView && focusView->takesMarks() ? focusView : nullptr;
}

bool CFrame::isMarked(const CView* view) const {
  return view && (view == marks.hovered() || view == focusMarkedView());
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons) {
  // The host may close the editor from any callback that this press causes.
  const TrackingScope keepFrame(this, nullptr, nullptr);
  changeMarks([&] { marks.pointerPressed(where); });
  // A second button during a gesture ends it first, so that its begin gets its end.
  endMouseGesture();
  if (focusView) setFocusView(nullptr);
  if (mouseOverView) {
    CView* view = mouseOverView;
    mouseOverView = nullptr;
    view->onMouseExited(where, buttons);
    if (mouseObserver) mouseObserver->onMouseExited(view, this);
  }
  if (!modalView) return CViewContainer::onMouseDown(where, buttons);

  if (!modalView->hitTest(where, buttons)) return kMouseEventNotHandled;
  const CMouseEventResult result = modalView->onMouseDown(where, buttons);
  if (result == kMouseEventHandled) {
    mouseDownView = modalView;
    return kMouseEventHandled;
  }
  if (result != kMouseEventNotImplemented) return kMouseEventNotHandled;
  CDrawContext* context = createDrawContext();
  modalView->mouse(context, where, buttons);
  if (context) context->forget();
  return kMouseEventHandled;
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons) {
  const TrackingScope keepFrame(this, nullptr, nullptr);
  marks.pointerReleased(where);
  return CViewContainer::onMouseUp(where, buttons);
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  const TrackingScope keepFrame(this, nullptr, nullptr);
  CView* markTarget = modalView || mouseDownView ? nullptr : getViewAt(where, true);
  if (markTarget && !markTarget->takesMarks()) markTarget = nullptr;
  const bool held = (buttons & (kLButton | kMButton | kRButton)) != 0;
  changeMarks([&] { marks.pointerMoved(where, markTarget, held); });
  if (modalView) return modalView->onMouseMoved(where, buttons);
  if (mouseDownView) {
    CPoint local = where - size.getTopLeft();
    if (mouseDownView->onMouseMoved(local, buttons) == kMouseEventHandled) {
      return kMouseEventHandled;
    }
    mouseDownView = nullptr;
  }
  CView* view = getViewAt(where, true);
  if (view == mouseOverView) {
    if (!view) return kMouseEventNotHandled;
    CPoint local = where;
    view->frameToLocal(local);
    // Hover moves carry no buttons.
    return view->onMouseMoved(local, 0);
  }
  exitMouseOverView(where, buttons);
  if (view) {
    CPoint local = where;
    view->frameToLocal(local);
    view->onMouseEntered(local, buttons);
    mouseOverView = view;
    if (mouseObserver) mouseObserver->onMouseEntered(view, this);
  }
  return kMouseEventHandled;
}

CMouseEventResult CFrame::onMouseExited(CPoint& where, const CButtonState& buttons) {
  changeMarks([this] { marks.pointerLeft(); });
  exitMouseOverView(where, buttons);
  return kMouseEventHandled;
}

bool CFrame::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                     const CButtonState& buttons) {
  if (mouseDownView) return false;
  const TrackingScope keepFrame(this, nullptr, nullptr);
  changeMarks([this] { marks.wheelTurned(); });
  CView* target = modalView ? modalView : getViewAt(where, false);
  if (!target) return false;
  return target->onWheel(where, axis, distance, buttons);
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode) {
  const TrackingScope keepFrame(this, nullptr, nullptr);
  if (focusView) {
    const int32_t result = focusView->onKeyDown(keyCode);
    if (result != kKeyNotHandled) {
      changeMarks([this] { marks.keyboardUsed(); });
      return result;
    }
  }
  if (modalView) {
    const int32_t result = modalView->onKeyDown(keyCode);
    if (result != kKeyNotHandled) return result;
  }
  if (keyCode.virt == VKEY_TAB) {
    const bool reverse = (keyCode.modifier & MODIFIER_SHIFT) != 0;
    if (!advanceNextFocusView(focusView, reverse)) return kKeyNotHandled;
    changeMarks([this] { marks.keyboardUsed(); });
    return 1;
  }
  return kKeyNotHandled;
}

int32_t CFrame::onKeyUp(VstKeyCode& keyCode) {
  const TrackingScope keepFrame(this, nullptr, nullptr);
  if (focusView) {
    const int32_t result = focusView->onKeyUp(keyCode);
    if (result != kKeyNotHandled) return result;
  }
  if (modalView) {
    const int32_t result = modalView->onKeyUp(keyCode);
    if (result != kKeyNotHandled) return result;
  }
  return kKeyNotHandled;
}

void CFrame::setViewSize(const CRect& rect, bool /*invalidate*/) {
  setSize(rect.width(), rect.height());
}

GUIEditorInterface* CFrame::getEditor() const { return editor; }

bool CFrame::isTypeOf(const char* name) const {
  return name && (std::strcmp(name, "CFrame") == 0 || CViewContainer::isTypeOf(name));
}

void CFrame::mouse(CDrawContext* context, CPoint& where, CButtonState buttons) {
  if (!context) context = frameContext;
  // Without a context the window's own position places the cursor in the frame.
  const CPoint origin = context ? context->screenOffset() : platform::getWindowScreenOrigin(window);
  if (buttons == -1) buttons = getCurrentMouseButtons();
  if (onMouseDown(where, buttons) != kMouseEventHandled) return;

  const CPoint start = where;
  const CButtonState held = buttons & (kLButton | kRButton | kMButton);
  CPoint current = where;
  CButtonState now = buttons;
  TrackingScope scope(this, nullptr, [&] { onMouseUp(current, now); });
  for (;;) {
    doIdleStuff();
    if (!scope.frameAlive()) break;
    now = getCurrentMouseButtons();
    current = ScaleFactor::toLogical(platform::getCursorScreenPosition() - origin, scale);
    if ((now & held) != held || held == 0) break;
    if (current != start) onMouseMoved(current, now);
  }
}

bool CFrame::removeView(CView* view, bool withForget) {
  if (view && view == modalView) modalView = nullptr;
  return CViewContainer::removeView(view, withForget);
}

bool CFrame::removeAll(bool withForget) {
  modalView = nullptr;
  focusView = nullptr;
  mouseOverView = nullptr;
  marks.forget(marks.hovered());
  return CViewContainer::removeAll(withForget);
}

bool CFrame::advanceNextFocusView(CView* oldFocus, bool reverse) {
  if (modalView) {
    if (CViewContainer* container = asContainer(modalView)) {
      return container->advanceNextFocusView(oldFocus, reverse);
    }
    if (oldFocus == modalView) return false;
    setFocusView(modalView);
    return true;
  }
  if (!oldFocus) {
    if (!focusView) return CViewContainer::advanceNextFocusView(nullptr, reverse);
    oldFocus = focusView;
  }
  if (isChild(oldFocus)) {
    if (CViewContainer::advanceNextFocusView(oldFocus, reverse)) return true;
    setFocusView(nullptr);
    return false;
  }
  // A focus deeper in the tree: each container above it continues after the child it came
  // from, up to the frame's own walk after the topmost of them.
  CView* from = oldFocus;
  CViewContainer* container = asContainer(oldFocus->getParentView());
  while (container && container != this) {
    if (container->advanceNextFocusView(from, reverse)) return true;
    from = container;
    container = asContainer(container->getParentView());
  }
  return CViewContainer::advanceNextFocusView(from, reverse);
}

void CFrame::holdForTracking() {
  remember();
  ++trackingHolds;
}

void CFrame::releaseFromTracking() {
  --trackingHolds;
  forget();
}

bool CFrame::isTrackingAbandoned() const { return !openFlag || getNbReference() <= trackingHolds; }

void CFrame::windowDestroyed() {
  windowLost = window != nullptr;
  openFlag = false;
  systemWindow = nullptr;
  window = nullptr;
  dropActive = false;
  dropTarget = nullptr;
  endMouseGesture();
}

void CFrame::endMouseGesture() {
  if (!mouseDownView) return;
  CPoint where;
  if (window) CFrame::getCurrentLocation(where);
  CViewContainer::onMouseUp(where, 0);
}

CView* CFrame::getCurrentView() {
  if (modalView) return modalView;
  return CViewContainer::getCurrentView();
}

bool CFrame::open() { return false; }

bool CFrame::close() { return false; }

bool CFrame::isOpen() const { return openFlag; }

void CFrame::idle() {
  if (openFlag) {
    // Every request to the window can be a round trip to the window system (Wine's server):
    // all views that changed since the last idle go in one.
    gatheringInvalidations = true;
    invalidateDirtyViews();
    gatheringInvalidations = false;
    if (!gatheredInvalidations.empty())
      platform::invalidateWindowRects(window, gatheredInvalidations.data(),
                                      static_cast<int32_t>(gatheredInvalidations.size()));
    gatheredInvalidations.clear();
  }
  if (window) platform::serviceWindow(window);
}

void CFrame::doIdleStuff() {
  if (editor) editor->doIdleStuff();
}

uint32_t CFrame::getTicks() const { return platform::getTicks(); }

int32_t CFrame::getKnobMode() const { return editor ? editor->getKnobMode() : 0; }

bool CFrame::setPosition(int32_t /*x*/, int32_t /*y*/) { return false; }

bool CFrame::getPosition(int32_t& x, int32_t& y) const {
  if (!openFlag) return false;
  CPoint position;
  if (!platform::getPositionInParent(getOuterWindow(), position)) return false;
  x = position.x;
  y = position.y;
  return true;
}

bool CFrame::setSize(int32_t width, int32_t height) {
  if (!openFlag) return false;
  if (width == size.width() && height == size.height()) return false;
  if (backBuffer) backBuffer->forget();
  backBuffer = nullptr;
  size.right = size.left + width;
  size.bottom = size.top + height;
  const CRect device = ScaleFactor::toDevice(size, scale);
  platform::resizeWindowChain(window, device.width(), device.height());
  setDirty(true);
  parentSizeChanged();
  if (drawInOffscreen && offscreenContext) {
    releaseOffscreen();
    offscreenContext = new COffscreenContext(this, width, height, kBlackCColor);
  }
  return true;
}

bool CFrame::getSize(CRect* rect) const { return rect && getSize(*rect); }

bool CFrame::getSize(CRect& rect) const {
  if (!openFlag) return false;
  return platform::getParentRect(window, rect);
}

bool CFrame::setModalView(CView* view) {
  if (view && (modalView || view->isAttached())) return false;
  if (modalView) {
    CView* previous = modalView;
    modalView = nullptr;
    removeView(previous, false);
  }
  if (!view) return true;
  modalView = view;
  if (addView(view)) return true;
  modalView = nullptr;
  return false;
}

CView* CFrame::getModalView() const { return modalView; }

void CFrame::beginEdit(int32_t index) {
  if (editor) editor->beginEdit(index);
}

void CFrame::endEdit(int32_t index) {
  if (editor) editor->endEdit(index);
}

bool CFrame::getCurrentLocation(CPoint& where) {
  where = ScaleFactor::toLogical(
      platform::getCursorScreenPosition() - platform::getWindowScreenOrigin(window), scale);
  return true;
}

bool CFrame::setScale(float newScale) {
  if (!(newScale > 0.0f) || newScale == scale) return false;
  scale = newScale;
  if (backBuffer) backBuffer->forget();
  backBuffer = nullptr;
  const CRect device = ScaleFactor::toDevice(size, scale);
  platform::resizeWindowChain(window, device.width(), device.height());
  invalid();
  return true;
}

CPoint CFrame::fromWindowPixels(const CPoint& windowPixel) const {
  return ScaleFactor::toLogical(windowPixel, scale);
}

CRect CFrame::fromWindowPixels(const CRect& windowPixels) const {
  return ScaleFactor::logicalCover(windowPixels, scale);
}

CButtonState CFrame::getCurrentMouseButtons() const { return platform::getCurrentMouseButtons(); }

void CFrame::setCursor(int32_t type) {
  if (!defaultCursor) defaultCursor = platform::getCurrentCursor();
  platform::setCursor(type, defaultCursor);
}

void CFrame::setFocusView(CView* view) {
  if (view == focusView || settingFocusView) return;
  settingFocusView = true;
  CView* previous = focusView;
  focusView = view;
  if (focusView && focusView->wantsFocus()) focusView->setDirty(true);
  if (previous) {
    if (previous->wantsFocus()) previous->setDirty(true);
    previous->looseFocus();
  }
  settingFocusView = false;
}

CView* CFrame::getFocusView() const { return focusView; }

void CFrame::onViewRemoved(CView* view) {
  if (mouseOverView == view) mouseOverView = nullptr;
  marks.forget(view);
  if (focusView == view) focusView = nullptr;
}

bool CFrame::setDropActive(bool flag) {
  if (!dropActive && !flag) return true;
  if (!window) return false;
  if (dropActive || dropTarget) platform::revokeDropTarget(window);
  dropTarget = nullptr;
  if (flag) dropTarget = platform::registerDropTarget(window, this);
  dropActive = flag;
  return true;
}

bool CFrame::isDropActive() const { return dropActive; }

void CFrame::setOpenFlag(bool flag) { openFlag = flag; }

bool CFrame::getOpenFlag() const { return openFlag; }

void CFrame::invalidate(const CRect& rect) {
  for (CView* child : children) {
    if (child->getViewSize().rectOverlap(rect)) child->setDirty(true);
  }
}

CMouseObserver* CFrame::getMouseObserver() const { return mouseObserver; }

void CFrame::setMouseObserver(CMouseObserver* observer) { mouseObserver = observer; }

bool CFrame::getCurrentMouseLocation(CPoint& where) { return getCurrentLocation(where); }

CDrawContext* CFrame::createDrawContext() {
  if (frameContext) {
    frameContext->remember();
    return frameContext;
  }
  return new CDrawContext(this, nullptr, window);
}

COffscreenContext* CFrame::getBackBuffer() {
  // Composited systems paint the window directly.
  if (systemMajorVersion > 5) return backBuffer;
  if (!backBuffer)
    backBuffer = new COffscreenContext(this, size.width(), size.height(), kBlackCColor);
  return backBuffer;
}

void* CFrame::getOuterWindow() const { return platform::getOuterWindow(window); }

}  // namespace gui

// The root of a view tree, bound to a child window inside the host's editor window. It owns
// the focus, the modal view, the view under the mouse and the view that captured the mouse,
// runs the blocking mouse-tracking loop, redraws dirty views at idle time and calls back the
// editor. A frame is attached to itself; its coordinates are the window's client coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "CViewContainer.h"
#include "InteractionMarks.h"

namespace gui {

class CMouseObserver;
class GUIEditorInterface;

class CFrame : public CViewContainer {
 public:
  // parentWindow: the host's window, or null for a frame without a window (which draws and
  // receives nothing from the platform). editor may be null.
  CFrame(const CRect& size, void* parentWindow, GUIEditorInterface* editor);
  // Releases the whole view tree, the window and the platform services it took.
  ~CFrame() override;
  CFrame(const CFrame&) = delete;

  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  void invalidRect(const CRect& rect) override;
  void invalid() override;

  // Every input entry keeps the frame and its views alive until it returns, since the host
  // may close the editor from any callback that the input causes.
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  // The platform's report that the pointer left the window.
  CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
  using CViewContainer::onWheel;
  bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
               const CButtonState& buttons) override;
  // The focus view, then the modal view; the tab key moves the focus (Shift: backwards).
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  int32_t onKeyUp(VstKeyCode& keyCode) override;

  void setViewSize(const CRect& rect, bool invalidate = true) override;
  GUIEditorInterface* getEditor() const override;
  bool isTypeOf(const char* name) const override;
  // The blocking form of a press: follows the pointer until the pressed buttons are released.
  void mouse(CDrawContext* context, CPoint& where, CButtonState buttons = -1) override;
  bool removeView(CView* view, bool withForget = true) override;
  bool removeAll(bool withForget = true) override;
  bool advanceNextFocusView(CView* oldFocus, bool reverse = false) override;
  CView* getCurrentView() override;

  virtual bool open();
  virtual bool close();
  virtual bool isOpen() const;
  // Passes the dirty views to the window for redrawing; the host's idle time.
  virtual void idle();
  virtual void doIdleStuff();
  // Milliseconds since the system started.
  virtual uint32_t getTicks() const;
  virtual int32_t getKnobMode() const;
  virtual bool setPosition(int32_t x, int32_t y);
  virtual bool getPosition(int32_t& x, int32_t& y) const;
  virtual bool setSize(int32_t width, int32_t height);
  virtual bool getSize(CRect* rect) const;
  virtual bool getSize(CRect& rect) const;
  // A modal view takes every press and wheel turn; null clears it.
  virtual bool setModalView(CView* view);
  virtual CView* getModalView() const;
  virtual void beginEdit(int32_t index);
  virtual void endEdit(int32_t index);
  // The cursor in frame coordinates.
  virtual bool getCurrentLocation(CPoint& where);
  // Device pixels of the window per pixel of the frame's coordinates (1, 1.5 or 2); the frame
  // starts at its editor's. A change resizes the window and redraws it; false when nothing
  // changed.
  float getScale() const { return scale; }
  bool setScale(float newScale);
  // What the platform's window layer gives the frame: positions and update rectangles come in
  // window pixels and go to the frame in its own coordinates.
  CPoint fromWindowPixels(const CPoint& windowPixel) const;
  CRect fromWindowPixels(const CRect& windowPixels) const;
  virtual CButtonState getCurrentMouseButtons() const;
  virtual void setCursor(int32_t type);
  virtual void setFocusView(CView* view);
  virtual CView* getFocusView() const;
  // Whether view shows the mark of the view under the pointer or of the keyboard's focus.
  bool isMarked(const CView* view) const;
  virtual void onViewRemoved(CView* view);
  virtual bool setDropActive(bool flag);
  virtual bool isDropActive() const;
  virtual void setOpenFlag(bool flag);
  virtual bool getOpenFlag() const;
  // Marks the direct children that overlap rect dirty; the next idle redraws them.
  virtual void invalidate(const CRect& rect);
  virtual CMouseObserver* getMouseObserver() const;
  virtual void setMouseObserver(CMouseObserver* observer);
  virtual bool getCurrentMouseLocation(CPoint& where);

  // A context on the frame's window; the caller forgets it.
  CDrawContext* createDrawContext();
  // The buffer that paints go through on systems that do not composite windows, else null.
  COffscreenContext* getBackBuffer();
  // True until the frame first draws: its window has not been painted yet.
  bool isFirstDraw() const { return firstDraw; }
  void* getOuterWindow() const;

  // Blocking tracking loops hold the frame with these (see TrackingScope); it is abandoned
  // when its window is gone or nobody else holds it any more.
  void holdForTracking();
  void releaseFromTracking();
  bool isTrackingAbandoned() const;
  // The window procedure's answer to the window's destruction: the frame lives on, closed and
  // without window, and a gesture in progress ends.
  void windowDestroyed();
  // Gives a view that captured the mouse its release, so that its gesture ends.
  void endMouseGesture();

  void* getSystemWindow() const { return systemWindow; }
  void setSystemWindow(void* parentWindow) { systemWindow = parentWindow; }
  void* getWindow() const { return window; }

 private:
  void exitMouseOverView(CPoint where, const CButtonState& buttons);
  CView* focusMarkedView() const;
  // Applies change to the marks and redraws the views whose mark came or went.
  template <typename Change>
  void changeMarks(Change change);

  GUIEditorInterface* editor = nullptr;
  CMouseObserver* mouseObserver = nullptr;
  void* systemWindow = nullptr;
  CView* modalView = nullptr;
  CView* focusView = nullptr;
  CView* mouseOverView = nullptr;
  InteractionMarks marks;
  bool firstDraw = true;
  bool openFlag = true;
  bool dropActive = false;
  void* window = nullptr;
  void* dropTarget = nullptr;
  COffscreenContext* backBuffer = nullptr;
  CDrawContext* frameContext = nullptr;
  void* defaultCursor = nullptr;
  int32_t systemMajorVersion = 0;
  int32_t trackingHolds = 0;
  bool windowLost = false;
  float scale = 1.0f;  // destroyed from outside; the window class is still in use
  // While an idle looks for changed views, their device rectangles wait here, to reach the
  // window in one request.
  bool gatheringInvalidations = false;
  std::vector<CRect> gatheredInvalidations;
};

}  // namespace gui

// A view that owns an ordered list of child views: the first child is drawn first (bottom),
// the last is on top and gets events first. Children's rectangles are relative to the
// container's top-left.
#pragma once

#include <cstdint>
#include <list>

#include "CColor.h"
#include "CView.h"

namespace gui {

class COffscreenContext;

class CViewContainer : public CView {
 public:
  // A new container is dirty.
  explicit CViewContainer(const CRect& size);
  // Copies the container's settings and adds a copy of each child.
  CViewContainer(const CViewContainer& other);
  // Removes every child as removeAll(true) does.
  ~CViewContainer() override;

  CMessageResult notify(CBaseObject* sender, const char* message) override;

  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  bool isDirty() const override;
  void invalidRect(const CRect& rect) override;
  void invalid() override;

  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
               const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;

  bool onDrop(CDragContainer* drag, const CPoint& where) override;
  void onDragEnter(CDragContainer* drag, const CPoint& where) override;
  void onDragLeave(CDragContainer* drag, const CPoint& where) override;
  void onDragMove(CDragContainer* drag, const CPoint& where) override;

  int32_t onKeyDown(VstKeyCode& keyCode) override;
  int32_t onKeyUp(VstKeyCode& keyCode) override;

  void setViewSize(const CRect& rect, bool invalidate = true) override;
  void parentSizeChanged() override;
  CPoint& frameToLocal(CPoint& point) const override;
  CPoint& localToFrame(CPoint& point) const override;
  void looseFocus() override;
  void takeFocus() override;
  bool removed(CView* parent) override;
  bool attached(CView* parent) override;
  bool isTypeOf(const char* name) const override;
  CView* newCopy() const override;
  void mouse(CDrawContext* context, CPoint& where, CButtonState buttons = -1) override;

  // Inserts view below the child before, or just below the topmost child when before is not a
  // child. The container takes a reference; false for null or an attached view.
  virtual bool addView(CView* view, CView* before);
  virtual bool addView(CView* view, const CRect& mouseableArea, bool mouseEnabled = true);
  // Adds view on top.
  virtual bool addView(CView* view);
  // withForget also drops the creator's reference, so a view that was only created and added
  // is destroyed.
  virtual bool removeView(CView* view, bool withForget = true);
  virtual bool removeAll(bool withForget = true);
  virtual bool isChild(CView* view) const;
  virtual int32_t getNbViews() const;
  virtual CView* getView(int32_t index) const;
  // The topmost visible child whose mouseable area holds where (in the parent's coordinates),
  // with deep the innermost such view.
  virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
  virtual CViewContainer* getContainerAt(const CPoint& where, bool deep = false);
  virtual void setBackgroundColor(const CColor& color);
  virtual CColor getBackgroundColor() const;
  virtual void setBackgroundOffset(const CPoint& offset);
  virtual const CPoint& getBackgroundOffset() const;
  // rect in the container's own coordinates.
  virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
  virtual void useOffscreen(bool flag);
  // Moves the focus to the next child after oldFocus that wants it; true when one took it.
  virtual bool advanceNextFocusView(CView* oldFocus, bool reverse = false);
  // Passes the rectangles of dirty, visible views up for redrawing.
  virtual bool invalidateDirtyViews();
  // rect in this container's coordinates; answered in them, clipped by every parent.
  virtual CRect getVisibleSize(const CRect& rect);
  CRect getVisibleSize() override { return CView::getVisibleSize(); }
  virtual CView* getCurrentView();
  virtual bool checkUpdateRect(CView* view, const CRect& rect);
  virtual bool hitTestSubViews(const CPoint& where, const CButtonState& buttons = -1);

  bool isOffscreenUsed() const { return drawInOffscreen; }
  COffscreenContext* getOffscreenContext() const { return offscreenContext; }
  CView* getMouseDownView() const { return mouseDownView; }

 protected:
  // Views take the release of the mouse's capture and the current drag with them.
  void forgetTransientViews(CView* view);
  void releaseOffscreen();

  std::list<CView*> children;  // front is the bottom of the z-order
  COffscreenContext* offscreenContext = nullptr;
  CColor backgroundColor = kBlackCColor;
  CPoint backgroundOffset;
  bool drawInOffscreen = false;
  CView* currentDragView = nullptr;
  CView* mouseDownView = nullptr;
};

}  // namespace gui

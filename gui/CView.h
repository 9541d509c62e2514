// A rectangle of the editor window that draws itself, takes mouse, wheel, key and drop events
// and can be marked dirty for redrawing. Views are reference-counted: the creator holds the
// first reference, a container that adds the view takes another.
#pragma once

#include <cstdint>
#include <vector>

#include "CBaseObject.h"
#include "CPoint.h"
#include "CRect.h"
#include "MouseEvents.h"

namespace gui {

struct VstKeyCode;  // the key record (VstKeyCode.h)

class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;
class CViewContainer;
class GUIEditorInterface;

// Containers answer kMessageNotified to this message; compared by address, not by text.
extern const char* const kMsgCheckIfViewContainer;

using CViewAttributeID = int32_t;

class CView : public CBaseObject {
 public:
  explicit CView(const CRect& size);
  // The copy is not attached, not dirty and visible; it shares the background and copies the
  // attributes.
  CView(const CView& other);
  ~CView() override;

  virtual void draw(CDrawContext* context);
  virtual void drawRect(CDrawContext* context, const CRect& updateRect);
  // updateRect in the parent's coordinates; touching edges count as overlap.
  virtual bool checkUpdate(const CRect& updateRect) const;

  virtual bool isDirty() const;
  virtual void setDirty(bool flag = true);
  // rect in the parent's coordinates.
  virtual void invalidRect(const CRect& rect);
  virtual void invalid();
  virtual void setVisible(bool flag);

  // where in the parent's coordinates.
  virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
  // All four edges of the mouseable area count as inside.
  virtual bool hitTest(const CPoint& where, const CButtonState& buttons = -1);
  // distance in wheel notches; the horizontal axis turns into the plain form reversed.
  virtual bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                       const CButtonState& buttons);
  virtual bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons);

  virtual void setMouseEnabled(bool enable = true);
  virtual bool getMouseEnabled() const;
  virtual void setMouseableArea(const CRect& rect);
  virtual const CRect& getMouseableArea() const;
  virtual CRect& getMouseableArea(CRect& rect) const;

  virtual bool onDrop(CDragContainer* drag, const CPoint& where);
  virtual void onDragEnter(CDragContainer* drag, const CPoint& where);
  virtual void onDragLeave(CDragContainer* drag, const CPoint& where);
  virtual void onDragMove(CDragContainer* drag, const CPoint& where);

  // -1 when not handled.
  virtual int32_t onKeyDown(VstKeyCode& keyCode);
  virtual int32_t onKeyUp(VstKeyCode& keyCode);

  // The mouseable area is left as it is.
  virtual void setViewSize(const CRect& rect, bool invalidate = true);
  virtual const CRect& getViewSize() const;
  virtual CRect& getViewSize(CRect& rect) const;
  // The part of the view's rectangle seen through its parents, in the parent's coordinates.
  virtual CRect getVisibleSize();
  virtual void parentSizeChanged();

  // From frame coordinates into this view's parent's coordinates, and back.
  virtual CPoint& frameToLocal(CPoint& point) const;
  virtual CPoint& localToFrame(CPoint& point) const;

  virtual void looseFocus();
  virtual void takeFocus();
  virtual bool wantsFocus() const;
  virtual void setWantsFocus(bool flag);
  // Views the user changes directly show the frame's hover and focus marks.
  bool takesMarks() const { return takesMarksFlag; }

  // The view keeps a reference on its background.
  virtual void setBackground(CBitmap* bitmap);
  virtual CBitmap* getBackground() const;
  virtual void setTransparency(bool flag);
  virtual bool getTransparency() const;

  virtual bool removed(CView* parent);
  virtual bool attached(CView* parent);

  virtual GUIEditorInterface* getEditor() const;
  virtual bool isTypeOf(const char* name) const;
  // A new view with its own first reference, owned by the caller.
  virtual CView* newCopy() const;

  // The blocking form of a press, for views that track the mouse themselves.
  virtual void mouse(CDrawContext* context, CPoint& where, CButtonState buttons = -1);
  // The cursor position in the coordinates of this view's rectangle.
  virtual void getMouseLocation(CDrawContext* context, CPoint& point);
  virtual void setParentView(CView* view);
  virtual void setFrame(CFrame* frame);
  // Adds the view's top-left and those of its containers below the frame to point.
  virtual CPoint& getFrameTopLeftPos(CPoint& topLeft) const;

  // A press with a modifier on a control is first offered to the control's listener; controls
  // answer true when their listener took it. Plain views have no listener.
  virtual bool listenerTakesModifierClick(const CButtonState& buttons);

  int32_t getWidth() const { return size.width(); }
  int32_t getHeight() const { return size.height(); }
  CView* getParentView() const { return parentView; }
  CFrame* getFrame() const { return frame; }
  bool isVisible() const { return visible; }
  bool isAttached() const { return attachedFlag; }

  // Tagged bytes: setting an existing id replaces its bytes, a new id is appended.
  bool setAttribute(CViewAttributeID id, int32_t byteCount, const void* bytes);
  bool getAttributeSize(CViewAttributeID id, int32_t& byteCount) const;
  // Copies at most capacity bytes; false when the id is unknown or the buffer too small.
  bool getAttribute(CViewAttributeID id, int32_t capacity, void* bytes, int32_t& byteCount) const;
  bool removeAttribute(CViewAttributeID id);

 protected:
  // The parent as a container, or null when there is none or it is not one.
  static CViewContainer* asContainer(CView* view);

  CRect size;
  CRect mouseableArea;
  CFrame* frame = nullptr;      // not counted
  CView* parentView = nullptr;  // not counted
  bool dirty = false;
  bool mouseEnabled = true;
  bool transparencyEnabled = false;
  bool wantsFocusFlag = false;
  bool takesMarksFlag = false;
  bool attachedFlag = false;
  bool visible = true;
  CBitmap* background = nullptr;  // counted

 private:
  struct Attribute {
    CViewAttributeID id;
    std::vector<uint8_t> bytes;
  };
  std::vector<Attribute> attributes;
};

}  // namespace gui

// A control whose value is the position of a handle bitmap along a straight track. A press
// moves the handle to the pointer (free click) or grabs it where it was hit; Shift drags ten
// times finer around the value at which it was pressed.
#pragma once

#include <cstdint>

#include "CControl.h"

namespace gui {

// Style bits. With kLeft or kTop the value grows toward that end, with kRight or kBottom toward
// the other; a style without kHorizontal is vertical.
enum CSliderStyle : int32_t {
  kHorizontal = 1 << 0,
  kVertical = 1 << 1,
  kLeft = 1 << 3,
  kRight = 1 << 4,
  kTop = 1 << 5,
  kBottom = 1 << 6
};

class CSlider : public CControl {
 public:
  // minPos, maxPos: the handle's extreme positions along the track, in the parent's
  // coordinates; offset: source offset into the background bitmap.
  CSlider(const CRect& size, CControlListener* listener, int32_t tag, int32_t minPos,
          int32_t maxPos, CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint(0, 0),
          int32_t style = kLeft | kHorizontal);
  CSlider(const CSlider& other);
  ~CSlider() override;

  void draw(CDrawContext* context) override;
  // After a change of value alone, only the handle's old and new places are redrawn: the rest
  // of the control shows the same pixels, and the pieces of the window behind them cost as much
  // to copy as their size.
  void invalid() override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  using CControl::onWheel;
  bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  bool isTypeOf(const char* name) const override;
  CView* newCopy() const override;
  // The blocking form of a press: tracks the pointer until the left button is released.
  void mouse(CDrawContext* context, CPoint& where, CButtonState buttons = -1) override;

  virtual void setDrawTransparentHandle(bool flag);
  virtual void setFreeClick(bool flag);
  virtual bool getFreeClick() const;
  // The handle's track inside the control; sets the handle's limits along it.
  virtual void setOffsetHandle(const CPoint& val);
  virtual CPoint getOffsetHandle() const;
  virtual void setOffset(const CPoint& val);
  virtual CPoint getOffset() const;
  virtual int32_t getStyle() const;
  // The handle's limits stay as they are.
  virtual void setHandle(CBitmap* handle);
  virtual CBitmap* getHandle() const;
  virtual void setZoomFactor(float val);
  virtual float getZoomFactor() const;

  int32_t getTravel() const { return travel; }
  int32_t getHandleMinPos() const { return handleMinPos; }
  int32_t getHandleMaxPos() const { return handleMaxPos; }
  // The rectangle the handle is drawn into for the current value, in the parent's coordinates.
  CRect getHandleRect() const;

 protected:
  bool isHorizontal() const { return (style & kHorizontal) != 0; }
  // The value's share of the track from its start: inverted with kRight or kBottom.
  float positionShare() const;
  // The press checks and grab computation; false when the press misses the handle.
  bool grab(const CPoint& where, const CButtonState& buttons);

  CPoint offset;
  CPoint offsetHandle;
  CBitmap* handleBitmap = nullptr;  // counted
  int32_t style = 0;
  int32_t handleWidth = 1;
  int32_t handleHeight = 1;
  int32_t travel = 0;
  int32_t trackStart = 0;
  int32_t handleMinPos = 0;
  int32_t handleMaxPos = 0;
  int32_t controlWidth = 0;
  int32_t controlHeight = 0;
  float zoomFactor = 10.0f;
  bool drawTransparentHandle = true;
  bool freeClick = true;
  int32_t grabOffset = 0;
  float zoomAnchor = 0.0f;
  CButtonState oldButton = 0;
  // Every place the handle may show on the window (the parent's coordinates): where it was at
  // the last invalidation and wherever a drawing put it since. Empty: the next redraw is whole.
  CRect shownHandle;
};

}  // namespace gui

// A rotary control. Its value maps linearly onto an arc (by default 270° clockwise from the
// lower left); the mouse turns it by the pointer's angle around the centre (circular mode) or by
// a straight drag (linear mode), and it draws a handle bitmap on the arc or two handle lines.
// Angles are in radians, 0 pointing right and positive counter-clockwise on screen.
#pragma once

#include <cstdint>

#include "CColor.h"
#include "CControl.h"

namespace gui {

class CKnob : public CControl {
 public:
  // offset: source offset into the background bitmap.
  CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
        const CPoint& offset = CPoint(0, 0));
  // The press and drag state starts anew.
  CKnob(const CKnob& other);
  ~CKnob() override;

  void draw(CDrawContext* context) override;
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

  virtual void setStartAngle(float val);
  virtual float getStartAngle() const;
  // Signed sweep from vmin to vmax; negative turns clockwise.
  virtual void setRangeAngle(float val);
  virtual float getRangeAngle() const;
  // The handle's point on the arc for the current value, relative to the knob's top-left.
  virtual void valueToPoint(CPoint& point) const;
  // The value at a point relative to the knob's top-left; the dead arc snaps to its nearer end.
  virtual float valueFromPoint(CPoint& point) const;
  virtual int32_t getInsetValue() const;
  virtual void setInsetValue(int32_t val);
  virtual CColor getColorShadowHandle() const;
  virtual void setColorShadowHandle(CColor color);
  virtual CColor getColorHandle() const;
  virtual void setColorHandle(CColor color);
  virtual CBitmap* getHandleBitmap() const;
  virtual void setHandleBitmap(CBitmap* bitmap);
  virtual void setZoomFactor(float val);
  virtual float getZoomFactor() const;
  virtual void drawHandle(CDrawContext* context);

 protected:
  void compute();
  // Steps 2 to 5 of a press: the drag's reference values and its mode.
  void startDrag(const CPoint& where, const CButtonState& buttons);

  CPoint offset;
  CColor colorHandle = kWhiteCColor;
  CColor colorShadowHandle = {127, 127, 127, 255};
  CBitmap* handleBitmap = nullptr;  // counted
  int32_t inset = 3;
  float startAngle = 0.0f;
  float rangeAngle = 0.0f;
  float halfAngle = 0.0f;
  float aCoef = 0.0f;
  float bCoef = 0.0f;
  float radius = 0.0f;
  float zoomFactor = 1.5f;
  CPoint firstPoint;
  CPoint lastPoint;
  float startValue = 0.0f;
  float entryValue = 0.0f;
  float range = 0.0f;
  float coef = 0.0f;
  CButtonState oldButton = 0;
  bool modeLinear = false;
};

}  // namespace gui

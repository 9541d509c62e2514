// The base of every view that holds a value the user can change: a float value with its range,
// default and wheel step, a tag that names it outside, one listener, the begin and end of a
// gesture (which reach the host through the frame) and a dirty test against the value last
// drawn.
#pragma once

#include <cstdint>

#include "CControlListener.h"
#include "CView.h"

namespace gui {

class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0,
           CBitmap* background = nullptr);
  // Same rectangle, listener, tag, values, range, default and wheel step; back offset (0, 0).
  CControl(const CControl& other);
  ~CControl() override;

  void draw(CDrawContext* context) override = 0;
  // True when the value differs from the value last drawn (a NaN always does) or when the view
  // is marked dirty.
  bool isDirty() const override;
  void setDirty(bool flag = true) override;
  bool isTypeOf(const char* name) const override;
  CView* newCopy() const override = 0;
  bool listenerTakesModifierClick(const CButtonState& buttons) override;

  virtual void doIdleStuff();
  // No clamping and no redraw request: the dirty test sees the change.
  virtual void setValue(float val);
  virtual float getValue() const;
  virtual void setMin(float val);
  virtual float getMin() const;
  virtual void setMax(float val);
  virtual float getMax() const;
  virtual void setOldValue(float val);
  virtual float getOldValue() const;
  virtual void setDefaultValue(float val);
  virtual float getDefaultValue() const;
  virtual void bounceValue();
  // The Ctrl-click reset: only the left button with Ctrl and nothing else (34) takes it.
  virtual bool checkDefaultValue(CButtonState buttons);
  virtual void setTag(int32_t val);
  virtual int32_t getTag() const;
  // The listener, then the frame (focus and host); endEdit in the mirror order.
  virtual void beginEdit();
  virtual void endEdit();
  virtual CControlListener* getListener() const;
  virtual void setListener(CControlListener* newListener);
  virtual void setBackOffset(const CPoint& offset);
  virtual void copyBackOffset();
  virtual void setWheelInc(float val);
  virtual float getWheelInc() const;

  const CPoint& getBackOffset() const { return backOffset; }

 protected:
  // A change the user made outside a drag: reported as its own gesture when it shows.
  void reportChange();
  // Truncation toward zero of a number computed from the value. A value from outside may be
  // anything: NaN gives 0, and far-off numbers stop at a million instead of overflowing.
  static int32_t truncateClamped(float position);
  // Draws bitmap (when there is one) into rect from offset, honouring the view's transparency.
  void drawBitmap(CBitmap* bitmap, CDrawContext* context, const CRect& rect,
                  const CPoint& offset) const;
  // Whether the frame marks this control now, as the one under the pointer or with the
  // keyboard's focus.
  bool isMarked() const;
  // The mark's look: kDrawFilled lightens rect (a handle), kDrawStroked rings it inside its edge.
  static void drawMark(CDrawContext* context, const CRect& rect, int32_t style);
  // -1 stands for the buttons the frame reads now (none without a frame).
  CButtonState currentButtons(CButtonState buttons) const;
  // A press with a modifier that the listener takes ends there.
  bool modifierClickTaken(const CButtonState& buttons);
  // The blocking form's loop, between beginEdit and endEdit: each turn reads the buttons, moves
  // to the pointer with onMouseMoved and gives idle time, until the left button is released or
  // the frame is gone. where is in the parent's coordinates.
  void trackUntilReleased(CDrawContext* context, const CPoint& where);
  // Wheel notches: distance × wheelInc, a tenth of that with Shift; always true.
  bool stepByWheel(float distance, const CButtonState& buttons);
  // The arrow keys step like one wheel notch; kKeyNotHandled for any other key.
  int32_t stepByKey(const VstKeyCode& keyCode);

  CControlListener* listener = nullptr;  // not owned
  int32_t tag = 0;
  float oldValue = 1.0f;
  float defaultValue = 0.5f;
  float value = 0.0f;
  float vmin = 0.0f;
  float vmax = 1.0f;
  float wheelInc = 0.1f;
  CPoint backOffset;
};

}  // namespace gui

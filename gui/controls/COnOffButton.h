// A two-state button drawn from one bitmap holding both states one above the other: the upper
// half while the value is exactly 0, the lower half otherwise. A left click flips the value.
#pragma once

#include <cstdint>

#include "CControl.h"

namespace gui {

// When a click redraws the button: before the listener is told, or after.
enum COnOffButtonStyle : int32_t { kPreListenerUpdate = 0, kPostListenerUpdate = 1 };

class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
               int32_t style = kPreListenerUpdate);
  COnOffButton(const COnOffButton& other);
  ~COnOffButton() override;

  void draw(CDrawContext* context) override;
  // A click with modifier keys toggles like a plain one.
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  bool isTypeOf(const char* name) const override;
  CView* newCopy() const override;
  void mouse(CDrawContext* context, CPoint& where, CButtonState buttons = -1) override;

  virtual int32_t getStyle() const;
  virtual void setStyle(int32_t val);

 protected:
  void flip();
  // The listener's gesture, placed before or after the idle pass by the style.
  void reportFlip();

  int32_t style = kPreListenerUpdate;
};

}  // namespace gui

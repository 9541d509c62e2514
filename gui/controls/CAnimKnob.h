// A knob that shows one picture out of a vertical strip of equally tall pictures, chosen by the
// value (0..1: picture 0 to the last).
#pragma once

#include <cstdint>

#include "CKnob.h"
#include "IMultiBitmapControl.h"

namespace gui {

class CAnimKnob : public CKnob, public IMultiBitmapControl {
 public:
  CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
            int32_t heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));
  CAnimKnob(const CAnimKnob& other);
  ~CAnimKnob() override;

  void draw(CDrawContext* context) override;
  // A change too small to move the virtual handle by a pixel does not redraw.
  bool isDirty() const override;
  bool isTypeOf(const char* name) const override;
  CView* newCopy() const override;

  // The number of pictures follows from the strip's height.
  void setHeightOfOneImage(const int32_t& height) override;
  void autoComputeHeightOfOneImage() override;

  // true: picture 0 shows vmax.
  void setInverseBitmap(bool flag) { inverseBitmap = flag; }
  bool getInverseBitmap() const { return inverseBitmap; }

 protected:
  bool inverseBitmap = false;
  CPoint lastDrawnPoint;
};

}  // namespace gui

// A slider whose style always contains kVertical.
#pragma once

#include "CSlider.h"

namespace gui {

class CVerticalSlider : public CSlider {
 public:
  CVerticalSlider(const CRect& size, CControlListener* listener, int32_t tag, int32_t minPos,
                  int32_t maxPos, CBitmap* handle, CBitmap* background,
                  const CPoint& offset = CPoint(0, 0), int32_t style = kBottom);
  ~CVerticalSlider() override;
};

}  // namespace gui

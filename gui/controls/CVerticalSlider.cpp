#include "CVerticalSlider.h"

namespace gui {

CVerticalSlider::CVerticalSlider(const CRect& size, CControlListener* listener, int32_t tag,
                                 int32_t minPos, int32_t maxPos, CBitmap* handle,
                                 CBitmap* background, const CPoint& offset, int32_t style)
    : CSlider(size, listener, tag, minPos, maxPos, handle, background, offset, style | kVertical) {}

CVerticalSlider::~CVerticalSlider() = default;

}  // namespace gui

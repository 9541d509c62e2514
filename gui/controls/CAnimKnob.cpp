#include "CAnimKnob.h"

#include <algorithm>
#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"

namespace gui {

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
                     int32_t heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKnob(size, listener, tag, background, offset) {
  this->subPixmaps = subPixmaps;
  CAnimKnob::setHeightOfOneImage(heightOfOneImage);
  inset = 0;
}

CAnimKnob::CAnimKnob(const CAnimKnob& other)
    : CKnob(other), IMultiBitmapControl(other), inverseBitmap(other.inverseBitmap) {
  CAnimKnob::setHeightOfOneImage(other.heightOfOneImage);
}

CAnimKnob::~CAnimKnob() = default;

void CAnimKnob::draw(CDrawContext* context) {
  int32_t pictureTop = 0;
  if (value >= 0.0f) {
    const int32_t total = heightOfOneImage * (subPixmaps - 1);
    const float share = inverseBitmap ? 1.0f - value : value;
    pictureTop = truncateClamped(share * static_cast<float>(total));
    // Down to the top of the picture it falls in; the last picture for value 1.
    for (int32_t top = 0; heightOfOneImage > 0 && top <= total; top += heightOfOneImage) {
      if (pictureTop < top) {
        pictureTop = std::max(top - heightOfOneImage, 0);
        break;
      }
    }
  }
  drawBitmap(background, context, size, CPoint(0, pictureTop));
  if (isMarked()) drawMark(context, size, kDrawStroked);
  valueToPoint(lastDrawnPoint);
  setDirty(false);
}

bool CAnimKnob::isDirty() const {
  if (!dirty) {
    CPoint point;
    valueToPoint(point);
    if (point == lastDrawnPoint) return false;
  }
  return CKnob::isDirty();
}

bool CAnimKnob::isTypeOf(const char* name) const {
  return name && (std::strcmp(name, "CAnimKnob") == 0 || CKnob::isTypeOf(name));
}

CView* CAnimKnob::newCopy() const { return new CAnimKnob(*this); }

void CAnimKnob::setHeightOfOneImage(const int32_t& height) {
  IMultiBitmapControl::setHeightOfOneImage(height);
  if (background && heightOfOneImage != 0) {
    subPixmaps = static_cast<int16_t>(background->getHeight() / heightOfOneImage);
  }
}

void CAnimKnob::autoComputeHeightOfOneImage() { setHeightOfOneImage(size.height()); }

}  // namespace gui

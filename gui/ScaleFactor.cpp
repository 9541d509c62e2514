#include "ScaleFactor.h"

#include <cmath>

namespace gui {

namespace {
int32_t floorOf(float v) { return static_cast<int32_t>(std::floor(v)); }
int32_t ceilOf(float v) { return static_cast<int32_t>(std::ceil(v)); }
}  // namespace

float ScaleFactor::nearest(float ratio) {
  if (!(ratio > 0.0f)) return 1.0f;
  float best = 1.0f;
  for (int32_t percent : kPercents) {
    const float scale = fromPercent(percent);
    if (std::fabs(ratio - scale) < std::fabs(ratio - best)) best = scale;
  }
  return best;
}

int32_t ScaleFactor::indexOf(float scale) {
  for (int32_t i = 0; i < kCount; ++i)
    if (fromPercent(kPercents[i]) == scale) return i;
  return -1;
}

int32_t ScaleFactor::toDevice(int32_t logical, float scale) {
  return floorOf(static_cast<float>(logical) * scale + 0.5f);
}

CRect ScaleFactor::toDevice(const CRect& logical, float scale) {
  return CRect(toDevice(logical.left, scale), toDevice(logical.top, scale),
               toDevice(logical.right, scale), toDevice(logical.bottom, scale));
}

CRect ScaleFactor::deviceCover(const CRect& logical, float scale) {
  return CRect(floorOf(static_cast<float>(logical.left) * scale),
               floorOf(static_cast<float>(logical.top) * scale),
               ceilOf(static_cast<float>(logical.right) * scale),
               ceilOf(static_cast<float>(logical.bottom) * scale));
}

CRect ScaleFactor::logicalCover(const CRect& device, float scale) {
  return CRect(floorOf(static_cast<float>(device.left) / scale),
               floorOf(static_cast<float>(device.top) / scale),
               ceilOf(static_cast<float>(device.right) / scale),
               ceilOf(static_cast<float>(device.bottom) / scale));
}

CPoint ScaleFactor::toLogical(const CPoint& device, float scale) {
  return CPoint(floorOf(static_cast<float>(device.x) / scale),
                floorOf(static_cast<float>(device.y) / scale));
}

int32_t ScaleFactor::resourceId(int32_t id, float scale) {
  const int32_t index = indexOf(scale);
  return index > 0 ? id + index * kResourceStep : id;
}

}  // namespace gui

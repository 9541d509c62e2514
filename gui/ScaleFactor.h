// The editor's drawing scale (1, 1.5 or 2): the layout keeps its logical pixels; drawing, fonts,
// bitmaps and hit-testing convert between those and the window's device pixels here, so that
// every conversion rounds the same way and neighbouring pieces meet without gaps.
#pragma once

#include <cstdint>

#include "CPoint.h"
#include "CRect.h"

namespace gui {

class ScaleFactor {
 public:
  static constexpr int32_t kCount = 3;
  // In percent, smallest first.
  static constexpr int32_t kPercents[kCount] = {100, 150, 200};

  // The supported factor nearest to ratio (a monitor's pixels per inch over 96, say); 1 for
  // ratios that are not positive numbers.
  static float nearest(float ratio);
  // Index into kPercents of a supported factor; -1 for any other.
  static int32_t indexOf(float scale);
  static float fromPercent(int32_t percent) { return static_cast<float>(percent) / 100.0f; }

  // An edge or position: the device pixel nearest to logical * scale.
  static int32_t toDevice(int32_t logical, float scale);
  // Every edge rounded alike, so that adjoining rectangles stay adjoining.
  static CRect toDevice(const CRect& logical, float scale);
  // The device pixels that any drawing of logical can touch (for invalidation).
  static CRect deviceCover(const CRect& logical, float scale);
  // The logical rectangle whose drawing covers every pixel of device (for painting).
  static CRect logicalCover(const CRect& device, float scale);
  // The logical pixel that holds a device pixel.
  static CPoint toLogical(const CPoint& device, float scale);

  // The bitmap resource that holds the picture of id drawn at scale; id itself at 1.
  static int32_t resourceId(int32_t id, float scale);

 private:
  // Scaled pictures are bound at id + index * kResourceStep (228 is the background at 150 %).
  static constexpr int32_t kResourceStep = 100;
};

}  // namespace gui

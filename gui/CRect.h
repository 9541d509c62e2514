// A rectangle in pixels: left and top inside, right and bottom just outside.
#pragma once

#include <algorithm>
#include <cstdint>

#include "CPoint.h"

namespace gui {

struct CRect {
  constexpr CRect() = default;
  constexpr CRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
      : left(left), top(top), right(right), bottom(bottom) {}
  // The rectangle at origin with the given size.
  constexpr CRect(const CPoint& origin, const CPoint& size)
      : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y) {}

  constexpr int32_t width() const { return right - left; }
  constexpr int32_t height() const { return bottom - top; }
  constexpr int32_t getWidth() const { return width(); }
  constexpr int32_t getHeight() const { return height(); }
  CRect& setWidth(int32_t w) {
    right = left + w;
    return *this;
  }
  CRect& setHeight(int32_t h) {
    bottom = top + h;
    return *this;
  }
  constexpr CPoint getTopLeft() const { return {left, top}; }
  constexpr CPoint getBottomRight() const { return {right, bottom}; }

  // Empty when the width or the height is not above 0.
  constexpr bool isEmpty() const { return right <= left || bottom <= top; }

  CRect& offset(int32_t dx, int32_t dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
  }
  CRect& offset(const CPoint& delta) { return offset(delta.x, delta.y); }
  // Keeps the size, puts the top-left at (x, y).
  CRect& moveTo(int32_t x, int32_t y) { return offset(x - left, y - top); }
  CRect& moveTo(const CPoint& p) { return moveTo(p.x, p.y); }

  // Left/top become the smaller, right/bottom the larger coordinates.
  CRect& normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return *this;
  }

  // Intersection with other; when they do not meet, the result collapses to zero width or
  // height at the nearer edge instead of turning inside out.
  CRect& bound(const CRect& other) {
    left = std::max(left, other.left);
    top = std::max(top, other.top);
    right = std::max(std::min(right, other.right), left);
    bottom = std::max(std::min(bottom, other.bottom), top);
    return *this;
  }
  // Smallest rectangle holding both.
  CRect& unite(const CRect& other) {
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
    return *this;
  }

  // Pixel test: left and top inside, right and bottom outside.
  constexpr bool pointInside(const CPoint& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  // Hit test of the toolkit's mouse handling: all four edges count as inside.
  constexpr bool pointInsideInclusive(const CPoint& p) const {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }
  // Overlap where touching edges count: the update test of views.
  constexpr bool rectOverlap(const CRect& other) const {
    return other.right >= left && other.left <= right && other.bottom >= top && other.top <= bottom;
  }
  // other lies wholly within this rectangle.
  constexpr bool rectInside(const CRect& other) const {
    return other.left >= left && other.right <= right && other.top >= top && other.bottom <= bottom;
  }

  constexpr bool operator==(const CRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  constexpr bool operator!=(const CRect& o) const { return !(*this == o); }

  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

}  // namespace gui

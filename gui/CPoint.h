// A point in pixels; y grows downwards.
#pragma once

#include <cstdint>

namespace gui {

struct CPoint {
  constexpr CPoint() = default;
  constexpr CPoint(int32_t x, int32_t y) : x(x), y(y) {}

  CPoint& offset(int32_t dx, int32_t dy) {
    x += dx;
    y += dy;
    return *this;
  }
  CPoint& operator+=(const CPoint& other) { return offset(other.x, other.y); }
  CPoint& operator-=(const CPoint& other) { return offset(-other.x, -other.y); }
  constexpr CPoint operator+(const CPoint& other) const { return {x + other.x, y + other.y}; }
  constexpr CPoint operator-(const CPoint& other) const { return {x - other.x, y - other.y}; }
  constexpr bool operator==(const CPoint& other) const { return x == other.x && y == other.y; }
  constexpr bool operator!=(const CPoint& other) const { return !(*this == other); }

  int32_t x = 0;
  int32_t y = 0;
};

}  // namespace gui

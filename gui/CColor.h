// A colour of 8-bit red, green, blue and alpha; alpha 255 is opaque.
#pragma once

#include <cstdint>

namespace gui {

struct CColor {
  constexpr bool operator==(const CColor& o) const {
    return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
  }
  constexpr bool operator!=(const CColor& o) const { return !(*this == o); }
  // The packed form the graphics layer takes: alpha in the top byte, blue in the lowest.
  constexpr uint32_t toArgb() const {
    return static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(red) << 16 |
           static_cast<uint32_t>(green) << 8 | blue;
  }

  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 255;
};

inline constexpr CColor kBlackCColor = {0, 0, 0, 255};
inline constexpr CColor kWhiteCColor = {255, 255, 255, 255};

}  // namespace gui

// A font made by the platform's graphics layer from a CFontDesc.
#pragma once

#include <cstdint>

namespace gui {
namespace platform {

class PlatformFont {
 public:
  virtual ~PlatformFont() = default;

  // Falls back to the platform's sans-serif family when name is unknown; null when even that
  // fails. style takes one of underline, italic or bold, in that order of preference.
  static PlatformFont* create(const char* name, int32_t sizePx, int32_t style);
};

}  // namespace platform
}  // namespace gui

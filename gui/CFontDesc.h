// A font by name, pixel size and style, with the platform font made on first use.
#pragma once

#include <cstdint>

#include "CBaseObject.h"

namespace gui {

namespace platform {
class PlatformFont;
}

// Style bits; the platform font takes only one of them (underline, else italic, else bold).
constexpr int32_t kBoldFace = 1;
constexpr int32_t kItalicFace = 2;
constexpr int32_t kUnderlineFace = 4;

class CFontDesc : public CBaseObject {
 public:
  CFontDesc(const char* name = nullptr, int32_t size = 0, int32_t style = 0);
  ~CFontDesc() override;
  CFontDesc(const CFontDesc&) = delete;

  const char* getName() const { return name; }
  int32_t getSize() const { return size; }
  int32_t getStyle() const { return style; }

  // A name equal to the current one changes nothing; null leaves no name.
  void setName(const char* newName);
  void setSize(int32_t newSize);
  void setStyle(int32_t newStyle);

  // Made on first use; null when the platform has none for this description.
  platform::PlatformFont* getPlatformFont();
  // The font at scale times its size; the last scaled one is kept beside the unscaled one.
  platform::PlatformFont* getPlatformFont(float scale);
  bool hasPlatformFont() const { return platformFont != nullptr || scaledFont != nullptr; }
  void freePlatformFont();

  // Drops the platform fonts of every description, the standard ones included, before the
  // graphics system shuts down: they are made again after it restarts.
  static void freeAllPlatformFonts();

 private:
  char* name = nullptr;
  int32_t size = 0;
  int32_t style = 0;
  platform::PlatformFont* platformFont = nullptr;
  platform::PlatformFont* scaledFont = nullptr;
  float scaledFontScale = 1.0f;
  // In the list of descriptions that hold a platform font.
  bool isLinked() const;
  void linkWithFont();
  // Descriptions that hold a platform font, linked so that a shut-down can find them all. A
  // plain list: it must work while static descriptions are made and destroyed.
  CFontDesc* previousWithFont = nullptr;
  CFontDesc* nextWithFont = nullptr;
};

// The standard descriptions live as long as the library.
extern CFontDesc* const kSystemFont;
extern CFontDesc* const kNormalFontVeryBig;
extern CFontDesc* const kNormalFontBig;
extern CFontDesc* const kNormalFont;
extern CFontDesc* const kNormalFontSmall;
extern CFontDesc* const kNormalFontSmaller;
extern CFontDesc* const kNormalFontVerySmall;
extern CFontDesc* const kSymbolFont;

}  // namespace gui

#include "CFontDesc.h"

#include <cstring>

#include "ScaleFactor.h"
#include "platform/PlatformFont.h"

namespace gui {

namespace {

char* copyName(const char* name) {
  if (!name) return nullptr;
  const size_t length = std::strlen(name);
  char* copy = new char[length + 1];
  std::memcpy(copy, name, length + 1);
  return copy;
}

// The first description that holds a platform font; constant-initialised, so usable at any time.
CFontDesc* firstWithFont = nullptr;

CFontDesc systemFont("Arial", 12);
CFontDesc normalFontVeryBig("Arial", 18);
CFontDesc normalFontBig("Arial", 14);
CFontDesc normalFont("Arial", 12);
CFontDesc normalFontSmall("Arial", 11);
CFontDesc normalFontSmaller("Arial", 10);
CFontDesc normalFontVerySmall("Arial", 9);
CFontDesc symbolFont("Symbol", 13);

}  // namespace

CFontDesc* const kSystemFont = &systemFont;
CFontDesc* const kNormalFontVeryBig = &normalFontVeryBig;
CFontDesc* const kNormalFontBig = &normalFontBig;
CFontDesc* const kNormalFont = &normalFont;
CFontDesc* const kNormalFontSmall = &normalFontSmall;
CFontDesc* const kNormalFontSmaller = &normalFontSmaller;
CFontDesc* const kNormalFontVerySmall = &normalFontVerySmall;
CFontDesc* const kSymbolFont = &symbolFont;

CFontDesc::CFontDesc(const char* name, int32_t size, int32_t style)
    : name(copyName(name)), size(size), style(style) {}

CFontDesc::~CFontDesc() {
  freePlatformFont();
  delete[] name;
}

void CFontDesc::setName(const char* newName) {
  if (name == newName || (name && newName && std::strcmp(name, newName) == 0)) return;
  delete[] name;
  name = copyName(newName);
  freePlatformFont();
}

void CFontDesc::setSize(int32_t newSize) {
  if (newSize == size) return;
  size = newSize;
  freePlatformFont();
}

void CFontDesc::setStyle(int32_t newStyle) {
  if (newStyle == style) return;
  style = newStyle;
  freePlatformFont();
}

platform::PlatformFont* CFontDesc::getPlatformFont() {
  if (platformFont) return platformFont;
  platformFont = platform::PlatformFont::create(name, size, style);
  if (platformFont) linkWithFont();
  return platformFont;
}

platform::PlatformFont* CFontDesc::getPlatformFont(float scale) {
  if (scale == 1.0f) return getPlatformFont();
  if (scaledFont && scaledFontScale == scale) return scaledFont;
  delete scaledFont;
  scaledFont = platform::PlatformFont::create(name, ScaleFactor::toDevice(size, scale), style);
  scaledFontScale = scale;
  if (scaledFont) linkWithFont();
  return scaledFont;
}

bool CFontDesc::isLinked() const { return firstWithFont == this || previousWithFont != nullptr; }

void CFontDesc::linkWithFont() {
  if (isLinked()) return;
  nextWithFont = firstWithFont;
  if (firstWithFont) firstWithFont->previousWithFont = this;
  firstWithFont = this;
}

void CFontDesc::freePlatformFont() {
  delete platformFont;
  platformFont = nullptr;
  delete scaledFont;
  scaledFont = nullptr;
  if (!isLinked()) return;
  if (previousWithFont)
    previousWithFont->nextWithFont = nextWithFont;
  else
    firstWithFont = nextWithFont;
  if (nextWithFont) nextWithFont->previousWithFont = previousWithFont;
  previousWithFont = nextWithFont = nullptr;
}

void CFontDesc::freeAllPlatformFonts() {
  while (firstWithFont) firstWithFont->freePlatformFont();
}

}  // namespace gui

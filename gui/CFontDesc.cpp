#include "CFontDesc.h"

#include <cstring>
#include <initializer_list>

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
  if (!platformFont) platformFont = platform::PlatformFont::create(name, size, style);
  return platformFont;
}

void CFontDesc::freePlatformFont() {
  delete platformFont;
  platformFont = nullptr;
}

void CFontDesc::freeStandardPlatformFonts() {
  for (CFontDesc* font : {kSystemFont, kNormalFontVeryBig, kNormalFontBig, kNormalFont,
                          kNormalFontSmall, kNormalFontSmaller, kNormalFontVerySmall, kSymbolFont})
    font->freePlatformFont();
}

}  // namespace gui

// Font descriptions and the standard ones.
#include <gtest/gtest.h>

#include "CFontDesc.h"

namespace gui {
namespace {

TEST(CFontDesc, StandardFontsAreArialExceptSymbol) {
  const struct {
    CFontDesc* font;
    int32_t size;
  } table[] = {{kSystemFont, 12},        {kNormalFontVeryBig, 18}, {kNormalFontBig, 14},
               {kNormalFont, 12},        {kNormalFontSmall, 11},   {kNormalFontSmaller, 10},
               {kNormalFontVerySmall, 9}};
  for (const auto& entry : table) {
    EXPECT_STREQ(entry.font->getName(), "Arial");
    EXPECT_EQ(entry.font->getSize(), entry.size);
    EXPECT_EQ(entry.font->getStyle(), 0);
  }
  EXPECT_STREQ(kSymbolFont->getName(), "Symbol");
  EXPECT_EQ(kSymbolFont->getSize(), 13);
}

TEST(CFontDesc, NameIsCopiedAndReplaceable) {
  char name[] = "Arial";
  auto* font = new CFontDesc(name, 10, kItalicFace);
  name[0] = 'X';
  EXPECT_STREQ(font->getName(), "Arial");
  const char* before = font->getName();
  font->setName("Arial");
  EXPECT_EQ(font->getName(), before) << "an equal name changes nothing";
  font->setName("Symbol");
  EXPECT_STREQ(font->getName(), "Symbol");
  font->setName(nullptr);
  EXPECT_EQ(font->getName(), nullptr);
  EXPECT_EQ(font->getNbReference(), 1);
  font->forget();
}

}  // namespace
}  // namespace gui

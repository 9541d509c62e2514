// The X11 layer's conversions that need no display: bitmap files to pixels (and the refusal of
// every malformed file), and X input to the toolkit's button bits, wheel notches and keys.
#include <gtest/gtest.h>

// After the test framework, whose names Xlib's macros (None, Bool) would replace.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdint>
#include <string>
#include <vector>

#include "MouseEvents.h"
#include "platform/x11/BmpDecoder.h"
#include "platform/x11/X11Input.h"

namespace gui {
namespace platform {
namespace {

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

// A 2 x 2 file of that depth: the top row red then green, the bottom row blue then white, as
// palette indices 0..3 below 24 bits. Rows are stored bottom-up unless height is negative.
std::vector<uint8_t> twoByTwo(uint32_t bits, bool topDown) {
  const uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  const size_t palette = bits <= 8 ? 4 * 4 : 0;
  const size_t rowBytes = ((2 * bits + 31) / 32) * 4;
  const size_t pixels = 14 + 40 + palette;
  std::vector<uint8_t> b(pixels + 2 * rowBytes, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 2, static_cast<uint32_t>(b.size()));
  put32(b, 10, static_cast<uint32_t>(pixels));
  put32(b, 14, 40);
  put32(b, 18, 2);
  put32(b, 22, topDown ? static_cast<uint32_t>(-2) : 2);
  put16(b, 26, 1);
  put16(b, 28, bits);
  put32(b, 46, bits <= 8 ? 4 : 0);
  for (size_t i = 0; i < palette / 4; ++i) put32(b, 54 + 4 * i, colours[i]);
  for (int y = 0; y < 2; ++y) {
    const size_t row = pixels + rowBytes * static_cast<size_t>(topDown ? y : 1 - y);
    for (int x = 0; x < 2; ++x) {
      const uint32_t index = static_cast<uint32_t>(2 * y + x);
      if (bits >= 24) {
        const size_t at = row + static_cast<size_t>(x) * (bits / 8);
        b[at] = static_cast<uint8_t>(colours[index]);
        b[at + 1] = static_cast<uint8_t>(colours[index] >> 8);
        b[at + 2] = static_cast<uint8_t>(colours[index] >> 16);
      } else {
        const size_t bit = static_cast<size_t>(x) * bits;
        b[row + bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
      }
    }
  }
  return b;
}

TEST(BmpDecoder, EveryDepthAndRowOrderGivesTheSamePixels) {
  const std::vector<uint32_t> expected = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  for (uint32_t bits : {4u, 8u, 24u, 32u})
    for (bool topDown : {false, true}) {
      const std::vector<uint8_t> file = twoByTwo(bits, topDown);
      BmpDecoder decoder;
      ASSERT_TRUE(decoder.parse(file.data(), file.size())) << bits << ": " << decoder.error();
      EXPECT_EQ(decoder.width(), 2);
      EXPECT_EQ(decoder.height(), 2);
      std::vector<uint32_t> pixels(6, 0);  // rows 3 pixels apart
      decoder.decode(pixels.data(), 3);
      EXPECT_EQ((std::vector<uint32_t>{pixels[0], pixels[1], pixels[3], pixels[4]}), expected)
          << bits << " bits, " << (topDown ? "top-down" : "bottom-up");
    }
}

TEST(BmpDecoder, MalformedFilesAreRefusedWithTheirReason) {
  struct Case {
    const char* what;
    size_t at;  // the byte changed, or the length the file is cut to
    uint32_t value;
    bool cut;
    const char* reason;
  };
  const Case cases[] = {
      {"empty", 0, 0, true, "shorter than a header"},
      {"not BM", 0, 'X', false, "not a bitmap file"},
      {"header size 20", 14, 20, false, "unknown header"},
      {"header longer than the file", 14, 4000, false, "header cut short"},
      {"run-length compressed", 30, 1, false, "compressed"},
      {"16 bits", 28, 16, false, "unsupported bits per pixel"},
      {"width 0", 18, 0, false, "size out of range"},
      {"width 100000", 18, 100000, false, "size out of range"},
      {"palette cut off", 60, 0, true, "palette cut short"},
      {"pixels before the palette's end", 10, 20, false, "pixels cut short"},
      {"pixels past the end", 10, 4000, false, "pixels cut short"},
      {"last row cut off", 75, 0, true, "pixels cut short"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = twoByTwo(8, false);
    if (c.cut)
      file.resize(c.at);
    else if (c.value > 0xFF || c.at == 18)
      put32(file, c.at, c.value);
    else if (c.at == 28)
      put16(file, c.at, c.value);
    else
      file[c.at] = static_cast<uint8_t>(c.value);
    BmpDecoder decoder;
    EXPECT_FALSE(decoder.parse(file.data(), file.size())) << c.what;
    EXPECT_EQ(std::string(decoder.error()), c.reason) << c.what;
    EXPECT_EQ(decoder.width(), 0) << c.what;
  }
}

TEST(X11Input, ButtonsWheelAndKeysInTheToolkitsTerms) {
  EXPECT_EQ(buttonsFromState(Button1Mask | ShiftMask), kLButton | kShift);
  EXPECT_EQ(buttonsFromState(Button2Mask | Button3Mask | ControlMask | Mod1Mask),
            kMButton | kRButton | kControl | kAlt);
  const struct {
    unsigned int button;
    int32_t bit;
    float notches;
  } buttons[] = {{1, kLButton, 0}, {2, kMButton, 0}, {3, kRButton, 0},
                 {4, 0, 1.0f},     {5, 0, -1.0f},    {6, 0, 0},
                 {7, 0, 0},        {8, kButton4, 0}, {9, kButton5, 0}};
  for (const auto& b : buttons) {
    EXPECT_EQ(buttonBit(b.button), b.bit) << b.button;
    EXPECT_EQ(wheelNotches(b.button), b.notches) << b.button;
  }
  const struct {
    KeySym symbol;
    unsigned int state;
    bool known;
    VstKeyCode key;
  } keys[] = {
      {XK_Tab, 0, true, {0, VKEY_TAB, 0}},
      {XK_ISO_Left_Tab, ShiftMask, true, {0, VKEY_TAB, MODIFIER_SHIFT}},
      {XK_Up, ControlMask, true, {0, VKEY_UP, MODIFIER_CONTROL}},
      {XK_Left, Mod1Mask, true, {0, VKEY_LEFT, MODIFIER_ALTERNATE}},
      {XK_a, 0, true, {'a', 0, 0}},
      {XK_F1, 0, false, {0, 0, 0}},
      {XK_Shift_L, ShiftMask, false, {0, 0, MODIFIER_SHIFT}},
  };
  for (const auto& k : keys) {
    VstKeyCode key{};
    EXPECT_EQ(keyFromSymbol(k.symbol, k.state, key), k.known) << k.symbol;
    EXPECT_EQ(key.character, k.key.character) << k.symbol;
    EXPECT_EQ(key.virt, k.key.virt) << k.symbol;
    EXPECT_EQ(key.modifier, k.key.modifier) << k.symbol;
  }
}

}  // namespace
}  // namespace platform
}  // namespace gui

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "CFontDesc.h"
#include "CParamDisplay.h"
#include "ControlTestSupport.h"

namespace gui {
namespace {

using test::Log;
using test::LoggingBitmap;
using test::LoggingContext;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Logs the text that each draw computes.
class TextDisplay : public CParamDisplay {
 public:
  TextDisplay(const CRect& size, Log* log) : CParamDisplay(size), log(log) {}
  void drawText(CDrawContext* context, const char* text, CBitmap* newBack) override {
    log->push_back(std::string("text ") + text);
    CParamDisplay::drawText(context, text, newBack);
  }
  Log* log;
};

class ParamDisplayTest : public ::testing::Test {
 protected:
  ParamDisplayTest() : context(&log) { display = new TextDisplay(CRect(10, 20, 50, 32), &log); }
  ~ParamDisplayTest() override { display->forget(); }
  // The text one draw computes.
  std::string text() {
    log.clear();
    display->draw(&context);
    return log.front();
  }
  // What one draw did, without the text line.
  Log drawn() {
    log.clear();
    display->draw(&context);
    return Log(log.begin() + 1, log.end());
  }

  Log log;
  LoggingContext context;
  TextDisplay* display = nullptr;
};

TEST_F(ParamDisplayTest, DefaultTextHasTwoDecimals) {
  const struct {
    float value;
    const char* text;
  } cases[] = {{0.256f, "text 0.26"},
               {-1.0f, "text -1.00"},
               {100.0f, "text 100.00"},
               {0.5f, "text 0.50"},
               {12.345f, "text 12.35"}};
  for (const auto& c : cases) {
    display->setValue(c.value);
    EXPECT_EQ(text(), c.text);
  }
}

TEST_F(ParamDisplayTest, ConversionWithUserDataTakesPrecedence) {
  static int userData = 42;
  display->setValue(0.5f);
  display->setStringConvert([](float value, char* text) {
    std::snprintf(text, 256, "plain %.1f", static_cast<double>(value));
  });
  EXPECT_EQ(text(), "text plain 0.5");
  display->setStringConvert(
      [](float value, char* text, void* data) {
        std::snprintf(text, 256, "user %d %.1f", *static_cast<int*>(data),
                      static_cast<double>(value));
      },
      &userData);
  EXPECT_EQ(text(), "text user 42 0.5");
}

TEST_F(ParamDisplayTest, ConversionFillingTheWholeBufferIsCut) {
  // No terminator written: the text ends at the buffer's last byte.
  display->setStringConvert([](float, char* text) { std::memset(text, 'x', 256); });
  EXPECT_EQ(text(), "text " + std::string(255, 'x'));
}

TEST_F(ParamDisplayTest, StylesChooseFillOutlineAndBevel) {
  display->setBackColor(CColor{0, 0, 255, 255});
  display->setFrameColor(CColor{0, 255, 0, 255});
  const struct {
    int32_t style;
    Log expected;
  } cases[] = {
      {0, {"fill 10,20 40x12 0000ffff", "outline 10,20 39x11 00ff00ff"}},
      {kNoFrame, {"fill 10,20 40x12 0000ffff"}},
      {k3DIn,
       {"fill 10,20 40x12 0000ffff", "line 10,32-10,21 0000ffff", "line 10,21-49,21 0000ffff",
        "line 49,21-49,32 00ff00ff", "line 49,32-10,32 00ff00ff"}},
      {k3DOut,
       {"fill 10,20 40x12 0000ffff", "line 10,32-10,21 00ff00ff", "line 10,21-49,21 00ff00ff",
        "line 49,21-49,32 0000ffff", "line 49,32-10,32 0000ffff"}},
      {kNoDrawStyle, {}},
      {kNoTextStyle | kShadowText, {"fill 10,20 40x12 0000ffff", "outline 10,20 39x11 00ff00ff"}},
  };
  for (const auto& c : cases) {
    display->setStyle(c.style);
    EXPECT_EQ(drawn(), c.expected) << c.style;
    EXPECT_FALSE(display->isDirty());
  }
}

TEST_F(ParamDisplayTest, BitmapOrTransparencyReplaceTheFill) {
  auto* back = new LoggingBitmap(40, 12, &log);
  display->setTransparency(true);
  EXPECT_THAT(drawn(), IsEmpty());
  display->setBackground(back);
  back->forget();
  display->setBackOffset(CPoint(3, 4));
  EXPECT_THAT(drawn(), ElementsAre("transparent 10,20,50,32 from 3,4"));
  display->setTransparency(false);
  EXPECT_THAT(drawn(), ElementsAre("draw 10,20,50,32 from 3,4"));
}

TEST_F(ParamDisplayTest, SettersMarkDirtyOnlyOnChange) {
  const CColor white = kWhiteCColor;
  const CColor black = kBlackCColor;
  const CColor red = {255, 0, 0, 255};
  const CColor halfWhite = {255, 255, 255, 128};
  const struct {
    const char* what;
    std::function<void()> set;
    bool dirty;
  } cases[] = {
      {"same font colour", [&] { display->setFontColor(white); }, false},
      {"font colour alpha", [&] { display->setFontColor(halfWhite); }, true},
      {"same back colour", [&] { display->setBackColor(black); }, false},
      {"back colour", [&] { display->setBackColor(red); }, true},
      {"same frame colour", [&] { display->setFrameColor(black); }, false},
      {"same shadow colour", [&] { display->setShadowColor(red); }, false},
      {"shadow colour", [&] { display->setShadowColor(white); }, true},
      {"same font", [&] { display->setFont(kNormalFont); }, true},
      {"same alignment", [&] { display->setHoriAlign(kCenterText); }, false},
      {"alignment", [&] { display->setHoriAlign(kRightText); }, true},
      {"same style", [&] { display->setStyle(1); }, false},
      {"style", [&] { display->setStyle(kShadowText); }, true},
      {"same face", [&] { display->setTxtFace(0); }, false},
      {"face", [&] { display->setTxtFace(kBoldFace); }, true},
  };
  for (const auto& c : cases) {
    display->draw(&context);
    c.set();
    EXPECT_EQ(display->isDirty(), c.dirty) << c.what;
  }
}

// Only a change of the shown text asks for a redraw: automation that moves a value by less
// than the display's last digit repaints nothing.
TEST_F(ParamDisplayTest, AValueThatShowsTheDrawnTextNeedsNoRedraw) {
  const struct {
    const char* what;
    std::function<void()> change;
    bool dirty;
  } cases[] = {
      {"same text", [&] { display->setValue(0.501f); }, false},
      {"next digit", [&] { display->setValue(0.51f); }, true},
      {"marked dirty", [&] { display->setDirty(true); }, true},
      {"text of another value", [&] { display->setValue(0.25f); }, true},
      {"same value", [&] { display->setValue(0.5f); }, false},
  };
  for (const auto& c : cases) {
    display->setValue(0.5f);
    display->draw(&context);
    c.change();
    EXPECT_EQ(display->isDirty(), c.dirty) << c.what;
  }
}

TEST_F(ParamDisplayTest, HoldsAReferenceOnItsFont) {
  auto* font = new CFontDesc("Arial", 9);
  display->setFont(font);
  EXPECT_EQ(font->getNbReference(), 2);
  auto* copy = static_cast<CParamDisplay*>(display->newCopy());
  EXPECT_EQ(font->getNbReference(), 3);
  copy->forget();
  display->setFont(kNormalFont);
  EXPECT_EQ(font->getNbReference(), 1);
  font->forget();
}

}  // namespace
}  // namespace gui

// Drawing through GDI+ onto a frame window, checked on the X server's picture of the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "CBitmap.h"
#include "CFontDesc.h"
#include "COffscreenContext.h"
#include "CViewContainer.h"
#include "FrameFixture.h"
#include "TestViews.h"
#include "platform/PlatformGraphics.h"
#include "platform/win32/GdiplusFont.h"

namespace wintest {
namespace {

using gui::CColor;
using gui::CPoint;
using gui::CRect;

constexpr CColor kRed = {255, 0, 0, 255};
constexpr CColor kGreen = {0, 255, 0, 255};
constexpr CColor kBlue = {0, 0, 255, 255};
constexpr CColor kYellow = {255, 255, 0, 255};
constexpr CColor kHalfBlue = {0, 0, 255, 128};
constexpr CColor kWhite = gui::kWhiteCColor;
constexpr int32_t kBitmapResource = 300;
constexpr int32_t kDataResource = 301;
// GDI+ lays text out with a margin of a sixth of the font size on either side (measured widths
// include both); glyph side bearings move the ink by up to this much more.
constexpr int32_t kTextEdgeTolerancePx = 2;
constexpr int32_t kTextSizePx = 14;
constexpr float kTextMarginPx = kTextSizePx / 6.0f;

class DrawingPixels : public FrameFixture {
 protected:
  // Compares every pixel of a frame rectangle with expected (frame coordinates).
  void expectPixels(const Screenshot& shot, const CRect& area,
                    const std::function<CColor(int32_t x, int32_t y)>& expected,
                    std::vector<std::string>& failures) {
    for (int32_t y = area.top; y < area.bottom; ++y)
      for (int32_t x = area.left; x < area.right; ++x) {
        const CColor want = expected(x, y);
        const CColor got = shot.at(kHostX + x, kHostY + y);
        if (!closeTo(got, want) && failures.size() < 12)
          failures.push_back("pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                             describe(got) + ", expected " + describe(want));
      }
  }

  // The colour of kHalfBlue blended over white at a frame point, which must look like one.
  static CColor halfBlueOverWhite(const Screenshot& shot, const CPoint& at,
                                  std::vector<std::string>& failures) {
    const CColor blended = shot.at(kHostX + at.x, kHostY + at.y);
    if (!(blended.blue == 255 && blended.red > 64 && blended.red < 192))
      failures.push_back("the translucent fill is " + describe(blended));
    return blended;
  }

  PaintView* addPainter(const CRect& size, PaintView::Painter painter) {
    auto* view = new PaintView(size, std::move(painter));
    frame->addView(view);
    return view;
  }

  void checkScreen(const std::function<void(const Screenshot&, std::vector<std::string>&)>& check) {
    ASSERT_TRUE(idleAndPaint());
    Screenshot last;
    const std::vector<std::string> failures =
        waitForPixels(screenRect(), check, kWaitTimeoutMs, &last);
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
    // For people who want to look at the picture: FERROWIN_SCREENSHOT_DIR=<Unix directory>.
    if (const char* dir = std::getenv("FERROWIN_SCREENSHOT_DIR"))
      last.savePng(std::string(dir) + "/" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
  }
};

TEST_F(DrawingPixels, FilledAndStrokedRectangleCoversExactlyItsPixels) {
  addPainter(CRect(0, 0, kWidth, kHeight), [](gui::CDrawContext* context, const CRect&) {
    context->setFillColor(kRed);
    context->setFrameColor(kBlue);
    context->drawRect(CRect(10, 10, 20, 20), gui::kDrawFilledAndStroked);
  });
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    expectPixels(
        shot, CRect(5, 5, 25, 25),
        [](int32_t x, int32_t y) {
          if (x < 10 || x > 19 || y < 10 || y > 19) return kWhite;
          return (x == 10 || x == 19 || y == 10 || y == 19) ? kBlue : kRed;
        },
        failures);
  });
}

TEST_F(DrawingPixels, BitmapsLandAtTheirPlaceWithTheirSourceOffset) {
  auto* fromBitmapResource = new gui::CBitmap(kBitmapResource);
  auto* fromDataResource = new gui::CBitmap(kDataResource);
  EXPECT_EQ(fromBitmapResource->getWidth(), 32);
  EXPECT_EQ(fromBitmapResource->getHeight(), 16);
  EXPECT_EQ(fromDataResource->getWidth(), 32);
  EXPECT_EQ(fromDataResource->getHeight(), 16);

  addPainter(CRect(0, 0, kWidth, kHeight), [&](gui::CDrawContext* context, const CRect&) {
    // Whole picture; a window on it from (4,4); the same through the stream decoder.
    fromBitmapResource->draw(context, CRect(20, 30, 52, 46));
    fromBitmapResource->draw(context, CRect(70, 30, 78, 38), CPoint(4, 4));
    fromDataResource->draw(context, CRect(100, 30, 116, 46), CPoint(0, 0));
  });
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    const auto quadrant = [](int32_t u, int32_t v) {
      if (v < 8) return u < 8 ? kRed : kGreen;
      return u < 8 ? kBlue : kYellow;
    };
    expectPixels(
        shot, CRect(20, 30, 36, 46), [&](int32_t x, int32_t y) { return quadrant(x - 20, y - 30); },
        failures);
    // The 8 x 8 window from (4,4) is split into four 4 x 4 corners.
    expectPixels(
        shot, CRect(66, 26, 82, 42),
        [&](int32_t x, int32_t y) {
          if (x < 70 || x >= 78 || y < 30 || y >= 38) return kWhite;
          return quadrant(x - 70 + 4, y - 30 + 4);
        },
        failures);
    expectPixels(
        shot, CRect(100, 30, 116, 46),
        [&](int32_t x, int32_t y) { return quadrant(x - 100, y - 30); }, failures);
  });
  fromBitmapResource->forget();
  fromDataResource->forget();
}

// Ink of dark text on white within a frame rectangle: its bounding box, or empty.
CRect inkBox(const Screenshot& shot, const CRect& area, int32_t hostX, int32_t hostY) {
  CRect box(area.right, area.bottom, area.left, area.top);
  for (int32_t y = area.top; y < area.bottom; ++y)
    for (int32_t x = area.left; x < area.right; ++x) {
      const CColor c = shot.at(hostX + x, hostY + y);
      if (c.red + c.green + c.blue < 3 * 128) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
    }
  return box;
}

TEST_F(DrawingPixels, TextAlignsLeftCentreAndRight) {
  const CRect rows[3] = {CRect(20, 20, 220, 40), CRect(20, 60, 220, 80), CRect(20, 100, 220, 120)};
  const int32_t aligns[3] = {gui::kLeftText, gui::kCenterText, gui::kRightText};
  int32_t measured = -1;
  addPainter(CRect(0, 0, kWidth, kHeight), [&](gui::CDrawContext* context, const CRect&) {
    context->setFont(gui::kNormalFontBig);
    context->setFontColor(gui::kBlackCColor);
    measured = context->getStringWidth("Ferrowin");
    for (int i = 0; i < 3; ++i) context->drawString("Ferrowin", rows[i], aligns[i]);
  });
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    CRect boxes[3];
    for (int i = 0; i < 3; ++i) {
      // Look beyond the row: text is clipped to it, so nothing may show outside.
      boxes[i] =
          inkBox(shot, CRect(0, rows[i].top - 10, kWidth, rows[i].bottom + 10), kHostX, kHostY);
      if (boxes[i].isEmpty()) failures.push_back("row " + std::to_string(i) + " has no text");
    }
    if (!failures.empty()) return;
    char text[256];
    std::snprintf(text, sizeof(text), "ink left %d centre %d right %d, measured width %d",
                  boxes[0].left, (boxes[1].left + boxes[1].right) / 2, boxes[2].right, measured);
    if (std::abs(boxes[0].left - (rows[0].left + kTextMarginPx)) > kTextEdgeTolerancePx)
      failures.push_back(std::string("left-aligned text is off its edge: ") + text);
    const int32_t centre = (rows[1].left + rows[1].right) / 2;
    if (std::abs((boxes[1].left + boxes[1].right) / 2 - centre) > kTextEdgeTolerancePx)
      failures.push_back(std::string("centred text is off the centre: ") + text);
    if (std::abs(boxes[2].right - (rows[2].right - kTextMarginPx)) > kTextEdgeTolerancePx)
      failures.push_back(std::string("right-aligned text is off its edge: ") + text);
    // The bottom line of the text sits at bottom + size / 2 - height / 2 - 1.
    for (int i = 0; i < 3; ++i) {
      const int32_t baseline = rows[i].bottom + kTextSizePx / 2 - rows[i].height() / 2 - 1;
      if (boxes[i].bottom - 1 > baseline || boxes[i].top < rows[i].top)
        failures.push_back("row " + std::to_string(i) + " ink rows " +
                           std::to_string(boxes[i].top) + ".." +
                           std::to_string(boxes[i].bottom - 1) + " not above bottom line " +
                           std::to_string(baseline));
    }
    if (measured < boxes[0].width() || measured > boxes[0].width() + 2 * kTextEdgeTolerancePx + 4)
      failures.push_back(std::string("measured width does not match the ink: ") + text);
  });
}

TEST_F(DrawingPixels, ChildDrawingIsClippedToItsRectangle) {
  // A container at (140,90) holds a view at (10,10,50,50): on screen (150,100)-(190,140). The
  // view paints far beyond its own rectangle.
  auto* container = new gui::CViewContainer(CRect(140, 90, 280, 190));
  container->setBackgroundColor(kWhite);
  frame->addView(container);
  container->addView(
      new PaintView(CRect(10, 10, 50, 50), [](gui::CDrawContext* context, const CRect&) {
        context->setFillColor(kGreen);
        context->drawRect(CRect(-100, -100, 200, 200), gui::kDrawFilled);
      }));
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    expectPixels(
        shot, CRect(130, 80, 300, 200),
        [](int32_t x, int32_t y) {
          return (x >= 150 && x < 190 && y >= 100 && y < 140) ? kGreen : kWhite;
        },
        failures);
  });
}

// A fill under one clip, then a line, a translucent fill and a bitmap under a wider one: each
// reaches the whole of the clip it was drawn under, whichever way it is drawn.
TEST_F(DrawingPixels, EachDrawingMeetsTheClipSetBeforeIt) {
  auto* bitmap = new gui::CBitmap(kBitmapResource);
  addPainter(CRect(0, 0, kWidth, kHeight), [&](gui::CDrawContext* context, const CRect& size) {
    context->setClipRect(CRect(10, 60, 20, 70));
    context->setFillColor(kRed);
    context->drawRect(size, gui::kDrawFilled);
    context->setClipRect(CRect(30, 60, 150, 90));
    context->setFrameColor(kBlue);
    context->moveTo(CPoint(30, 65));
    context->lineTo(CPoint(90, 65));
    context->setFillColor(kHalfBlue);
    context->drawRect(CRect(30, 75, 90, 85), gui::kDrawFilled);
    bitmap->draw(context, CRect(100, 70, 132, 86));
    context->setClipRect(size);
  });
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    const CColor blended = halfBlueOverWhite(shot, CPoint(60, 80), failures);
    expectPixels(
        shot, CRect(5, 55, 95, 90),
        [&](int32_t x, int32_t y) {
          if (x >= 10 && x < 20 && y >= 60 && y < 70) return kRed;
          // Where the line ends differs between window and image (see above): not compared.
          if (y == 65 && x >= 89 && x <= 90) return shot.at(kHostX + x, kHostY + y);
          if (y == 65 && x >= 30 && x < 89) return kBlue;
          if (y >= 75 && y < 85 && x >= 30 && x < 90) return blended;
          return kWhite;
        },
        failures);
    expectPixels(
        shot, CRect(100, 70, 116, 86),
        [](int32_t x, int32_t y) {
          if (y < 78) return x < 108 ? kRed : kGreen;
          return x < 108 ? kBlue : kYellow;
        },
        failures);
  });
  bitmap->forget();
}

// The same outside a paint, where nothing has clipped the window's context yet: GDI+ itself must
// hold each clip (under Wine it is given one only before it draws), so a line and a translucent
// fill that reach past their clips leave the rest of the window as it was.
TEST_F(DrawingPixels, GdiplusDrawingOutsideAPaintStaysInsideItsClip) {
  const CRect lineClip(30, 60, 90, 70);
  const CRect fillClip(30, 75, 90, 90);
  checkScreen([](const Screenshot&, std::vector<std::string>&) {});
  gui::CDrawContext* context = frame->createDrawContext();
  ASSERT_NE(context, nullptr);
  context->setClipRect(lineClip);
  context->setFrameColor(kBlue);
  context->moveTo(CPoint(10, 65));
  context->lineTo(CPoint(110, 65));
  context->setClipRect(fillClip);
  context->setFillColor(kHalfBlue);
  context->drawRect(CRect(10, 50, 110, 100), gui::kDrawFilled);
  context->forget();
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    const CColor blended = halfBlueOverWhite(shot, CPoint(60, 80), failures);
    expectPixels(
        shot, CRect(5, 45, 115, 105),
        [&](int32_t x, int32_t y) {
          if (lineClip.pointInside(CPoint(x, y)) && y == 65) return kBlue;
          if (fillClip.pointInside(CPoint(x, y))) return blended;
          return kWhite;
        },
        failures);
  });
}

TEST_F(DrawingPixels, OffscreenContextCopiedToTheWindowShowsTheSamePicture) {
  const auto picture = [](gui::CDrawContext* context) {
    context->setFillColor(kBlue);
    context->drawRect(CRect(0, 0, 40, 30), gui::kDrawFilled);
    context->setFillColor(kYellow);
    context->setFrameColor(kRed);
    context->drawRect(CRect(5, 5, 25, 20), gui::kDrawFilledAndStroked);
    context->moveTo(CPoint(30, 2));
    context->lineTo(CPoint(30, 27));
  };
  // Left: drawn directly, moved by the context offset; right: drawn off-screen and copied.
  addPainter(CRect(20, 150, 60, 180), [&](gui::CDrawContext* context, const CRect& size) {
    const CPoint saved = context->offset;
    context->offset.offset(size.left, size.top);
    picture(context);
    context->offset = saved;
  });
  addPainter(CRect(100, 150, 140, 180), [&](gui::CDrawContext* context, const CRect& size) {
    auto* offscreen = new gui::COffscreenContext(context->getFrame(), 40, 30);
    picture(offscreen);
    offscreen->getBitmap()->draw(context, size);
    offscreen->forget();
  });
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    if (!closeTo(shot.at(kHostX + 30, kHostY + 160), kYellow))
      failures.push_back("the direct picture is missing");
    expectPixels(
        shot, CRect(100, 150, 140, 180),
        [&](int32_t x, int32_t y) {
          // Under Wine a line on a window stops short of its end point, one on an image does not
          // (docs/wine.md): that one pixel is not compared.
          if (x == 130 && y == 177) return shot.at(kHostX + x, kHostY + y);
          return shot.at(kHostX + x - 80, kHostY + y);
        },
        failures);
  });
}

// Under Wine the toolkit draws opaque text through GDI itself, as Wine's GDI+ does inside
// GdipDrawString: every printable character, in each of the toolkit's fonts, lands on the same
// pixels as GDI+'s own drawing at the same layout point. The upper half is the toolkit's, the
// lower half GDI+'s.
TEST_F(DrawingPixels, TextThroughTheToolkitHasGdiplusPixels) {
  const char16_t* const texts[] = {u" !\"#$%&'()*+,-./0123456789:;<", u"=>?@ABCDEFGHIJKLMNOPQRSTU",
                                   u"VWXYZ[\\]^_`abcdefghijklmn", u"opqrstuvwxyz{|}~ tri-saw"};
  gui::CFontDesc* const fonts[] = {gui::kNormalFont, gui::kNormalFontSmall,
                                   gui::kNormalFontSmaller};
  // Rows overlap a little; each half keeps its ascenders and descenders inside itself.
  constexpr int32_t kRowPx = 9;
  constexpr int32_t kFirstBottomPx = 15;
  constexpr int32_t kHalf = kHeight / 2;
  addPainter(CRect(0, 0, kWidth, kHeight), [&](gui::CDrawContext* context, const CRect& size) {
    context->setFillColor(kWhite);
    context->drawRect(size, gui::kDrawFilled);
    auto* toolkit = context->getPlatformGraphics();
    Gdiplus::GpGraphics* reference = nullptr;
    ASSERT_EQ(Gdiplus::DllExports::GdipCreateFromHDC(static_cast<HDC>(context->getSystemContext()),
                                                     &reference),
              Gdiplus::Ok);
    Gdiplus::DllExports::GdipSetPageUnit(reference, Gdiplus::UnitPixel);
    Gdiplus::GpSolidFill* brush = nullptr;
    Gdiplus::DllExports::GdipCreateSolidFill(0xFF000000, &brush);
    toolkit->setFontColor(gui::kBlackCColor);
    int32_t row = 0;
    for (gui::CFontDesc* font : fonts) {
      auto* platformFont = static_cast<gui::platform::GdiplusFont*>(font->getPlatformFont(1.0f));
      ASSERT_NE(platformFont, nullptr);
      Gdiplus::REAL fontHeight = 0.0f;
      Gdiplus::DllExports::GdipGetFontHeightGivenDPI(platformFont->getFont(), 96.0f, &fontHeight);
      for (const char16_t* text : texts) {
        const int32_t bottom = kFirstBottomPx + row * kRowPx;
        toolkit->drawString(text, platformFont, 2, bottom);
        // GDI+'s layout rectangle starts one font height above the bottom line.
        const Gdiplus::RectF layout = {2.0f, static_cast<float>(kHalf + bottom) + 1.0f - fontHeight,
                                       0.0f, 0.0f};
        Gdiplus::DllExports::GdipDrawString(reference, reinterpret_cast<const WCHAR*>(text), -1,
                                            platformFont->getFont(), &layout, nullptr, brush);
        ++row;
      }
    }
    Gdiplus::DllExports::GdipDeleteBrush(brush);
    Gdiplus::DllExports::GdipDeleteGraphics(reference);
  });
  checkScreen([&](const Screenshot& shot, std::vector<std::string>& failures) {
    int32_t inked = 0;
    for (int32_t y = 0; y < kHalf; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        const CColor mine = shot.at(kHostX + x, kHostY + y);
        const CColor theirs = shot.at(kHostX + x, kHostY + kHalf + y);
        if (!(mine == kWhite)) ++inked;
        if (!(mine == theirs) && failures.size() < 12)
          failures.push_back("pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                             describe(mine) + ", GDI+ drew " + describe(theirs));
      }
    // Text was drawn at all: at least a pixel per character.
    if (inked < 4 * 25) failures.push_back("only " + std::to_string(inked) + " inked pixels");
  });
}

}  // namespace
}  // namespace wintest

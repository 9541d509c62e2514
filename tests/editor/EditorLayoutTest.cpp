// The layout table against the window it describes, and the rules derived from it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>
#include <vector>

#include "EditorLayout.h"
#include "FilterTypeSelector.h"
#include "FrequencyText.h"
#include "ParameterControls.h"
#include "PendingParameters.h"

namespace {

// A note display is 30 pixels wide: five characters of the small font fit, eight do not.
TEST(EditorLayoutTest, FrequencyTextsFitTheNoteDisplay) {
  const struct {
    const char* effectText;
    const char* shown;
  } cases[] = {
      {"8.175799", "8.176"},
      {"9.998000", "10.00"},
      {"34.64782", "34.65"},
      {"99.99600", "100.0"},
      {"440.0000", "440.0"},
      {"999.9600", "1000"},
      {"1046.502", "1047"},
      {"12543.85", "12544"},
      {"Huge!", "Huge!"},
      {"NaN", "NaN"},
      {"", ""},
      {"12.5 Hz", "12.5 Hz"},
  };
  for (const auto& c : cases) {
    char text[256] = {};
    std::snprintf(text, sizeof text, "%s", c.effectText);
    fitFrequencyText(text);
    EXPECT_STREQ(text, c.shown) << c.effectText;
  }
}

TEST(EditorLayoutTest, EveryControlSitsInsideTheWindowAndNoTwoOverlap) {
  const gui::CRect window(0, 0, 691, 371);
  for (int32_t a = 0; a < EditorLayout::kControlCount; ++a) {
    const gui::CRect& ra = EditorLayout::control(a).rect;
    EXPECT_GE(ra.left, window.left) << a;
    EXPECT_GE(ra.top, window.top) << a;
    EXPECT_LE(ra.right, window.right) << a;
    EXPECT_LE(ra.bottom, window.bottom) << a;
    for (int32_t b = a + 1; b < EditorLayout::kControlCount; ++b) {
      const gui::CRect& rb = EditorLayout::control(b).rect;
      const bool apart =
          ra.right <= rb.left || rb.right <= ra.left || ra.bottom <= rb.top || rb.bottom <= ra.top;
      EXPECT_TRUE(apart) << "rows " << a << " and " << b;
    }
  }
}

TEST(EditorLayoutTest, EachDisplaySitsUnderTheSliderOfItsParameter) {
  for (int32_t r = 0; r < EditorLayout::kControlCount; ++r) {
    const ControlPlacement& display = EditorLayout::control(r);
    if (display.kind != ControlKind::display) continue;
    const ParameterControls::Rows& rows = ParameterControls::instance().of(display.parameter);
    int32_t sliders = 0;
    for (int32_t i = 0; i < rows.count; ++i) {
      const ControlPlacement& other = EditorLayout::control(rows.row[static_cast<size_t>(i)]);
      if (other.kind != ControlKind::slider) continue;
      ++sliders;
      // Centred under the slider within three pixels (sums of both edges: twice the centre).
      EXPECT_LE(
          std::abs((other.rect.left + other.rect.right) - (display.rect.left + display.rect.right)),
          6)
          << "parameter " << display.parameter;
      EXPECT_GE(display.rect.top, other.rect.bottom);
    }
    EXPECT_EQ(sliders, 1) << "parameter " << display.parameter;
  }
}

TEST(EditorLayoutTest, IndexListsEveryParametersControlsInCreationOrder) {
  struct Case {
    int32_t parameter;
    std::vector<ControlKind> kinds;
  };
  const std::vector<ControlKind> sliderAndDisplay = {ControlKind::slider, ControlKind::display};
  const Case cases[] = {
      {0, sliderAndDisplay},
      {1, sliderAndDisplay},
      {2, sliderAndDisplay},
      {3, sliderAndDisplay},
      {4, sliderAndDisplay},
      {5, sliderAndDisplay},
      {6, sliderAndDisplay},
      {7, {ControlKind::button, ControlKind::button, ControlKind::button}},
      {8, sliderAndDisplay},
      {9, sliderAndDisplay},
      {10, sliderAndDisplay},
      {11, sliderAndDisplay},
      {12, sliderAndDisplay},
      {13, sliderAndDisplay},
      {14, sliderAndDisplay},
      {15, sliderAndDisplay},
      {16, {ControlKind::knob}},
      {17, {ControlKind::knob}},
      {-1, {}},
      {18, {}},
  };
  std::set<int32_t> seen;
  for (const Case& c : cases) {
    const ParameterControls::Rows& rows = ParameterControls::instance().of(c.parameter);
    ASSERT_EQ(rows.count, static_cast<int32_t>(c.kinds.size())) << c.parameter;
    int32_t previous = -1;
    for (int32_t i = 0; i < rows.count; ++i) {
      const int32_t row = rows.row[static_cast<size_t>(i)];
      EXPECT_GT(row, previous);
      previous = row;
      EXPECT_EQ(EditorLayout::control(row).kind, c.kinds[static_cast<size_t>(i)]);
      EXPECT_EQ(EditorLayout::control(row).parameter, c.parameter);
      seen.insert(row);
    }
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(EditorLayout::kControlCount));
}

TEST(EditorLayoutTest, FilterTypeButtonsFollowTheParameterThirds) {
  struct Case {
    float value;
    int32_t button;
  };
  const Case cases[] = {
      {0.0f, 0},
      {0.2f, 0},
      {0.33f, 0},
      {0.34f, 1},
      {0.5f, 1},
      {0.66f, 1},
      {0.67f, 2},
      {1.0f, 2},
      {1.3f, 2},
      {1.34f, FilterTypeSelector::kNone},
      {2.0f, FilterTypeSelector::kNone},
      {-0.2f, 0},
      {-0.4f, FilterTypeSelector::kNone},
      {std::numeric_limits<float>::quiet_NaN(), FilterTypeSelector::kNone},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FilterTypeSelector::buttonFor(c.value), c.button) << c.value;
  // A click's value maps back onto the button that sent it.
  for (int32_t b = 0; b < FilterTypeSelector::kButtons; ++b)
    EXPECT_EQ(FilterTypeSelector::buttonFor(FilterTypeSelector::valueOf(b)), b);
}

TEST(EditorLayoutTest, PendingChangesAreTakenOnceEach) {
  PendingParameters pending;
  for (int32_t index : {0, 7, 17, 7, -1, 40}) pending.mark(index);
  EXPECT_EQ(pending.take(), (1u << 0) | (1u << 7) | (1u << 17));
  EXPECT_EQ(pending.take(), 0u);
}

}  // namespace

// The editor's scale on the headless window layer: where it comes from (the user's stored
// choice, else the monitor), the menu on the background that changes it, what the host is told
// and how presses in window pixels reach the controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CControl.h"
#include "CFrame.h"
#include "EditorLayout.h"
#include "Ferrowin.h"
#include "MouseEvents.h"
#include "RecordingHost.h"
#include "SDEditor.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

using editortest::hostCalls;
using gui::CPoint;

constexpr int32_t kCutoffSlider = 7;  // layout row
constexpr int32_t kCutoff = 5;

class EditorScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::headless::reset();
    // The editor's pictures at 100 %: background, track, handle, button and knob strip.
    const int32_t sizes[][3] = {
        {128, 691, 371}, {129, 16, 160}, {130, 16, 29}, {131, 26, 36}, {133, 32, 1024}};
    for (const auto& s : sizes) gui::headless::setResourceSize(s[0], s[1], s[2]);
    hostCalls.clear();
    makeEffect();
  }
  void TearDown() override { closeEffect(); }
  void makeEffect() {
    effect = new Ferrowin(&editortest::recordingHost);
    editor = new SDEditor(effect);  // the effect owns it from here
  }
  void closeEffect() {
    AEffect* record = effect->getAeffect();
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
  }
  std::vector<int> hostRect() {
    ERect* rect = nullptr;
    AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->dispatcher(record, effEditGetRect, 0, 0, &rect, 0.0f), 1);
    return {rect->right, rect->bottom};
  }
  void open() {
    AEffect* record = effect->getAeffect();
    ASSERT_EQ(record->dispatcher(record, effEditOpen, 0, 0, &hostWindow, 0.0f), 1);
  }
  // A right-button press on the background, at a point of the window in window pixels.
  void rightClickBackground(const CPoint& windowPixel) {
    gui::CFrame* frame = editor->getFrame();
    CPoint where = frame->fromWindowPixels(windowPixel);
    frame->onMouseDown(where, gui::kRButton);
  }

  int hostWindow = 0;
  Ferrowin* effect = nullptr;
  SDEditor* editor = nullptr;
};

TEST_F(EditorScaleTest, WithoutAStoredChoiceTheMonitorDecides) {
  struct Case {
    float displayScale;
    std::vector<int> size;
  };
  for (const Case& c : {Case{1.0f, {691, 371}}, Case{1.4f, {1037, 557}}, Case{2.5f, {1382, 742}}}) {
    closeEffect();
    gui::headless::reset();
    gui::headless::setDisplayScale(c.displayScale);
    makeEffect();
    EXPECT_EQ(hostRect(), c.size) << c.displayScale;
    open();
    EXPECT_EQ(gui::headless::windowSize(editor->getFrame()->getWindow()),
              CPoint(c.size[0], c.size[1]))
        << c.displayScale;
  }
}

TEST_F(EditorScaleTest, TheBackgroundMenuChangesTheScaleAndTheNextOpenKeepsIt) {
  open();
  struct Choice {
    int32_t item;
    std::vector<int> size;
  };
  int32_t checked = 0;
  for (const Choice& c : {Choice{2, {1382, 742}}, Choice{1, {1037, 557}}, Choice{0, {691, 371}}}) {
    hostCalls.clear();
    gui::headless::setMenuChoice(c.item);
    rightClickBackground(CPoint(5, 5));
    const gui::headless::HeadlessMenu menu = gui::headless::takeLastMenu();
    EXPECT_EQ(menu.items, (std::vector<std::string>{"100 %", "150 %", "200 %"}));
    EXPECT_EQ(menu.checked, checked) << "the scale in use is checked";
    checked = c.item;
    ASSERT_EQ(hostCalls.size(), 1u) << "the host is asked to resize";
    EXPECT_EQ(hostCalls[0].opcode, audioMasterSizeWindow);
    EXPECT_EQ((std::vector<int>{hostCalls[0].index, static_cast<int>(hostCalls[0].value)}), c.size);
    EXPECT_EQ(hostRect(), c.size);
    EXPECT_EQ(gui::headless::windowSize(editor->getFrame()->getWindow()),
              CPoint(c.size[0], c.size[1]))
        << "the window follows although the host refused";
  }
  // A dismissed menu changes nothing; a press on a control opens no menu.
  hostCalls.clear();
  gui::headless::setMenuChoice(-1);
  rightClickBackground(CPoint(5, 5));
  EXPECT_EQ(gui::headless::takeLastMenu().items.size(), 3u);
  const gui::CRect& slider = EditorLayout::control(kCutoffSlider).rect;
  rightClickBackground(slider.getTopLeft() + CPoint(8, 60));
  EXPECT_TRUE(gui::headless::takeLastMenu().items.empty());
  EXPECT_TRUE(hostCalls.empty());
  // The choice outlives the effect.
  gui::headless::setMenuChoice(2);
  rightClickBackground(CPoint(5, 5));
  closeEffect();
  makeEffect();
  gui::headless::setDisplayScale(1.0f);
  EXPECT_EQ(hostRect(), (std::vector<int>{1382, 742}));
}

TEST_F(EditorScaleTest, PressesInWindowPixelsReachTheControlUnderThem) {
  ASSERT_TRUE(editor->setScaleFactor(2.0f));
  effect->setParameter(kCutoff, 0.0f);
  open();
  const gui::CRect& slider = EditorLayout::control(kCutoffSlider).rect;
  hostCalls.clear();
  // At the slider's logical (left + 8, 238) the value is 0.5; both window pixels of that row
  // and column reach it.
  for (const CPoint& windowPixel :
       {CPoint(2 * (slider.left + 8), 476), CPoint(2 * (slider.left + 8) + 1, 477)}) {
    gui::headless::setMouseButtons(gui::kLButton);
    CPoint where = editor->getFrame()->fromWindowPixels(windowPixel);
    editor->getFrame()->onMouseDown(where, gui::kLButton);
    gui::headless::setMouseButtons(0);
    editor->getFrame()->onMouseUp(where, 0);
    EXPECT_FLOAT_EQ(effect->getParameter(kCutoff), 0.5f) << windowPixel.x << "," << windowPixel.y;
  }
  ASSERT_FALSE(hostCalls.empty());
  EXPECT_EQ(hostCalls.front().opcode, audioMasterBeginEdit);
  EXPECT_EQ(hostCalls.front().index, kCutoff);
}

}  // namespace

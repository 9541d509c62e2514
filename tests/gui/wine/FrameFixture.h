// A frame in a test host window, for the window tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "CFrame.h"
#include "GUIEditorInterface.h"
#include "WineTestSupport.h"

namespace wintest {

class FrameFixture : public ::testing::Test {
 protected:
  static constexpr int32_t kHostX = 40;
  static constexpr int32_t kHostY = 40;
  static constexpr int32_t kWidth = 320;
  static constexpr int32_t kHeight = 240;

  void SetUp() override;
  void TearDown() override;

  // Runs the frame's idle and waits until the window has nothing left to paint.
  bool idleAndPaint();
  // The frame's rectangle on the screen.
  gui::CRect screenRect() const {
    return gui::CRect(kHostX, kHostY, kHostX + kWidth, kHostY + kHeight);
  }
  // A frame point on the screen.
  gui::CPoint toScreen(const gui::CPoint& p) const {
    return gui::CPoint(kHostX + p.x, kHostY + p.y);
  }
  HWND frameWindow() const { return static_cast<HWND>(frame->getWindow()); }

  std::unique_ptr<TestHost> host;
  gui::CFrame* frame = nullptr;
  gui::GUIEditorInterface* editor = nullptr;  // set by tests before SetUp when they need one
};

}  // namespace wintest

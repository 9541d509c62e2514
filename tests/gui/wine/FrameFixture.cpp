#include "FrameFixture.h"

#include "ModuleHandle.h"

namespace wintest {

void FrameFixture::SetUp() {
  // The test program carries the resources and registers the window class itself.
  gui::setModuleHandle(GetModuleHandleA(nullptr));
  host = std::make_unique<TestHost>(kHostX, kHostY, kWidth, kHeight);
  frame = new gui::CFrame(gui::CRect(0, 0, kWidth, kHeight), host->window(), editor);
  frame->setBackgroundColor(gui::kWhiteCColor);
  ASSERT_NE(frame->getWindow(), nullptr);
}

void FrameFixture::TearDown() {
  if (frame) frame->forget();
  frame = nullptr;
  host.reset();
}

bool FrameFixture::idleAndPaint() {
  frame->idle();
  return pumpUntil([&] { return !GetUpdateRect(frameWindow(), nullptr, FALSE); });
}

}  // namespace wintest

// Systems below major version 6 do not composite: paints go through the frame's back buffer and
// only the painted part is copied to the window. Under Wine the program runs itself again with
// Wine's per-program version setting at Windows XP.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "COffscreenContext.h"
#include "FrameFixture.h"
#include "TestViews.h"
#include "platform/PlatformWindow.h"

namespace wintest {
namespace {

using gui::CColor;
using gui::CRect;

constexpr CColor kFirst = {200, 40, 40, 255};
constexpr CColor kSecond = {40, 40, 200, 255};
constexpr CColor kChanged = {20, 160, 60, 255};
const char* const kChildVariable = "FERROWIN_OLD_SYSTEM_CHILD";

class BackBuffer : public FrameFixture {
 protected:
  void checkPaintsThroughTheBackBuffer();
};

void BackBuffer::checkPaintsThroughTheBackBuffer() {
  ASSERT_LT(gui::platform::getSystemMajorVersion(), 6);
  EXPECT_EQ(GetWindowLongA(frameWindow(), GWL_EXSTYLE) & WS_EX_COMPOSITED, 0);
  gui::COffscreenContext* backBuffer = frame->getBackBuffer();
  ASSERT_NE(backBuffer, nullptr);
  EXPECT_EQ(frame->getBackBuffer(), backBuffer) << "made once";
  EXPECT_EQ(backBuffer->getWidth(), kWidth);

  auto* left = new RecordingView(CRect(10, 10, 60, 60), kFirst);
  auto* right = new RecordingView(CRect(100, 30, 150, 80), kSecond);
  frame->addView(left);
  frame->addView(right);
  ASSERT_TRUE(idleAndPaint());
  auto failures = waitForPixels(screenRect(), [&](const Screenshot& shot, auto& failed) {
    if (!closeTo(shot.at(kHostX + 35, kHostY + 35), kFirst)) failed.push_back("left view missing");
    if (!closeTo(shot.at(kHostX + 125, kHostY + 55), kSecond))
      failed.push_back("right view missing");
    if (!closeTo(shot.at(kHostX + 80, kHostY + 100), gui::kWhiteCColor))
      failed.push_back("background missing");
  });
  for (const auto& failure : failures) ADD_FAILURE() << failure;

  // A repaint of the right view alone is copied from the buffer at its own place.
  right->color = kChanged;
  right->setDirty(true);
  ASSERT_TRUE(idleAndPaint());
  EXPECT_EQ(left->drawCount, 1);
  failures = waitForPixels(screenRect(), [&](const Screenshot& shot, auto& failed) {
    for (int32_t y = 25; y < 85; ++y)
      for (int32_t x = 95; x < 155; ++x) {
        const bool inside = x >= 100 && x < 150 && y >= 30 && y < 80;
        const CColor want = inside ? kChanged : gui::kWhiteCColor;
        if (!closeTo(shot.at(kHostX + x, kHostY + y), want) && failed.size() < 5)
          failed.push_back("pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                           describe(shot.at(kHostX + x, kHostY + y)));
      }
    if (!closeTo(shot.at(kHostX + 35, kHostY + 35), kFirst)) failed.push_back("left view lost");
  });
  for (const auto& failure : failures) ADD_FAILURE() << failure;
}

// Runs this program again, alone on this test, as Wine's Windows XP.
DWORD runAsOlderSystem() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  name = name.substr(name.find_last_of("\\/") + 1);
  const std::string key = "Software\\Wine\\AppDefaults\\" + name;
  RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Version", REG_SZ, "winxp64", 8);

  std::string line = std::string("\"") + path + "\" --gtest_filter=BackBuffer.*";
  SetEnvironmentVariableA(kChildVariable, "1");
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  DWORD exitCode = 1000;
  if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process)) {
    if (WaitForSingleObject(process.hProcess, 4 * kWaitTimeoutMs) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &exitCode);
    else
      TerminateProcess(process.hProcess, 1001);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  SetEnvironmentVariableA(kChildVariable, nullptr);
  RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
  return exitCode;
}

TEST_F(BackBuffer, OlderSystemsPaintThroughTheBackBufferAndCopyThePaintedPart) {
  if (std::getenv(kChildVariable) || gui::platform::getSystemMajorVersion() < 6) {
    checkPaintsThroughTheBackBuffer();
    return;
  }
  EXPECT_EQ(frame->getBackBuffer(), nullptr) << "composited systems paint directly";
  EXPECT_NE(GetWindowLongA(frameWindow(), GWL_EXSTYLE) & WS_EX_COMPOSITED, 0);
  if (!runningUnderWine()) GTEST_SKIP() << "needs a system below major version 6";
  // The second run puts its own window at the same place.
  frame->forget();
  frame = nullptr;
  host.reset();
  EXPECT_EQ(runAsOlderSystem(), 0u) << "the run as Windows XP failed (its output is above)";
}

}  // namespace
}  // namespace wintest

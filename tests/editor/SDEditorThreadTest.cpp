// Parameter changes reported on another thread while the editor's thread opens, idles and
// closes the window: no crash, no leak, and (in the ThreadSanitizer build) no data race in the
// hand-over. The other thread reports through the editor's setParameter as the effect does at
// the end of its own; the effect's plain parameter stores are outside this check.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "CControl.h"
#include "EditorLayout.h"
#include "Ferrowin.h"
#include "RecordingHost.h"
#include "SDEditor.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

constexpr int kCycles = 100;
// On a busy machine the other thread may not run during the first hundred cycles; they go on
// until it has, for at most this long.
constexpr auto kOverlapLimit = std::chrono::seconds(10);

TEST(SDEditorThreadTest, ReportsFromAnotherThreadThroughHundredOpenCloseCycles) {
  gui::headless::reset();
  auto* effect = new Ferrowin(&editortest::recordingHost);
  auto* editor = new SDEditor(effect);
  std::atomic<bool> stop{false};
  std::atomic<int> reports{0};
  std::thread automation([&] {
    for (int32_t i = 0; !stop.load(std::memory_order_relaxed); ++i) {
      editor->setParameter(i % (kNumParameters + 2) - 1, 0.5f);
      reports.fetch_add(1, std::memory_order_relaxed);
    }
  });
  // The reports overlap the cycles: the thread runs before the first open.
  while (reports.load(std::memory_order_relaxed) == 0) std::this_thread::yield();
  const int reportsBefore = reports.load(std::memory_order_relaxed);
  int window = 0;
  const auto deadline = std::chrono::steady_clock::now() + kOverlapLimit;
  for (int cycle = 0;
       cycle < kCycles || (reports.load(std::memory_order_relaxed) == reportsBefore &&
                           std::chrono::steady_clock::now() < deadline);
       ++cycle) {
    ASSERT_TRUE(editor->open(&window));
    editor->idle();
    effect->setParameter(5, static_cast<float>(cycle) / kCycles);  // the editor's own thread
    editor->idle();
    editor->close();
  }
  EXPECT_GT(reports.load(std::memory_order_relaxed), reportsBefore);
  stop.store(true, std::memory_order_relaxed);
  automation.join();

  // A change reported from another thread still shows at the next idle.
  ASSERT_TRUE(editor->open(&window));
  effect->setParameter(5, 0.125f);
  editor->controlAt(7)->setValue(0.0f);
  std::thread([&] { editor->setParameter(5, 0.125f); }).join();
  EXPECT_FLOAT_EQ(editor->controlAt(7)->getValue(), 0.0f);
  editor->idle();
  EXPECT_FLOAT_EQ(editor->controlAt(7)->getValue(), 0.125f);

  AEffect* record = effect->getAeffect();
  record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);  // window still open
  EXPECT_EQ(gui::headless::liveWindowCount(), 0);
}

}  // namespace

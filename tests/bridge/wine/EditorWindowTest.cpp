// The host's editor opcodes on a real window under Wine: the frame window appears inside the
// host's window, idle time paints it, close removes it; the idle work of a gesture paints by
// itself.
#include <gtest/gtest.h>

#include <memory>

#include "BridgeTestEditor.h"
#include "ModuleHandle.h"
#include "WineTestSupport.h"

namespace bridgetest {
namespace {

using wintest::closeTo;
using wintest::pumpUntil;
using wintest::Screenshot;

constexpr int32_t kHostX = 30;
constexpr int32_t kHostY = 30;

class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::setModuleHandle(GetModuleHandleA(nullptr));
    hostLog() = HostLog();
    effect = std::make_unique<TestEffect>();
    editor = effect->makeEditor();
    ERect* rect = nullptr;
    ASSERT_EQ(effect->call(effEditGetRect, 0, 0, &rect), 1);
    // The host sizes its window from the rectangle, as hosts do.
    host = std::make_unique<wintest::TestHost>(kHostX, kHostY, rect->right - rect->left,
                                               rect->bottom - rect->top);
  }
  void TearDown() override {
    effect.reset();
    host.reset();
    hostLog() = HostLog();
  }

  HWND frameWindow() const {
    return editor->getFrame() ? static_cast<HWND>(editor->getFrame()->getWindow()) : nullptr;
  }
  // Idles the editor as a host does until the frame window has nothing left to paint.
  bool idleUntilPainted() {
    effect->call(effEditIdle);
    return pumpUntil([&] { return !GetUpdateRect(frameWindow(), nullptr, FALSE); });
  }
  bool showsViewColours() {
    const auto failures = wintest::waitForPixels(
        gui::CRect(kHostX, kHostY, kHostX + TestEditor::kWidth, kHostY + TestEditor::kHeight),
        [&](const Screenshot& shot, std::vector<std::string>& failed) {
          const gui::CPoint l = TestEditor::kLeftView.getTopLeft();
          const gui::CPoint r = TestEditor::kRightView.getTopLeft();
          if (!closeTo(shot.at(kHostX + l.x + 50, kHostY + l.y + 50), editor->left->color))
            failed.push_back("left view colour missing");
          if (!closeTo(shot.at(kHostX + r.x + 50, kHostY + r.y + 50), editor->right->color))
            failed.push_back("right view colour missing");
        });
    for (const auto& failure : failures) ADD_FAILURE() << failure;
    return failures.empty();
  }

  std::unique_ptr<TestEffect> effect;
  TestEditor* editor = nullptr;  // owned by the effect
  std::unique_ptr<wintest::TestHost> host;
};

TEST_F(EditorWindow, OpenIdleAndCloseThroughTheDispatcher) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "first open" : "second open");
    ASSERT_EQ(effect->call(effEditOpen, 0, 0, host->window()), 1);
    const HWND window = frameWindow();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(GetParent(window), host->window());
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, TestEditor::kWidth);
    EXPECT_EQ(client.bottom, TestEditor::kHeight);

    ASSERT_TRUE(idleUntilPainted());
    EXPECT_GE(editor->left->drawCount, 1);
    EXPECT_TRUE(showsViewColours());

    EXPECT_EQ(effect->call(effEditClose), 0);
    EXPECT_FALSE(IsWindow(window));
  }
}

TEST_F(EditorWindow, IdleWorkDispatchesThePendingPaintAndGivesTheHostIdleTime) {
  ASSERT_EQ(effect->call(effEditOpen, 0, 0, host->window()), 1);
  ASSERT_TRUE(idleUntilPainted());
  wintest::pumpPending();
  const int drawsBefore = editor->right->drawCount;
  hostLog().calls.clear();

  // The first pass since the editor was made runs at once: it invalidates the dirty view and
  // dispatches the window's paint itself, without the host's message loop.
  editor->right->setDirty(true);
  editor->doIdleStuff();
  EXPECT_EQ(editor->right->drawCount, drawsBefore + 1);
  EXPECT_EQ(hostCallCount(audioMasterIdle), 1u);
  // At once again: throttled, nothing drawn and the host not called.
  editor->right->setDirty(true);
  editor->doIdleStuff();
  EXPECT_EQ(editor->right->drawCount, drawsBefore + 1);
  EXPECT_EQ(hostCallCount(audioMasterIdle), 1u);
}

}  // namespace
}  // namespace bridgetest

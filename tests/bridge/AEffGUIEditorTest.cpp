// The editor bridge on the headless window layer, driven the way a host drives it: through
// the dispatcher's editor opcodes, and from the frame's side the way controls call it.
#include <gtest/gtest.h>

#include <memory>

#include "BridgeTestEditor.h"
#include "platform/headless/HeadlessPlatform.h"

namespace bridgetest {
namespace {

namespace headless = gui::headless;

int hostWindowMarker;  // the host's parent window; any address will do headless

class Bridge : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    hostLog() = HostLog();
  }
  void TearDown() override {
    effect.reset();
    AEffGUIEditor(nullptr).setKnobMode(0);
    hostLog() = HostLog();
    EXPECT_EQ(headless::liveWindowCount(), 0);
    EXPECT_EQ(headless::oleInitBalance(), 0);
  }

  // A new effect with its editor, opened when asked.
  TestEditor* makeEditor(bool open) {
    effect = std::make_unique<TestEffect>();
    TestEditor* editor = effect->makeEditor();
    if (open) {
      EXPECT_EQ(effect->call(effEditOpen, 0, 0, &hostWindowMarker), 1);
    }
    return editor;
  }

  std::unique_ptr<TestEffect> effect;
};

TEST_F(Bridge, RectangleOpenIdleAndCloseThroughTheDispatcher) {
  TestEditor* editor = makeEditor(false);
  EXPECT_EQ(effect->getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
  EXPECT_EQ(headless::oleInitBalance(), 1);
  ERect* rect = nullptr;
  ASSERT_EQ(effect->call(effEditGetRect, 0, 0, &rect), 1);  // before any open
  EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}),
            (std::vector<int>{0, 0, 371, 691}));

  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(effect->call(effEditOpen, 0, 0, &hostWindowMarker), 1);
    ASSERT_NE(editor->getFrame(), nullptr);
    void* window = editor->getFrame()->getWindow();
    EXPECT_EQ(headless::liveWindowCount(), 1);
    // A new frame is dirty as a whole; after a paint only what became dirty is asked for.
    EXPECT_EQ(effect->call(effEditIdle), 0);
    EXPECT_EQ(headless::takeInvalidatedRects(window),
              std::vector<gui::CRect>{gui::CRect(0, 0, 691, 371)});
    editor->draw(nullptr);  // what the window's paint does
    editor->right->setDirty(true);
    effect->call(effEditIdle);
    EXPECT_EQ(headless::takeInvalidatedRects(window),
              std::vector<gui::CRect>{TestEditor::kRightView});

    EXPECT_EQ(effect->call(effEditClose), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(headless::liveWindowCount(), 0);
    effect->call(effEditIdle);  // closed: nothing to do
  }
}

TEST_F(Bridge, ClosingTheEffectWithTheWindowOpenDestroysFrameAndEditor) {
  makeEditor(true);
  AEffect* record = effect.release()->getAeffect();
  EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
  // The fixture's end checks that the window and the editor's OLE use are gone.
}

TEST_F(Bridge, KeysAnswerTrueOnlyWhenAViewOfTheOpenWindowHandledThem) {
  struct Case {
    bool open;
    int32_t viewAnswer;
    VstInt32 opcode;
    VstIntPtr expected;
  };
  const Case cases[] = {
      {false, 1, effEditKeyDown, 0}, {false, 1, effEditKeyUp, 0},  {true, 1, effEditKeyDown, 1},
      {true, 1, effEditKeyUp, 1},    {true, 0, effEditKeyDown, 0}, {true, -1, effEditKeyDown, 0},
      {true, -1, effEditKeyUp, 0},   {true, 7, effEditKeyUp, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "open " << c.open << ", view answers " << c.viewAnswer
                                      << ", opcode " << c.opcode);
    TestEditor* editor = makeEditor(c.open);
    if (c.open) {
      editor->left->keyAnswer = c.viewAnswer;
      editor->getFrame()->setFocusView(editor->left);
    }
    // 'a' with virtual key "up" and Shift | Control.
    EXPECT_EQ(effect->call(c.opcode, 'a', gui::VKEY_UP, nullptr, 9.0f), c.expected);
    if (c.open) {
      EXPECT_EQ(editor->left->lastKey.character, 'a');
      EXPECT_EQ(editor->left->lastKey.virt, gui::VKEY_UP);
      EXPECT_EQ(editor->left->lastKey.modifier, gui::MODIFIER_SHIFT | gui::MODIFIER_CONTROL);
    }
  }
}

TEST_F(Bridge, TheKnobModeIsOneForTheWholeProcess) {
  TestEditor* first = makeEditor(true);
  auto otherEffect = std::make_unique<TestEffect>();
  TestEditor* second = otherEffect->makeEditor();
  for (VstIntPtr mode : {1, 2, 0}) {
    EXPECT_EQ(effect->call(effSetEditKnobMode, 0, mode), 1);
    EXPECT_EQ(second->getKnobMode(), mode);
    EXPECT_EQ(first->getFrame()->getKnobMode(), mode);  // what the knobs read
  }
  EXPECT_EQ(otherEffect->call(effSetEditKnobMode, 0, 2), 1);
  EXPECT_EQ(first->getKnobMode(), 2);
}

TEST_F(Bridge, GesturesReachTheHostAsBeginAndEndEdit) {
  TestEditor* editor = makeEditor(true);
  gui::CFrame* frame = editor->getFrame();
  frame->beginEdit(5);
  frame->endEdit(5);
  frame->beginEdit(17);
  frame->endEdit(17);
  const std::vector<HostCall> expected = {{audioMasterBeginEdit, 5},
                                          {audioMasterEndEdit, 5},
                                          {audioMasterBeginEdit, 17},
                                          {audioMasterEndEdit, 17}};
  EXPECT_EQ(hostLog().calls, expected);
  EXPECT_EQ(audioMasterBeginEdit, 43);
  EXPECT_EQ(audioMasterEndEdit, 44);
}

TEST_F(Bridge, IdleWorkDuringAGestureIsThrottled) {
  constexpr uint32_t kJustBeforeWrap = 0xFFFFFF00u;
  struct Case {
    uint32_t passAt;  // ticks of the previous idle pass
    uint32_t gapMs;   // time from there to the next call
    bool sleeps;      // the call sleeps 4 ms first
    bool runs;        // the call draws, dispatches a paint and gives the host idle time
  };
  const Case cases[] = {
      {1000, 0, true, false},
      {1000, 10, true, false},
      {1000, 45, true, false},
      {1000, 46, true, true},
      {1000, 99, true, true},
      {1000, 100, false, true},
      {1000, 250, false, true},
      // A tick count that wraps around during the gesture does not stop the idle work.
      {kJustBeforeWrap, 10, true, false},
      {kJustBeforeWrap, 300, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "pass at " << c.passAt << ", gap " << c.gapMs);
    effect.reset();
    headless::reset();
    hostLog() = HostLog();
    headless::setTicks(c.passAt);
    TestEditor* editor = makeEditor(true);
    editor->doIdleStuff();  // the first call runs at once
    ASSERT_EQ(hostCallCount(audioMasterIdle), 1u);
    ASSERT_TRUE(headless::takeSleeps().empty());

    hostLog().calls.clear();
    void* window = editor->getFrame()->getWindow();
    editor->draw(nullptr);
    headless::takeInvalidatedRects(window);
    editor->right->setDirty(true);
    headless::queuePaintMessages(1);
    const int framesIdled = editor->countingFrame()->idleCount;
    headless::setTicks(c.passAt + c.gapMs);
    editor->doIdleStuff();

    EXPECT_EQ(headless::takeSleeps(),
              c.sleeps ? std::vector<uint32_t>{4} : std::vector<uint32_t>{});
    EXPECT_EQ(hostCallCount(audioMasterIdle), c.runs ? 1u : 0u);
    EXPECT_EQ(editor->countingFrame()->idleCount - framesIdled, c.runs ? 1 : 0);
    EXPECT_EQ(headless::takeInvalidatedRects(window).size(), c.runs ? 1u : 0u);
    EXPECT_EQ(headless::pendingPaintMessages(), c.runs ? 0 : 1);
  }
}

TEST_F(Bridge, AHostIdlingTheEditorFromItsIdleCallCausesNoNestedFrameIdle) {
  headless::setTicks(5000);
  TestEditor* editor = makeEditor(true);
  int framesIdledInside = -1;
  bool idlingInside = false;
  hostLog().onIdle = [&] {
    const int before = editor->countingFrame()->idleCount;
    idlingInside = editor->idling();
    effect->call(effEditIdle);
    framesIdledInside = editor->countingFrame()->idleCount - before;
  };
  editor->doIdleStuff();
  EXPECT_TRUE(idlingInside);
  EXPECT_EQ(framesIdledInside, 0);
  EXPECT_FALSE(editor->idling());
  EXPECT_EQ(editor->countingFrame()->idleCount, 1);  // the pass's own

  hostLog().onIdle = nullptr;
  effect->call(effEditIdle);  // outside the idle work the host's idle draws again
  EXPECT_EQ(editor->countingFrame()->idleCount, 2);
}

TEST_F(Bridge, TheWheelReachesTheViewUnderTheCursorWithTheCurrentModifiers) {
  TestEditor* editor = makeEditor(false);
  EXPECT_FALSE(editor->onWheel(1.0f));
  effect->call(effEditOpen, 0, 0, &hostWindowMarker);
  headless::setWindowScreenOrigin(editor->getFrame()->getWindow(), gui::CPoint(300, 200));
  headless::setCursorScreenPosition(gui::CPoint(300 + 420, 200 + 250));
  headless::setMouseButtons(gui::kShift | gui::kControl);
  EXPECT_TRUE(editor->onWheel(-2.0f));
  EXPECT_EQ(editor->right->wheelAt, gui::CPoint(420, 250));
  EXPECT_EQ(editor->right->wheelDistance, -2.0f);
  EXPECT_EQ(editor->right->wheelButtons, gui::kShift | gui::kControl);
  EXPECT_EQ(editor->left->wheelAt, gui::CPoint(-1, -1));
  // Nothing under the cursor: not handled.
  headless::setCursorScreenPosition(gui::CPoint(300 + 200, 200 + 350));
  EXPECT_FALSE(editor->onWheel(1.0f));
}

TEST_F(Bridge, DrawPaintsTheViewsInsideTheRectangleInEitherCornerOrder) {
  TestEditor* editor = makeEditor(false);
  editor->draw(nullptr);  // closed: nothing to draw on
  effect->call(effEditOpen, 0, 0, &hostWindowMarker);
  struct Case {
    bool whole;
    ERect rect;  // top, left, bottom, right
    int leftDraws;
    int rightDraws;
  };
  const Case cases[] = {
      {true, {}, 1, 1},
      {false, {0, 0, 150, 150}, 1, 0},
      {false, {300, 600, 150, 300}, 0, 1},  // bottom-right corner given first
  };
  for (const Case& c : cases) {
    const int leftBefore = editor->left->drawCount;
    const int rightBefore = editor->right->drawCount;
    ERect rect = c.rect;
    editor->draw(c.whole ? nullptr : &rect);
    EXPECT_EQ(editor->left->drawCount - leftBefore, c.leftDraws);
    EXPECT_EQ(editor->right->drawCount - rightBefore, c.rightDraws);
  }
}

}  // namespace
}  // namespace bridgetest

// An effect with a small editor of the toolkit for the bridge's tests: the host callback
// records what the effect tells the host, the editor's frame counts its idle calls and its two
// views record the keys, wheel turns and draws that reach them.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "AEffGUIEditor.h"
#include "AudioEffectX.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "CView.h"
#include "VstKeyCode.h"

namespace bridgetest {

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  bool operator==(const HostCall& other) const {
    return opcode == other.opcode && index == other.index;
  }
};

// Everything the effects of a test told the host, and what the host does on its idle call.
struct HostLog {
  std::vector<HostCall> calls;
  std::function<void()> onIdle;
};

inline HostLog& hostLog() {
  static HostLog log;
  return log;
}

inline VstIntPtr hostCallback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index,
                              VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/) {
  if (opcode == audioMasterVersion) return kVstVersion;
  hostLog().calls.push_back({opcode, index});
  if (opcode == audioMasterIdle && hostLog().onIdle) hostLog().onIdle();
  return 0;
}

inline size_t hostCallCount(VstInt32 opcode) {
  size_t count = 0;
  for (const HostCall& call : hostLog().calls) count += call.opcode == opcode ? 1 : 0;
  return count;
}

class TestEditor;

class TestEffect : public AudioEffectX {
 public:
  TestEffect() : AudioEffectX(hostCallback, 1, 4) {}
  // A new editor, owned by the effect from now on.
  TestEditor* makeEditor();
  void processReplacing(float** /*inputs*/, float** /*outputs*/, VstInt32 /*frames*/) override {}

  VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                 float opt = 0.0f) {
    return cEffect.dispatcher(&cEffect, opcode, index, value, ptr, opt);
  }
};

class TestView : public gui::CView {
 public:
  TestView(const gui::CRect& size, const gui::CColor& color) : CView(size), color(color) {}

  void draw(gui::CDrawContext* context) override {
    ++drawCount;
    context->setFillColor(color);
    context->drawRect(size, gui::kDrawFilled);
    setDirty(false);
  }
  int32_t onKeyDown(gui::VstKeyCode& key) override {
    lastKey = key;
    return keyAnswer;
  }
  int32_t onKeyUp(gui::VstKeyCode& key) override {
    lastKey = key;
    return keyAnswer;
  }
  using CView::onWheel;
  bool onWheel(const gui::CPoint& where, const float& distance,
               const gui::CButtonState& buttons) override {
    wheelAt = where;
    wheelDistance = distance;
    wheelButtons = buttons;
    return true;
  }

  gui::CColor color;
  int drawCount = 0;
  int32_t keyAnswer = gui::kKeyNotHandled;
  gui::VstKeyCode lastKey{};
  gui::CPoint wheelAt{-1, -1};
  float wheelDistance = 0.0f;
  gui::CButtonState wheelButtons = 0;
};

class CountingFrame : public gui::CFrame {
 public:
  using CFrame::CFrame;
  void idle() override {
    ++idleCount;
    CFrame::idle();
  }
  int idleCount = 0;
};

class TestEditor : public AEffGUIEditor {
 public:
  static constexpr int32_t kWidth = 691;
  static constexpr int32_t kHeight = 371;
  static constexpr gui::CRect kLeftView{10, 20, 110, 120};
  static constexpr gui::CRect kRightView{400, 200, 500, 300};

  explicit TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
    editorRect.right = kWidth;
    editorRect.bottom = kHeight;
  }
  ~TestEditor() override { TestEditor::close(); }
  TestEditor(const TestEditor&) = delete;
  TestEditor& operator=(const TestEditor&) = delete;

  bool open(void* window) override {
    AEffGUIEditor::open(window);
    auto* made = new CountingFrame(gui::CRect(0, 0, kWidth, kHeight), window, this);
    left = new TestView(kLeftView, gui::CColor{200, 40, 40, 255});
    right = new TestView(kRightView, gui::CColor{30, 60, 200, 255});
    // The frame releases both references of each view, the creator's too, when it goes.
    made->addView(left);
    made->addView(right);
    frame = made;
    return true;
  }
  void close() override {
    if (frame) frame->forget();
    frame = nullptr;
    left = right = nullptr;
    AEffGUIEditor::close();
  }

  CountingFrame* countingFrame() const { return static_cast<CountingFrame*>(frame); }
  bool idling() const { return inIdle; }

  TestView* left = nullptr;
  TestView* right = nullptr;
};

inline TestEditor* TestEffect::makeEditor() {
  auto* made = new TestEditor(this);
  setEditor(made);  // done by the editor's constructor already; says who owns it
  return made;
}

}  // namespace bridgetest

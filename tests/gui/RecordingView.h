// Test views of the toolkit's native tests: they write every event they receive into a shared
// log as "name event x,y buttons", count their draws and their live instances.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "CDrawContext.h"
#include "CView.h"
#include "CViewContainer.h"
#include "VstKeyCode.h"

// The native build runs on the headless window layer, whose pointer, buttons and windows the
// tests script; the Windows build runs the tests that need no window.
#if defined(_WIN32)
#define FERROWIN_HEADLESS 0
#else
#define FERROWIN_HEADLESS 1
#include "platform/headless/HeadlessPlatform.h"
#endif

namespace gui::test {

// A parent window for frames: a stand-in in the headless build, none on Windows.
inline void* testParentWindow() {
  static int marker = 0;
  return FERROWIN_HEADLESS ? &marker : nullptr;
}

using Log = std::vector<std::string>;

inline std::string entry(const std::string& name, const char* event, const CPoint& where,
                         int32_t buttons) {
  char text[96];
  std::snprintf(text, sizeof(text), "%s %s %d,%d %d", name.c_str(), event, where.x, where.y,
                buttons);
  return text;
}

class RecordingView : public CView {
 public:
  RecordingView(const CRect& size, Log* log = nullptr, std::string name = "v")
      : CView(size), log(log), name(std::move(name)) {
    ++liveCount;
  }
  ~RecordingView() override { --liveCount; }

  void drawRect(CDrawContext* context, const CRect& updateRect) override {
    ++drawCount;
    lastClip = context->getClipRect();
    lastOffset = context->offset;
    lastUpdate = updateRect;
    CView::drawRect(context, updateRect);
  }
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override {
    add("down", where, buttons);
    return downResult;
  }
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override {
    add("up", where, buttons);
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override {
    add("moved", where, buttons);
    return moveResult;
  }
  CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override {
    add("entered", where, buttons);
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override {
    add("exited", where, buttons);
    return kMouseEventHandled;
  }
  using CView::onWheel;
  bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override {
    add("wheel", where, buttons);
    lastWheelDistance = distance;
    return true;
  }
  void mouse(CDrawContext* context, CPoint& where, CButtonState buttons) override {
    add(context ? "mouse" : "mouse-without-context", where, buttons);
  }
  int32_t onKeyDown(VstKeyCode& key) override {
    add("key", CPoint(key.virt, key.modifier), key.character);
    return keyResult;
  }
  bool onDrop(CDragContainer* /*drag*/, const CPoint& where) override {
    add("drop", where, 0);
    return true;
  }
  void onDragEnter(CDragContainer* /*drag*/, const CPoint& where) override {
    add("drag-enter", where, 0);
  }
  void onDragLeave(CDragContainer* /*drag*/, const CPoint& where) override {
    add("drag-leave", where, 0);
  }
  void onDragMove(CDragContainer* /*drag*/, const CPoint& where) override {
    add("drag-move", where, 0);
  }
  void looseFocus() override { add("loose-focus", CPoint(), 0); }

  void add(const char* event, const CPoint& where, int32_t buttons) {
    if (log) log->push_back(entry(name, event, where, buttons));
  }

  Log* log;
  std::string name;
  CMouseEventResult downResult = kMouseEventHandled;
  CMouseEventResult moveResult = kMouseEventHandled;
  int32_t keyResult = kKeyNotHandled;
  int drawCount = 0;
  CRect lastClip;
  CPoint lastOffset;
  CRect lastUpdate;
  float lastWheelDistance = 0.0f;

  static inline int liveCount = 0;
};

// Answers like a control: its type test accepts "CControl", and a listener that takes or
// leaves modifier clicks.
class FakeControl : public RecordingView {
 public:
  using RecordingView::RecordingView;
  bool isTypeOf(const char* typeName) const override {
    return std::string(typeName) == "CControl" || CView::isTypeOf(typeName);
  }
  bool listenerTakesModifierClick(const CButtonState& buttons) override {
    offeredButtons = buttons;
    return listenerTakes;
  }
  bool listenerTakes = false;
  CButtonState offeredButtons = 0;
};

// A container that counts its live instances, for lifetime tests.
class CountedContainer : public CViewContainer {
 public:
  explicit CountedContainer(const CRect& size) : CViewContainer(size) { ++liveCount; }
  ~CountedContainer() override { --liveCount; }
  static inline int liveCount = 0;
};

}  // namespace gui::test

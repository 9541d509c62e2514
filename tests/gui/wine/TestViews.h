// Views for the window tests: one that paints what a test asks, one that records its events.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CDrawContext.h"
#include "CView.h"

namespace wintest {

// Paints through a test's function, in its parent's coordinates, and counts its paints.
class PaintView : public gui::CView {
 public:
  using Painter = std::function<void(gui::CDrawContext*, const gui::CRect& size)>;
  PaintView(const gui::CRect& size, Painter painter) : CView(size), painter(std::move(painter)) {}

  void draw(gui::CDrawContext* context) override {
    ++drawCount;
    if (painter) painter(context, size);
    setDirty(false);
  }

  int drawCount = 0;

 private:
  Painter painter;
};

// A plain-coloured view that writes down every mouse, wheel and drag event it gets.
class RecordingView : public gui::CView {
 public:
  struct Event {
    std::string kind;
    gui::CPoint where;
    int32_t buttons;
    float distance;
  };

  RecordingView(const gui::CRect& size, gui::CColor color) : CView(size), color(color) {}

  void draw(gui::CDrawContext* context) override {
    ++drawCount;
    context->setFillColor(color);
    context->drawRect(size, gui::kDrawFilled);
    setDirty(false);
  }

  gui::CMouseEventResult onMouseDown(gui::CPoint& where,
                                     const gui::CButtonState& buttons) override {
    record("down", where, buttons);
    return downAnswer;
  }
  gui::CMouseEventResult onMouseUp(gui::CPoint& where, const gui::CButtonState& buttons) override {
    record("up", where, buttons);
    return gui::kMouseEventHandled;
  }
  gui::CMouseEventResult onMouseMoved(gui::CPoint& where,
                                      const gui::CButtonState& buttons) override {
    record("moved", where, buttons);
    return gui::kMouseEventHandled;
  }
  gui::CMouseEventResult onMouseEntered(gui::CPoint& where,
                                        const gui::CButtonState& buttons) override {
    record("entered", where, buttons);
    return gui::kMouseEventHandled;
  }
  gui::CMouseEventResult onMouseExited(gui::CPoint& where,
                                       const gui::CButtonState& buttons) override {
    record("exited", where, buttons);
    return gui::kMouseEventHandled;
  }
  using CView::onWheel;
  bool onWheel(const gui::CPoint& where, const float& distance,
               const gui::CButtonState& buttons) override {
    events.push_back({"wheel", where, buttons, distance});
    return true;
  }
  void onDragEnter(gui::CDragContainer* drag, const gui::CPoint& where) override;
  void onDragLeave(gui::CDragContainer* drag, const gui::CPoint& where) override;
  void onDragMove(gui::CDragContainer* drag, const gui::CPoint& where) override;
  bool onDrop(gui::CDragContainer* drag, const gui::CPoint& where) override;

  // Events of that kind, in order.
  std::vector<Event> of(const std::string& kind) const {
    std::vector<Event> found;
    for (const Event& e : events)
      if (e.kind == kind) found.push_back(e);
    return found;
  }
  bool has(const std::string& kind) const { return !of(kind).empty(); }

  std::vector<Event> events;
  gui::CMouseEventResult downAnswer = gui::kMouseEventHandled;
  gui::CColor color;
  int drawCount = 0;
  // What a drop carried: the first item's text and the item count at enter.
  std::string droppedText;
  int32_t dragItemsAtEnter = -1;

 private:
  void record(const char* kind, const gui::CPoint& where, int32_t buttons) {
    events.push_back({kind, where, buttons, 0.0f});
  }
};

}  // namespace wintest

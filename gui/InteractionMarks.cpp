#include "InteractionMarks.h"

namespace gui {

void InteractionMarks::pointerMoved(const CPoint& where, CView* target, bool buttonsHeld) {
  const bool moved = pointerKnown && where != lastPointer;
  lastPointer = where;
  pointerKnown = true;
  if (buttonsHeld) {
    hoveredView = nullptr;
  } else if (moved) {
    hoveredView = target;
  } else if (target != hoveredView) {
    // Still or repeated: the mark never appears, but it goes when its view is not there.
    hoveredView = nullptr;
  }
}

void InteractionMarks::pointerPressed(const CPoint& where) {
  hoveredView = nullptr;
  showFocus = false;
  lastPointer = where;
  pointerKnown = true;
}

void InteractionMarks::pointerReleased(const CPoint& where) {
  lastPointer = where;
  pointerKnown = true;
}

void InteractionMarks::wheelTurned() {
  hoveredView = nullptr;
  showFocus = false;
}

void InteractionMarks::keyboardUsed() { showFocus = true; }

void InteractionMarks::pointerLeft() {
  hoveredView = nullptr;
  showFocus = false;
  pointerKnown = false;
}

void InteractionMarks::forget(const CView* view) {
  if (hoveredView == view) hoveredView = nullptr;
}

}  // namespace gui

#include "InteractionMarks.h"

namespace gui {

void InteractionMarks::pointerMoved(const CPoint& where, CView* target, bool buttonsHeld) {
  const bool moved = pointerKnown && where != lastPointer;
  lastPointer = where;
  pointerKnown = true;
  if (moved && !buttonsHeld) {
    hoveredView = target;
  } else if (buttonsHeld || target != hoveredView) {
    // A held button hides the mark; a still or repeated position never brings it, though it
    // takes it away when its view is no longer under the pointer.
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

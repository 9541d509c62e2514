// Which view the frame marks as the one under the pointer and whether the focused view shows
// its focus mark. Marks appear only where they help: the hover mark after the pointer moved
// over a view that takes marks with no button held, the focus mark after the keyboard moved
// the focused view. Any press or wheel turn clears both; after a release the hover mark waits
// for the pointer to move again, and leaving the window forgets everything.
#pragma once

#include "CPoint.h"

namespace gui {

class CView;

class InteractionMarks {
 public:
  // where: the pointer in frame coordinates; target: the view under it that takes marks, or
  // null; buttonsHeld: any mouse button is down.
  void pointerMoved(const CPoint& where, CView* target, bool buttonsHeld);
  void pointerPressed(const CPoint& where);
  void pointerReleased(const CPoint& where);
  void wheelTurned();
  void keyboardUsed();
  void pointerLeft();
  // A view leaving the tree can no longer be marked.
  void forget(const CView* view);

  CView* hovered() const { return hoveredView; }
  bool focusVisible() const { return showFocus; }

 private:
  CView* hoveredView = nullptr;  // not counted
  bool showFocus = false;
  // The last position the pointer was seen at; a window system may repeat it (after a
  // capture ends, or when the window appears under a resting pointer), which is no move.
  CPoint lastPointer;
  bool pointerKnown = false;
};

}  // namespace gui

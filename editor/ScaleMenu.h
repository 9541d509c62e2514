// The menu that sets the editor's scale: an invisible view under every control, covering the
// window, that answers a right-button press on the background with a menu of the scales, the
// current one checked.
#pragma once

#include "CView.h"

class AEffGUIEditor;

class ScaleMenu : public gui::CView {
 public:
  // editor takes the choice; it outlives the view.
  ScaleMenu(const gui::CRect& size, AEffGUIEditor* editor);

  void draw(gui::CDrawContext* context) override;
  gui::CMouseEventResult onMouseDown(gui::CPoint& where, const gui::CButtonState& buttons) override;

 private:
  AEffGUIEditor* editor;
};

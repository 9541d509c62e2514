#include "ScaleMenu.h"

#include <string>

#include "AEffGUIEditor.h"
#include "CFrame.h"
#include "MouseEvents.h"
#include "ScaleFactor.h"
#include "platform/PlatformWindow.h"

ScaleMenu::ScaleMenu(const gui::CRect& size, AEffGUIEditor* editor)
    : gui::CView(size), editor(editor) {
  setTransparency(true);
}

void ScaleMenu::draw(gui::CDrawContext* /*context*/) { setDirty(false); }

gui::CMouseEventResult ScaleMenu::onMouseDown(gui::CPoint& where,
                                              const gui::CButtonState& buttons) {
  if (!(buttons & gui::kRButton) || !frame) return gui::kMouseEventNotHandled;
  using gui::ScaleFactor;
  std::string labels[ScaleFactor::kCount];
  const char* items[ScaleFactor::kCount];
  for (int32_t i = 0; i < ScaleFactor::kCount; ++i) {
    labels[i] = std::to_string(ScaleFactor::kPercents[i]) + " %";
    items[i] = labels[i].c_str();
  }
  const float scale = frame->getScale();
  // The view lies on the frame: where is in the frame's coordinates.
  const gui::CPoint windowPixel(ScaleFactor::toDevice(where.x, scale),
                                ScaleFactor::toDevice(where.y, scale));
  const int32_t chosen = gui::platform::popUpMenu(frame->getWindow(), windowPixel, items,
                                                  ScaleFactor::kCount, ScaleFactor::indexOf(scale));
  if (chosen >= 0) editor->setScaleFactor(ScaleFactor::fromPercent(ScaleFactor::kPercents[chosen]));
  return gui::kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

// The editor as the plug-in's LV2 user interface: the same editor window in the host's
// parent window, apart from the plug-in instance. Gestures leave through the host's write
// function (a control port's new value) and its touch feature (a gesture's begin and end);
// the host's port changes come back through portEvent and show at the next idle.
#pragma once

#include <cstdint>

#include "EditorParameters.h"
#include "Ferrowin.h"
#include "SDEditor.h"
#include "lv2/ui/ui.h"

class Lv2EditorUi final : public EditorParameters {
 public:
  static constexpr const char* kUri = "urn:ferrowin:lv2:ferrowin:ui";

  // The editor open in the host's ui:parent window, whose own window goes to widget; null
  // without a parent, without a display or without memory. ui:touch and ui:resize are used
  // when the host offers them.
  static Lv2EditorUi* create(LV2UI_Write_Function write, LV2UI_Controller controller,
                             const LV2_Feature* const* features, LV2UI_Widget* widget);
  Lv2EditorUi(const Lv2EditorUi&) = delete;
  Lv2EditorUi& operator=(const Lv2EditorUi&) = delete;

  // A control port's value (format 0, a float) changed in the host; other ports, formats and
  // sizes are none of the editor's.
  void portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer);
  // Handles the window's input and draws what changed; always 0, the window stays open.
  int idle();

  float getParameter(int32_t index) override;
  void setParameterAutomated(int32_t index, float value) override;
  void getParameterDisplay(int32_t index, char* text) override;
  void beginEdit(int32_t index) override;
  void endEdit(int32_t index) override;

 private:
  Lv2EditorUi(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch);
  void touched(int32_t index, bool grabbed);

  LV2UI_Write_Function write;
  LV2UI_Controller controller;
  const LV2UI_Touch* touch;  // null when the host offers none
  // Holds the values as the plug-in's effect holds them, so that what the editor reads back
  // and the texts it shows are the effect's own; it never processes a sample.
  Ferrowin values;
  SDEditor editor;
};

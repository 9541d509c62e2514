// An editor whose window is a toolkit frame: answers the host's editor requests over the frame
// and serves the frame's calls back (idle time during long gestures, the knob mode, the begin
// and end of a parameter gesture). A derived editor sets `editorRect` in its constructor,
// makes `frame` in `open` and destroys it in `close`.
#pragma once

#include <cstdint>

#include "AEffEditor.h"
#include "GUIEditorInterface.h"
#include "VstInterface.h"

class AEffGUIEditor : public AEffEditor, public gui::GUIEditorInterface {
 public:
  // Becomes the effect's editor (the effect owns it from then on).
  explicit AEffGUIEditor(AudioEffect* effect);
  ~AEffGUIEditor() override;
  AEffGUIEditor(const AEffGUIEditor&) = delete;
  AEffGUIEditor& operator=(const AEffGUIEditor&) = delete;

  // The window's rectangle at the scale the window opens with (or has), valid from
  // construction on.
  bool getRect(ERect** rect) override;
  // Draws the views that became dirty, unless the host called from inside doIdleStuff.
  void idle() override;
  // True only when a view of the open window handled the key.
  bool onKeyDown(VstKeyCode& keyCode) override;
  bool onKeyUp(VstKeyCode& keyCode) override;
  // A wheel turn at the cursor's position; false while closed.
  bool onWheel(float distance) override;
  // The knob mode is one for the whole process.
  bool setKnobMode(VstInt32 mode) override;

  // Throttled idle work for long mouse gestures: at most one pass about every 50 ms, each
  // giving the host its idle call too.
  void doIdleStuff() override;
  int32_t getKnobMode() const override;
  void beginEdit(int32_t index) override;
  void endEdit(int32_t index) override;
  // 1 until chosen.
  float getScaleFactor() const override { return scale > 0.0f ? scale : 1.0f; }

  // The user's choice of scale (1, 1.5 or 2; others are refused): kept for the next open, and
  // while open the host is asked to resize its window and the frame resizes its own.
  bool setScaleFactor(float newScale);

  // Draws the frame limited to rect (window pixels, either corner order), or whole when rect
  // is null.
  virtual void draw(ERect* rect);

 protected:
  // Unless chosen before, chooses the scale for a window on parent: the user's stored choice,
  // else the monitor's. Derived editors call it before they make the frame.
  void chooseScale(void* parent);

  ERect editorRect{};  // logical pixels; set by the derived editor
  // Where the user's choice of scale is kept (the plug-in's name); none without.
  const char* settingsSection = nullptr;
  uint32_t lastIdleTicks;  // tick count (ms) from which doIdleStuff runs its pass again
  bool inIdle = false;     // true while doIdleStuff waits for the host's idle call

 private:
  float scale = 0.0f;  // device pixels per logical pixel; 0 until chosen
  ERect scaledRect{};
};

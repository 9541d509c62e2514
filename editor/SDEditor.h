// The effect's editor: a 691 x 371 window of 15 sliders, 15 value displays, three filter-type
// buttons and two key-tracking knobs, laid out by EditorLayout, and the two-way binding
// between those controls and the effect's parameters.
//
// The editor reaches the effect only through getParameter, getParameterDisplay and
// setParameterAutomated. Parameter changes may arrive on any thread: on the thread that opened
// the window they show at once; from any other thread they are marked and shown at the
// editor thread's next idle, so no other thread ever touches a control.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "AEffGUIEditor.h"
#include "CControlListener.h"
#include "EditorLayout.h"
#include "PendingParameters.h"

class AudioEffect;

namespace gui {
class CBitmap;
class CControl;
}  // namespace gui

class SDEditor : public AEffGUIEditor, public gui::CControlListener {
 public:
  // Loads the background; the window's rectangle is valid from here on.
  explicit SDEditor(AudioEffect* effect);
  // Closes an open window first, so no control outlives the editor.
  ~SDEditor() override;
  SDEditor(const SDEditor&) = delete;
  SDEditor& operator=(const SDEditor&) = delete;

  // Builds the window on the host's window; false when none can be made there. A window that
  // is still open is closed first.
  bool open(void* window) override;
  void close() override;
  // Shows the changes that other threads reported, then draws what became dirty.
  void idle() override;

  // The effect reports a parameter change; the controls show the effect's current value.
  void setParameter(VstInt32 index, float value) override;
  // A control reports the user's change.
  void valueChanged(gui::CControl* control) override;

  // With value -1 (the marker of a click): the value the clicked button stands for, or -1
  // for a control that is none of the three; nothing changes. Otherwise selects the button of
  // value and answers value unchanged.
  float updateFilterTypeButtons(gui::CControl* control, float value);

  // Display texts of "OSC.Note" and "OSC.Wave": the value is ignored, the text is the owning
  // effect's (effect: the AudioEffect the display belongs to).
  static void oscNoteToString(float value, char* text, void* effect);
  static void oscWaveToString(float value, char* text, void* effect);

  // The control of a layout row while the window is open, else null.
  gui::CControl* controlAt(int32_t row) const;

 private:
  gui::CControl* createControl(const ControlPlacement& place, gui::CBitmap* const* bitmaps,
                               int32_t sliderMaxPos);
  // Shows the effect's value of index in its controls (editor thread, window open).
  void showParameter(int32_t index);
  bool onEditorThread() const;

  std::array<gui::CControl*, EditorLayout::kControlCount> controls{};  // owned by the frame
  gui::CBitmap* backgroundBitmap = nullptr;
  bool inValueChanged = false;
  PendingParameters pending;
  std::atomic<uint64_t> editorThread{0};  // the thread that opened the window; 0 before
};

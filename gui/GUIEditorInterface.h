// The editor side of a frame: idle time during long gestures, the knob mode, and the begin and
// end of a parameter gesture. The base does nothing and answers 0.
#pragma once

#include <cstdint>

namespace gui {

class CFrame;

class GUIEditorInterface {
 public:
  virtual void doIdleStuff() {}
  virtual int32_t getKnobMode() const { return 0; }
  virtual void beginEdit(int32_t /*index*/) {}
  virtual void endEdit(int32_t /*index*/) {}
  // Device pixels per logical pixel for a new frame's window.
  virtual float getScaleFactor() const { return 1.0f; }
  virtual ~GUIEditorInterface() = default;

  // The frame while the editor's window is open, else null.
  CFrame* getFrame() const { return frame; }

 protected:
  CFrame* frame = nullptr;
};

}  // namespace gui

// The host-facing base of an effect's editor: what the dispatcher's editor opcodes reach.
#pragma once

#include "VstInterface.h"

class AudioEffect;

class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
  virtual ~AEffEditor() = default;

  virtual AudioEffect* getEffect() { return effect; }
  // Stores where the window's rectangle lives; the base has none.
  virtual bool getRect(ERect** rect) {
    *rect = nullptr;
    return false;
  }
  virtual bool open(void* window) {
    hostWindow = window;
    return false;
  }
  virtual void close() { hostWindow = nullptr; }
  virtual bool isOpen() { return hostWindow != nullptr; }
  virtual void idle() {}
  virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
  virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
  virtual bool onWheel(float /*distance*/) { return false; }
  virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }
  // A parameter changed in the effect, on any thread; an editor with a window shows it. The
  // base shows nothing.
  virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}

 protected:
  AudioEffect* effect = nullptr;
  void* hostWindow = nullptr;  // the host's parent window; null while closed
};

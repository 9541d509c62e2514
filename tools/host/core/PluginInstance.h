// One effect created through a plug-in's entry point and driven only through its record.
#pragma once

#include <string>

#include "PluginLibrary.h"

class PluginInstance {
 public:
  PluginInstance(PluginEntryProc entry, audioMasterCallback callback);
  ~PluginInstance();  // closes the effect (effClose)
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  bool valid() const { return effect != nullptr; }
  AEffect* record() const { return effect; }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // A text answer: the opcode writes into a buffer much larger than any limit, and `limit`
  // (bytes including the terminator) is checked; `overrun` tells whether it was exceeded.
  std::string text(VstInt32 opcode, VstInt32 index, size_t limit, bool* overrun = nullptr);
  VstIntPtr canDo(const std::string& capability);

  float getParameter(VstInt32 index) { return effect->getParameter(effect, index); }
  void setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

  // Closes the effect now; later calls do nothing.
  void close();

 private:
  AEffect* effect = nullptr;
};

// The four characters of a packed identifier, e.g. "Frw2".
std::string fourCharText(VstInt32 id);

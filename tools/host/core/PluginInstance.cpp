#include "PluginInstance.h"

#include <cstring>
#include <vector>

PluginInstance::PluginInstance(PluginEntryProc entry, audioMasterCallback callback)
    : effect(entry ? entry(callback) : nullptr) {
  if (effect != nullptr && effect->magic != kEffectMagic) effect = nullptr;
}

PluginInstance::~PluginInstance() { close(); }

void PluginInstance::close() {
  if (effect == nullptr) return;
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  effect = nullptr;
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, size_t limit, bool* overrun) {
  constexpr char kUntouched = '\x7f';
  std::vector<char> buffer(1024, kUntouched);
  buffer[0] = 0;
  dispatch(opcode, index, 0, buffer.data());
  if (overrun) *overrun = buffer[limit] != kUntouched;
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size() - 1));
}

VstIntPtr PluginInstance::canDo(const std::string& capability) {
  std::vector<char> text(capability.begin(), capability.end());
  text.push_back(0);
  return dispatch(effCanDo, 0, 0, text.data());
}

std::string fourCharText(VstInt32 id) {
  const auto bits = static_cast<uint32_t>(id);
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>((bits >> shift) & 0xff);
  return text;
}

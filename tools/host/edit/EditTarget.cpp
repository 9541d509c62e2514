#include "EditTarget.h"

#include <stdexcept>

namespace {
EditTarget* active = nullptr;
}  // namespace

EditTarget::Registration::Registration(EditTarget* target) { active = target; }
EditTarget::Registration::~Registration() { active = nullptr; }

VstIntPtr EditTarget::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float opt) {
  const VstIntPtr answer = HostCallback::dispatch(effect, opcode, index, value, ptr, opt);
  if (!active) return answer;
  active->report.hostCall(effect, opcode, index, opt);
  if (opcode == audioMasterSizeWindow && index > 0 && value > 0) {
    active->requestedWidth = index;
    active->requestedHeight = static_cast<int>(value);
  }
  return answer;
}

EditTarget::EditTarget(const std::string& pluginPath, const AutomationOptions& automation,
                       std::ostream& out)
    : report(out), out(out), automator(automation) {
  if (!library.load(pluginPath)) throw std::runtime_error(library.error());
  instance = std::make_unique<PluginInstance>(library.entry(), &EditTarget::callback);
  if (!instance->valid()) throw std::runtime_error(pluginPath + " created no effect");
  automator.checkIndices(instance->record());
  instance->dispatch(effOpen);
  if ((instance->record()->flags & effFlagsHasEditor) == 0)
    throw std::runtime_error(pluginPath + " has no editor");
  ERect* rect = nullptr;
  if (instance->dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr)
    throw std::runtime_error(pluginPath + " has no editor: it reports no window size");
  editorWidth = rect->right - rect->left;
  editorHeight = rect->bottom - rect->top;
  if (editorWidth <= 0 || editorHeight <= 0) {
    throw std::runtime_error(pluginPath + " reports an editor of " + std::to_string(editorWidth) +
                             " x " + std::to_string(editorHeight) + " pixels");
  }
  std::string name = effectText(instance->record(), effGetEffectName, 0, 32);
  if (name.empty()) name = pluginPath;
  windowTitle = "ferrowin-host edit: " + name;
}

bool EditTarget::takeSizeRequest(int& width, int& height) {
  if (requestedWidth <= 0) return false;
  width = requestedWidth;
  height = requestedHeight;
  requestedWidth = requestedHeight = 0;
  return true;
}

void EditTarget::closeEditor() {
  automator.endPhase("editor open", out);
  instance->dispatch(effEditClose);
}

void EditTarget::finish(const std::function<void(uint32_t)>& wait) {
  out << "editor closed\n" << std::flush;
  automator.runWithoutEditor(instance->record(), out, wait);
  instance->close();
}

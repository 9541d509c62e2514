#include "EditTarget.h"

#include <stdexcept>

#include "EditReport.h"

EditTarget::EditTarget(const std::string& pluginPath, audioMasterCallback callback) {
  if (!library.load(pluginPath)) throw std::runtime_error(library.error());
  instance = std::make_unique<PluginInstance>(library.entry(), callback);
  if (!instance->valid()) throw std::runtime_error(pluginPath + " created no effect");
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

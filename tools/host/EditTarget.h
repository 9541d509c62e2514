// The plug-in of the edit command, loaded and opened as a host does before it shows the
// editor: it has an editor, and the editor a size.
#pragma once

#include <memory>
#include <string>

#include "PluginInstance.h"
#include "PluginLibrary.h"

class EditTarget {
 public:
  // Throws std::runtime_error with a message for the user when the plug-in cannot be loaded,
  // has no editor or reports no usable size.
  EditTarget(const std::string& pluginPath, audioMasterCallback callback);

  PluginInstance& plugin() { return *instance; }
  int width() const { return editorWidth; }
  int height() const { return editorHeight; }
  // The title of the window that holds the editor.
  const std::string& title() const { return windowTitle; }

 private:
  PluginLibrary library;
  std::unique_ptr<PluginInstance> instance;
  int editorWidth = 0;
  int editorHeight = 0;
  std::string windowTitle;
};

// The plug-in of the edit command, loaded and opened as a host does before it shows the
// editor (it has an editor, and the editor a size), with the host callback that prints every
// parameter change and gesture the editor reports (EditReport).
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "EditReport.h"
#include "HostCallback.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

class EditTarget {
 public:
  // Throws std::runtime_error with a message for the user when the plug-in cannot be loaded,
  // has no editor or reports no usable size. One target at a time receives the callbacks.
  EditTarget(const std::string& pluginPath, std::ostream& out);
  EditTarget(const EditTarget&) = delete;
  EditTarget& operator=(const EditTarget&) = delete;

  PluginInstance& plugin() { return *instance; }
  int width() const { return editorWidth; }
  int height() const { return editorHeight; }
  // The title of the window that holds the editor.
  const std::string& title() const { return windowTitle; }
  // The report has printed what matters of the calls so far: memory stays flat.
  void forgetCalls() { host.clear(); }

 private:
  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);

  // The callback reaches this target from the first member on, until the last has gone.
  struct Registration {
    explicit Registration(EditTarget* target);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
  } registration{this};
  HostCallback host;
  EditReport report;
  PluginLibrary library;
  std::unique_ptr<PluginInstance> instance;
  int editorWidth = 0;
  int editorHeight = 0;
  std::string windowTitle;
};

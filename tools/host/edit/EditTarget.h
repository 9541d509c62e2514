// The plug-in of the edit command, loaded and opened as a host does before it shows the
// editor (it has an editor, and the editor a size), with the host callback that prints every
// parameter change and gesture the editor reports (EditReport), and the automation that measures
// the editor's cost (EditAutomation), shared by the windows of both platforms.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "EditAutomation.h"
#include "EditReport.h"
#include "HostCallback.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

class EditTarget {
 public:
  // Throws std::runtime_error with a message for the user when the plug-in cannot be loaded,
  // has no editor, reports no usable size or lacks an automated parameter. One target at a
  // time receives the callbacks.
  EditTarget(const std::string& pluginPath, const AutomationOptions& automation, std::ostream& out);
  EditTarget(const EditTarget&) = delete;
  EditTarget& operator=(const EditTarget&) = delete;

  PluginInstance& plugin() { return *instance; }
  int width() const { return editorWidth; }
  int height() const { return editorHeight; }
  // The title of the window that holds the editor.
  const std::string& title() const { return windowTitle; }
  // The report has printed what matters of the calls so far: memory stays flat.
  void forgetCalls() { host.clear(); }

  // The size in pixels that the editor last asked its window to take (audioMasterSizeWindow),
  // once; false when it asked for none since the last call.
  bool takeSizeRequest(int& width, int& height);

  EditAutomation& automation() { return automator; }
  // Ends the measured phase of the open editor, then closes the editor.
  void closeEditor();
  // After the editor closed: the automation runs as long again without it, waiting between
  // steps with wait(ms) (the host's window served), then the effect closes.
  void finish(const std::function<void(uint32_t)>& wait);

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
  std::ostream& out;
  EditAutomation automator;
  PluginLibrary library;
  std::unique_ptr<PluginInstance> instance;
  int editorWidth = 0;
  int editorHeight = 0;
  int requestedWidth = 0;  // 0: no request waiting
  int requestedHeight = 0;
  std::string windowTitle;
};

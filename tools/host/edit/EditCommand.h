// The edit command: opens a plug-in's editor in a window of its own, gives it idle time and
// prints every parameter change and gesture it reports (EditReport), until the window is
// closed or the given time is up.
#pragma once

#include <ostream>
#include <string>

#include "EditAutomation.h"

struct EditOptions {
  std::string pluginPath;
  double seconds = 0.0;  // > 0: close the editor after this long; 0: when the window is closed
  int idleMs = 30;       // period of the editor's idle calls
  AutomationOptions automation;
};

// Whether this build has a window layer for the edit command.
bool editSupported();
// Throws std::runtime_error with a message for the user when the plug-in cannot be loaded,
// has no editor or its window cannot be made.
void runEdit(const EditOptions& options, std::ostream& out);

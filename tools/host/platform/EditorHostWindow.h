// A top-level window of this process for a plug-in's editor to open in, never shown, so that
// the validator's editor checks take neither the pointer nor the focus from anything else on the
// desktop. Made only where the host has a window layer for it (the Windows build).
#pragma once

#include <string>

class EditorHostWindow {
 public:
  EditorHostWindow();
  ~EditorHostWindow();
  EditorHostWindow(const EditorHostWindow&) = delete;
  EditorHostWindow& operator=(const EditorHostWindow&) = delete;

  bool made() const { return window != nullptr; }
  // Why no window was made, for the user.
  const std::string& whyNot() const { return reason; }
  // What effEditOpen gets.
  void* handle() const { return window; }
  // The editor's window inside this one, or null.
  void* editorWindow() const;
  // Handles the window messages waiting for this thread, as a host's message loop would.
  static void pumpMessages();
  static bool exists(void* otherWindow);

 private:
  void* window = nullptr;
  std::string reason;
};

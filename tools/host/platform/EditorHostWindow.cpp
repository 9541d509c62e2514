#include "EditorHostWindow.h"

#if defined(_WIN32)
#include <windows.h>

EditorHostWindow::EditorHostWindow() {
  window = CreateWindowExA(0, "STATIC", "validator", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                           1200, 900, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) reason = "no window can be made (no display)";
}

EditorHostWindow::~EditorHostWindow() {
  if (window == nullptr) return;
  DestroyWindow(static_cast<HWND>(window));
  pumpMessages();
}

void* EditorHostWindow::editorWindow() const {
  return window == nullptr ? nullptr : GetWindow(static_cast<HWND>(window), GW_CHILD);
}

void EditorHostWindow::pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool EditorHostWindow::exists(void* otherWindow) {
  return otherWindow != nullptr && IsWindow(static_cast<HWND>(otherWindow));
}

#else

EditorHostWindow::EditorHostWindow() : reason("they run in the Windows build") {}
EditorHostWindow::~EditorHostWindow() = default;
void* EditorHostWindow::editorWindow() const { return nullptr; }
void EditorHostWindow::pumpMessages() {}
bool EditorHostWindow::exists(void* /*otherWindow*/) { return false; }

#endif

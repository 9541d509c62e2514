// The edit command's window on Windows: a top-level window whose handle the editor gets as its
// parent, idled on a timer until it is closed or the time is up.
#include <windows.h>

#include <stdexcept>

#include "EditCommand.h"
#include "EditTarget.h"

namespace {

constexpr UINT_PTR kIdleTimer = 1;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
const char* const kWindowClass = "FerrowinHostEditor";

// The edit command's state; the window procedure reaches it.
struct EditSession {
  explicit EditSession(EditTarget& target) : target(target) {}
  EditTarget& target;
  ULONGLONG deadlineMs = 0;  // 0: none
  ULONGLONG nextStepMs = 0;
  bool editorOpen = false;
};

EditSession* session = nullptr;

// The editor goes before its parent window, so that it never sees its window destroyed
// under it.
void closeEditor(HWND window) {
  if (session && session->editorOpen) {
    session->editorOpen = false;
    KillTimer(window, kIdleTimer);
    session->target.closeEditor();
  }
  DestroyWindow(window);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (!session || !session->editorOpen) return 0;
      if (session->target.automation().automates() && GetTickCount64() >= session->nextStepMs) {
        session->target.automation().step(session->target.plugin().record());
        session->nextStepMs += session->target.automation().periodMs();
      }
      session->target.plugin().dispatch(effEditIdle);
      session->target.forgetCalls();
      if (session->deadlineMs && GetTickCount64() >= session->deadlineMs) closeEditor(window);
      return 0;
    case WM_CLOSE:
      closeEditor(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND makeWindow(const std::string& title, int width, int height) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;  // the editor covers all of it
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when it exists
  RECT outer = {0, 0, width, height};
  AdjustWindowRect(&outer, kWindowStyle, FALSE);
  return CreateWindowExA(0, kWindowClass, title.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

bool editSupported() { return true; }

void runEdit(const EditOptions& options, std::ostream& out) {
  EditTarget target(options.pluginPath, options.automation, out);
  EditSession state(target);
  session = &state;
  struct SessionEnd {
    ~SessionEnd() { session = nullptr; }
  } sessionEnd;

  PluginInstance& plugin = target.plugin();
  const int width = target.width();
  const int height = target.height();
  const HWND window = makeWindow(target.title(), width, height);
  if (!window) throw std::runtime_error("cannot make a window for the editor");
  ShowWindow(window, SW_SHOWNORMAL);
  if (plugin.dispatch(effEditOpen, 0, 0, window) == 0) {
    DestroyWindow(window);
    throw std::runtime_error(options.pluginPath + " did not open its editor");
  }
  state.editorOpen = true;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  out << "editor open: " << width << " x " << height << " at " << origin.x << "," << origin.y
      << "\n"
      << std::flush;
  if (options.seconds > 0)
    state.deadlineMs = GetTickCount64() + static_cast<ULONGLONG>(options.seconds * 1000.0);
  SetTimer(window, kIdleTimer, static_cast<UINT>(options.idleMs), nullptr);
  EditAutomation& automation = target.automation();
  state.nextStepMs = GetTickCount64();
  automation.beginPhase();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // A window destroyed without WM_CLOSE (the session ends) leaves the editor to be closed.
  if (state.editorOpen) target.closeEditor();
  state.editorOpen = false;
  target.finish();
}

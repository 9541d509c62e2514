// The edit command's window on Windows: a top-level window whose handle the editor gets as its
// parent, idled on a timer until it is closed or the time is up.
#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "EditCommand.h"
#include "EditTarget.h"

namespace {

// One timer serves the idle calls and the automation's steps, as one loop does on X11: a second
// timer would wake the message loop as often again, and those wake-ups would count as the
// editor's cost.
constexpr UINT_PTR kTimer = 1;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
const char* const kWindowClass = "FerrowinHostEditor";

// The edit command's state; the window procedure reaches it.
struct EditSession {
  explicit EditSession(EditTarget& target) : target(target) {}
  EditTarget& target;
  ULONGLONG deadlineMs = 0;  // 0: none
  int idleMs = 0;
  UINT tickMs = 0;
  ULONGLONG nextIdleMs = 0;
  ULONGLONG nextStepMs = 0;  // steps keep their own schedule between the timer's ticks
  bool editorOpen = false;
};

EditSession* session = nullptr;

// Ends the open phase; the window stays for the closed one and goes after it, so that the
// editor never sees its window destroyed under it.
void closeEditor(HWND window) {
  if (session && session->editorOpen) {
    session->editorOpen = false;
    KillTimer(window, kTimer);
    session->target.closeEditor();
    PostQuitMessage(0);
  } else {
    DestroyWindow(window);  // closed by the user after the editor
  }
}

// The closed phase's wait: the window's messages are served for ms, as a host's own loop goes
// on while a plug-in's editor is closed.
void serveMessagesFor(uint32_t ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: {
      if (!session || !session->editorOpen) return 0;
      const ULONGLONG now = GetTickCount64();
      EditAutomation& automation = session->target.automation();
      if (automation.automates() && now >= session->nextStepMs) {
        automation.step(session->target.plugin().record());
        session->nextStepMs += automation.periodMs();
      }
      // Half a tick early counts as on time, so a timer that fires a little early never skips
      // an idle call.
      if (now + session->tickMs / 2 < session->nextIdleMs) return 0;
      session->nextIdleMs = now + static_cast<ULONGLONG>(session->idleMs);
      session->target.plugin().dispatch(effEditIdle);
      session->target.forgetCalls();
      if (session->deadlineMs && GetTickCount64() >= session->deadlineMs) closeEditor(window);
      return 0;
    }
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
  EditAutomation& automation = target.automation();
  UINT tickMs = static_cast<UINT>(options.idleMs);
  if (automation.automates()) tickMs = std::min<UINT>(tickMs, automation.periodMs());
  state.idleMs = options.idleMs;
  state.tickMs = tickMs;
  state.nextIdleMs = state.nextStepMs = GetTickCount64();
  SetTimer(window, kTimer, tickMs, nullptr);
  automation.beginPhase();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // A window destroyed without WM_CLOSE (the session ends) leaves the editor to be closed.
  if (state.editorOpen) target.closeEditor();
  state.editorOpen = false;
  target.finish(serveMessagesFor);
  if (IsWindow(window)) DestroyWindow(window);
  // The quit that the window's end posts is not for the thread's next loop.
  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

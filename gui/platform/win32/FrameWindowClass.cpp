#include "FrameWindowClass.h"

#include <windows.h>

#include <cstdio>

#include "../../ModuleHandle.h"
#include "FrameWindowProc.h"

namespace gui {
namespace platform {

namespace {
char className[64] = {};
int useCount = 0;
bool buttonsSwapped = false;
}  // namespace

const char* useFrameWindowClass() {
  if (useCount++ == 0) {
    // Each loaded module has a class of its own, named after its instance handle.
    std::snprintf(className, sizeof(className), "Plugin%p", getModuleHandle());
    WNDCLASSA windowClass = {};
    windowClass.style = CS_GLOBALCLASS | CS_DBLCLKS;
    windowClass.lpfnWndProc = frameWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = static_cast<HINSTANCE>(getModuleHandle());
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    buttonsSwapped = GetSystemMetrics(SM_SWAPBUTTON) > 0;
  }
  return className;
}

void unuseFrameWindowClass() {
  if (useCount <= 0) return;
  if (useCount-- == 1) UnregisterClassA(className, static_cast<HINSTANCE>(getModuleHandle()));
}

bool areButtonsSwapped() { return buttonsSwapped; }

int frameWindowClassUseCount() { return useCount; }

}  // namespace platform
}  // namespace gui

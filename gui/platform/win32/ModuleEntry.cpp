// The library's load entry: it records the module's instance handle, which the toolkit needs
// for its resources and its window class.
#include <windows.h>

#include "../../ModuleHandle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  gui::setModuleHandle(instance);
  return TRUE;
}

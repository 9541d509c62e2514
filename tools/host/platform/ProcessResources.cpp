#include "ProcessResources.h"

#include <initializer_list>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dirent.h>
#endif

namespace {

#if defined(_WIN32)
BOOL CALLBACK countOwnWindow(HWND window, LPARAM count) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) ++*reinterpret_cast<long*>(count);
  return TRUE;
}
#endif

}  // namespace

long openHandles() {
#if defined(_WIN32)
  DWORD count = 0;
  if (!GetProcessHandleCount(GetCurrentProcess(), &count) || count == 0) return -1;
  return static_cast<long>(count);
#else
  DIR* folder = opendir("/proc/self/fd");
  if (folder == nullptr) return -1;
  long count = 0;
  while (readdir(folder) != nullptr) ++count;
  closedir(folder);
  return count;
#endif
}

long ownWindows() {
#if defined(_WIN32)
  long count = 0;
  EnumWindows(countOwnWindow, reinterpret_cast<LPARAM>(&count));
  return count;
#else
  return -1;
#endif
}

void loadHostLibraries() {
#if defined(_WIN32)
  for (const char* name : {"user32.dll", "gdi32.dll", "ole32.dll", "shell32.dll", "gdiplus.dll",
                           "comdlg32.dll", "winmm.dll"})
    LoadLibraryA(name);
#endif
}

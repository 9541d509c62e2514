// Holds Wine's desktop for the whole test run. A prefix's desktop process binds to the display
// of the program that started it and closes a second after its last user ends; test programs
// starting one after the other would otherwise start and close it over and over, some of them
// while it is still closing, and two at once could both start it. Started by the test scripts
// once the display runs (tools/display.sh): it starts the desktop on that display, prints
// "ready", and waits, with one message-only window that never appears on the screen, until the
// scripts end it.
#include <windows.h>

#include <cstdio>

int main() {
  // Starts the desktop process if there is none, and waits until it runs.
  if (GetDesktopWindow() == nullptr) {
    std::fprintf(stderr, "desktop-keeper: no desktop window\n");
    return 1;
  }
  // A window makes this thread a user of the desktop for as long as it lives.
  HWND window = CreateWindowExA(0, "STATIC", "ferrowin-desktop-keeper", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "desktop-keeper: cannot create a window (error %lu)\n", GetLastError());
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  // Waits without polling; no message comes to a message-only window nobody knows of.
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  DestroyWindow(window);
  return 0;
}

#include "WineTestSupport.h"

// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace wintest {

namespace {

const char* const kHostClass = "FerrowinTestHost";

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void registerHostClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = hostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = kHostClass;
  RegisterClassA(&windowClass);
  registered = true;
}

// A file name under the Unix /tmp that both sides can name.
std::string uniqueTmpName(const char* suffix) {
  static int counter = 0;
  char name[128];
  std::snprintf(name, sizeof(name), "/tmp/ferrowin-wine-%lu-%d%s", GetCurrentProcessId(), ++counter,
                suffix);
  return name;
}

// Wine maps the Unix root to drive Z.
std::string windowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool fileExists(const std::string& unixPath) {
  return GetFileAttributesA(windowsPath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TestHost::TestHost(int32_t screenX, int32_t screenY, int32_t width, int32_t height)
    : x(screenX), y(screenY) {
  registerHostClass();
  hwnd = CreateWindowExA(0, kHostClass, "Ferrowin test host", WS_POPUP, screenX, screenY, width,
                         height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  // Shown without activation: Wine then leaves the window to itself instead of handing it to a
  // window manager, and destroying it does not wait for one (docs/wine.md).
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd);
  pumpPending();
}

TestHost::~TestHost() {
  if (hwnd) DestroyWindow(hwnd);
  pumpPending();
}

void pumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    pumpPending();
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    // Sleeps until a message arrives or a short period passes, so that conditions set by
    // other processes (the X server, a Unix program) are looked at again soon.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool runningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool startUnix(const std::string& command) {
  // Wine runs a Unix program given by its Z: path; the command line becomes its argv. The
  // process has no handle to wait on, so callers look for a file it writes at the end.
  std::string line = "/bin/sh -c \"" + command + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  return true;
}

bool runUnix(const std::string& command, DWORD timeoutMs) {
  const std::string done = uniqueTmpName(".done");
  if (!startUnix(command + " ; touch " + done)) return false;
  const bool ended = pumpUntil([&] { return fileExists(done); }, timeoutMs);
  DeleteFileA(windowsPath(done).c_str());
  return ended;
}

bool Screenshot::capture(const gui::CRect& screenRect) {
  rect = screenRect;
  rgb.clear();
  const size_t expected = static_cast<size_t>(rect.width()) * rect.height() * 3;
  if (runningUnderWine()) {
    // Only the X server has the true picture: reading a window's device context back under
    // Wine misses what GDI+ drew.
    const std::string file = uniqueTmpName(".rgb");
    char command[512];
    std::snprintf(command, sizeof(command),
                  "import -window root -crop %dx%d+%d+%d +repage -depth 8 rgb:%s.part && mv "
                  "%s.part %s",
                  rect.width(), rect.height(), rect.left, rect.top, file.c_str(), file.c_str(),
                  file.c_str());
    if (!runUnix(command)) return false;
    std::ifstream in(windowsPath(file), std::ios::binary);
    rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(windowsPath(file).c_str());
  } else {
    // On Windows the screen's device context holds the composited picture.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = rect.width();
    info.bmiHeader.biHeight = -rect.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, rect.width(), rect.height(), screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint8_t*>(bits);
    for (int32_t i = 0; i < rect.width() * rect.height(); ++i) {
      rgb.push_back(pixels[4 * i + 2]);
      rgb.push_back(pixels[4 * i + 1]);
      rgb.push_back(pixels[4 * i]);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }
  return rgb.size() == expected;
}

gui::CColor Screenshot::at(int32_t screenX, int32_t screenY) const {
  if (!rect.pointInside(gui::CPoint(screenX, screenY)) || rgb.empty()) return {0, 0, 0, 255};
  const size_t index =
      (static_cast<size_t>(screenY - rect.top) * rect.width() + (screenX - rect.left)) * 3;
  return {rgb[index], rgb[index + 1], rgb[index + 2], 255};
}

bool Screenshot::savePng(const std::string& unixPath) const {
  if (rgb.empty() || !runningUnderWine()) return false;
  const std::string raw = uniqueTmpName(".rgb");
  {
    std::ofstream out(windowsPath(raw), std::ios::binary);
    out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  }
  char command[512];
  std::snprintf(command, sizeof(command), "convert -size %dx%d -depth 8 rgb:%s %s ; rm -f %s",
                rect.width(), rect.height(), raw.c_str(), unixPath.c_str(), raw.c_str());
  return runUnix(command);
}

std::vector<std::string> waitForPixels(
    const gui::CRect& screenRect,
    const std::function<void(const Screenshot&, std::vector<std::string>&)>& check, DWORD timeoutMs,
    Screenshot* last) {
  std::vector<std::string> failures;
  const DWORD start = GetTickCount();
  do {
    pumpPending();
    Screenshot shot;
    failures.clear();
    if (!shot.capture(screenRect)) {
      failures.push_back("the screenshot could not be taken");
      continue;
    }
    check(shot, failures);
    if (last) *last = shot;
    if (failures.empty()) break;
    // Wine copies window surfaces to the X server at its own pace: look again.
  } while (GetTickCount() - start < timeoutMs);
  return failures;
}

namespace {

SIZE_T committedPrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (char* address = nullptr; VirtualQuery(address, &info, sizeof(info)) == sizeof(info);
       address = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (static_cast<char*>(info.BaseAddress) + info.RegionSize < address) break;
  }
  return total;
}

SIZE_T heapBytesInUse() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  SIZE_T total = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return total;
}

long long growth(SIZE_T before, SIZE_T after) {
  return static_cast<long long>(after) - static_cast<long long>(before);
}

}  // namespace

ProcessMemory memoryNow() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof(counters));
  return {counters.PrivateUsage, counters.WorkingSetSize, committedPrivateBytes(),
          heapBytesInUse()};
}

void printGrowth(const ProcessMemory& before, const ProcessMemory& after) {
  std::printf("private bytes (reported):   %zu -> %zu (%+lld)\n", before.privateBytes,
              after.privateBytes, growth(before.privateBytes, after.privateBytes));
  std::printf("working set (reported):     %zu -> %zu (%+lld)\n", before.workingSet,
              after.workingSet, growth(before.workingSet, after.workingSet));
  std::printf("committed private pages:    %zu -> %zu (%+lld)\n", before.committedPrivate,
              after.committedPrivate, growth(before.committedPrivate, after.committedPrivate));
  std::printf("heap bytes in use:          %zu -> %zu (%+lld)\n", before.heapInUse, after.heapInUse,
              growth(before.heapInUse, after.heapInUse));
}

std::string describe(const gui::CColor& color) {
  char text[48];
  std::snprintf(text, sizeof(text), "(%d,%d,%d)", color.red, color.green, color.blue);
  return text;
}

bool closeTo(const gui::CColor& a, const gui::CColor& b, int32_t tolerance) {
  return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
         std::abs(a.blue - b.blue) <= tolerance;
}

}  // namespace wintest

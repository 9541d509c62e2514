// What the toolkit's window tests need around a frame: a stand-in for the host's window, a
// message pump that waits for conditions, and the X server seen from outside (screenshots and
// real pointer input through Unix programs, which Wine starts like Windows programs).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CColor.h"
#include "CRect.h"

namespace wintest {

// Long enough for a loaded machine; conditions normally hold within a few frames.
constexpr DWORD kWaitTimeoutMs = 20000;

// A borderless top-level window at a fixed screen position: the host's editor window.
class TestHost {
 public:
  TestHost(int32_t screenX, int32_t screenY, int32_t width, int32_t height);
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  HWND window() const { return hwnd; }
  int32_t screenX() const { return x; }
  int32_t screenY() const { return y; }

 private:
  HWND hwnd = nullptr;
  int32_t x;
  int32_t y;
};

// Processes window messages until condition holds; false on timeout.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitTimeoutMs);
// Processes the messages that are queued now.
void pumpPending();

// True when the program runs under Wine (Unix programs can then be started).
bool runningUnderWine();
// Runs a shell command line on the Unix side and waits for it to end, pumping messages
// meanwhile; false when it could not be started or did not end in time.
bool runUnix(const std::string& command, DWORD timeoutMs = kWaitTimeoutMs);
// Starts a shell command line on the Unix side without waiting.
bool startUnix(const std::string& command);

// Pixels of a screen rectangle as the X server shows them.
class Screenshot {
 public:
  bool capture(const gui::CRect& screenRect);
  // Screen coordinates; black outside the captured rectangle.
  gui::CColor at(int32_t screenX, int32_t screenY) const;
  const gui::CRect& area() const { return rect; }
  // Writes a PNG of the capture for people to look at (Unix path).
  bool savePng(const std::string& unixPath) const;

 private:
  gui::CRect rect;
  std::vector<uint8_t> rgb;
};

// Captures rect until check answers no failures or the time is up; answers the failures of
// the last capture (empty on success).
std::vector<std::string> waitForPixels(
    const gui::CRect& screenRect,
    const std::function<void(const Screenshot&, std::vector<std::string>&)>& check,
    DWORD timeoutMs = kWaitTimeoutMs, Screenshot* last = nullptr);

// What the process holds, by the figures that follow leaks under Wine (docs/wine.md).
struct ProcessMemory {
  SIZE_T privateBytes;  // as the system reports them (Wine reports 0)
  SIZE_T workingSet;
  SIZE_T committedPrivate;  // committed private pages, from the address space itself
  SIZE_T heapInUse;         // busy blocks of every heap of the process
};
ProcessMemory memoryNow();
// Prints each figure before and after, with the difference.
void printGrowth(const ProcessMemory& before, const ProcessMemory& after);

std::string describe(const gui::CColor& color);
// Colours read from the screen may differ by rounding in the X server's depth conversion.
bool closeTo(const gui::CColor& a, const gui::CColor& b, int32_t tolerance = 8);

}  // namespace wintest

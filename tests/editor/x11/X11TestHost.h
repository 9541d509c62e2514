// A host on X11 for the editor's tests: the real plug-in library loaded by path, the host's
// window on the X server named by DISPLAY, real input through xdotool and the pixels read back
// from the server. X errors of the host's own connection are counted, never fatal.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HostCallback.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

namespace x11test {

// Where the tests put the host's window on the screen, and the editor's size in it (pixels).
constexpr int kHostX = 40;
constexpr int kHostY = 40;
constexpr int kWidth = 691;
constexpr int kHeight = 371;
// Layout rows of two sliders.
constexpr int32_t kCutoffSlider = 7;
constexpr int32_t kResonanceSlider = 8;

struct Rgb {
  int red;
  int green;
  int blue;
};

// The pixels of a screen rectangle as the X server shows them.
class Screenshot {
 public:
  Screenshot(Display* display, int x, int y, int width, int height);
  // Screen coordinates inside the rectangle.
  Rgb at(int x, int y) const;

 private:
  int left;
  int top;
  int width;
  std::vector<Rgb> pixels;
};

// The host's connection, its error count and the plug-in library.
class X11TestHost {
 public:
  X11TestHost();
  ~X11TestHost();
  X11TestHost(const X11TestHost&) = delete;
  X11TestHost& operator=(const X11TestHost&) = delete;

  Display* display() const { return connection; }
  // X errors that reached the host's handler: those of its own connection.
  static int errorCount();
  PluginLibrary& library() { return plugin; }
  HostCallback& callbacks() { return host; }
  const HostCallback& callbacks() const { return host; }

  // A borderless top-level window at that screen position, mapped and shown.
  Window makeWindow(int x, int y, int width, int height);
  // The windows inside window.
  int childCount(Window window);

 private:
  Display* connection = nullptr;
  XErrorHandler previousHandler = nullptr;
  PluginLibrary plugin;
  HostCallback host;
};

// The amber stripe across a slider's handle and a lit button.
bool isAmber(const Rgb& c);
// Whether the editor whose top-left is at screen (x, y), drawn at scale screen pixels per editor
// pixel, shows value on the slider of layout row: the handle's stripe 14 rows below its top,
// which travels 130 rows, and nothing amber 8 rows above or below. Empty when it does, else
// what is seen, in editor pixels.
std::string sliderFault(const Screenshot& s, int x, int y, int32_t row, float value, int scale = 1);

// Runs xdotool with the arguments and waits for it; false when it failed.
bool xdotool(const std::string& arguments);
// Calls idle until condition holds; false after the time-out.
bool idleUntil(const std::function<void()>& idle, const std::function<bool()>& condition);

}  // namespace x11test

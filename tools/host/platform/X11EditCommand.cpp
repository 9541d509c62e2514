// The edit command's window on Linux: a top-level X11 window whose id the editor gets as its
// parent, idled on a timer until it is closed or the time is up.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "EditCommand.h"
#include "EditTarget.h"

namespace {

using Clock = std::chrono::steady_clock;

// The host's connection and its top-level window, closed on every way out.
class HostWindow {
 public:
  HostWindow(const std::string& title, int width, int height) {
    display = XOpenDisplay(nullptr);
    if (!display)
      throw std::runtime_error(
          "edit needs an X display: DISPLAY is not set or its server does not answer");
    const int screen = DefaultScreen(display);
    window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                 BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, title.c_str());
    fixSize(width, height);
    deleteMessage = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteMessage, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False);
  }
  ~HostWindow() {
    XDestroyWindow(display, window);
    XCloseDisplay(display);
  }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  Window id() const { return window; }
  // The size the editor asked for; the user cannot change it, since the editor does not follow
  // a window of another size.
  void resize(int width, int height) {
    fixSize(width, height);
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFlush(display);
  }
  // Where the window's top-left pixel is on the screen.
  void origin(int& x, int& y) const {
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  }
  // Waits up to timeoutMs for the user to close the window; true when they did.
  bool waitForClose(int timeoutMs) {
    if (XPending(display) == 0) {
      pollfd connection = {ConnectionNumber(display), POLLIN, 0};
      poll(&connection, 1, timeoutMs);
    }
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == ClientMessage &&
          static_cast<Atom>(event.xclient.data.l[0]) == deleteMessage)
        return true;
    }
    return false;
  }

 private:
  void fixSize(int width, int height) {
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display, window, hints);
    XFree(hints);
  }

  Display* display = nullptr;
  Window window = 0;
  Atom deleteMessage = 0;
};

}  // namespace

bool editSupported() { return true; }

void runEdit(const EditOptions& options, std::ostream& out) {
  EditTarget target(options.pluginPath, options.automation, out);
  PluginInstance& plugin = target.plugin();
  HostWindow window(target.title(), target.width(), target.height());
  // The id travels in the pointer, as hosts on X11 pass it.
  if (plugin.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window.id())) == 0)
    throw std::runtime_error(options.pluginPath + " did not open its editor");
  int x = 0;
  int y = 0;
  window.origin(x, y);
  out << "editor open: " << target.width() << " x " << target.height() << " at " << x << "," << y
      << "\n"
      << std::flush;

  const auto start = Clock::now();
  const auto deadline = start + std::chrono::duration_cast<Clock::duration>(
                                    std::chrono::duration<double>(options.seconds));
  EditAutomation& automation = target.automation();
  const auto automationPeriod = std::chrono::milliseconds(automation.periodMs());
  auto nextIdle = start;
  auto nextStep = start;
  automation.beginPhase();
  for (;;) {
    const auto now = Clock::now();
    if (options.seconds > 0 && now >= deadline) break;
    if (now >= nextIdle) {
      plugin.dispatch(effEditIdle);
      target.forgetCalls();
      int width = 0;
      int height = 0;
      if (target.takeSizeRequest(width, height)) window.resize(width, height);
      nextIdle = now + std::chrono::milliseconds(options.idleMs);
    }
    auto wakeUp = nextIdle;
    if (automation.automates()) {
      if (now >= nextStep) {
        automation.step(plugin.record());
        nextStep = now + automationPeriod;
      }
      wakeUp = std::min(wakeUp, nextStep);
    }
    // Rounded up: a wait cut down to 0 ms would spin until the next step, and that spin would
    // count as the editor's cost.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wakeUp - Clock::now());
    if (window.waitForClose(static_cast<int>(std::max<long long>(wait.count(), 0)))) break;
  }
  // The editor goes before its parent window, so that it never sees its window destroyed
  // under it.
  target.closeEditor();
  // The window stays through the closed phase, its events served for the whole of each wait.
  target.finish([&window](uint32_t ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (auto now = Clock::now(); now < end; now = Clock::now())
      window.waitForClose(
          static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(end - now).count()));
  });
}

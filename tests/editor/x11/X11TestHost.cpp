#include "X11TestHost.h"

#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "EditorLayout.h"

namespace x11test {

namespace {

// Long enough for a loaded machine; conditions normally hold within a few idle calls.
constexpr auto kTimeout = std::chrono::seconds(20);
constexpr auto kPollPeriod = std::chrono::milliseconds(5);

int errors = 0;

int countError(Display* /*display*/, XErrorEvent* /*error*/) {
  ++errors;
  return 0;
}

// The position of a channel's lowest bit and its width, from its mask.
int channel(unsigned long pixel, unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  const unsigned long value = (pixel >> shift) & mask;
  return mask ? static_cast<int>(value * 255 / mask) : 0;
}

std::string describe(const Rgb& c) {
  return "(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
         std::to_string(c.blue) + ")";
}

}  // namespace

Screenshot::Screenshot(Display* display, int x, int y, int width, int height)
    : left(x), top(y), width(width) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height), Rgb{0, 0, 0});
  if (!image) return;
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width; ++column) {
      const unsigned long p = XGetPixel(image, column, row);
      pixels[static_cast<size_t>(row * width + column)] = {
          channel(p, image->red_mask), channel(p, image->green_mask), channel(p, image->blue_mask)};
    }
  XDestroyImage(image);
}

Rgb Screenshot::at(int x, int y) const {
  return pixels[static_cast<size_t>((y - top) * width + (x - left))];
}

X11TestHost::X11TestHost() : connection(XOpenDisplay(nullptr)) {
  previousHandler = XSetErrorHandler(countError);
  errors = 0;
}

X11TestHost::~X11TestHost() {
  if (connection) XCloseDisplay(connection);
  XSetErrorHandler(previousHandler);
}

int X11TestHost::errorCount() { return errors; }

Window X11TestHost::makeWindow(int x, int y, int width, int height) {
  XSetWindowAttributes attributes = {};
  attributes.override_redirect = True;  // placed where asked, whatever a window manager says
  attributes.background_pixel = BlackPixel(connection, DefaultScreen(connection));
  const Window window =
      XCreateWindow(connection, DefaultRootWindow(connection), x, y, static_cast<unsigned>(width),
                    static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(connection, window);
  XSync(connection, False);
  return window;
}

int X11TestHost::childCount(Window window) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(connection, window, &root, &parent, &children, &count)) return -1;
  if (children) XFree(children);
  return static_cast<int>(count);
}

bool isAmber(const Rgb& c) { return c.red > 200 && c.green > 120 && c.blue < 110; }

std::string sliderFault(const Screenshot& s, int x, int y, int32_t row, float value, int scale) {
  const gui::CRect& r = EditorLayout::control(row).rect;
  const int top = r.top + static_cast<int>(130.0f * (1.0f - value));
  const int stripeX = r.left + 8;
  const int stripeY = top + 14;
  // The middle of the screen pixels that show one editor pixel.
  auto at = [&](int localX, int localY) {
    return s.at(x + localX * scale + scale / 2, y + localY * scale + scale / 2);
  };
  if (!isAmber(at(stripeX, stripeY)))
    return "no stripe at y " + std::to_string(stripeY) + ": " + describe(at(stripeX, stripeY));
  for (int dy : {-8, 8})
    if (isAmber(at(stripeX, stripeY + dy)))
      return "a stripe also at y " + std::to_string(stripeY + dy);
  return "";
}

bool xdotool(const std::string& arguments) {
  return std::system(("xdotool " + arguments).c_str()) == 0;
}

bool idleUntil(const std::function<void()>& idle, const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + kTimeout;
  for (;;) {
    idle();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kPollPeriod);
  }
}

}  // namespace x11test

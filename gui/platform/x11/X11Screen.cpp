// The display's scale as desktops on X11 state it: the Xft.dpi resource that their settings
// daemons publish when the user chose a scale, else the screen's own pixels per inch from its
// physical size. 96 pixels per inch is 1.
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cstdlib>

#include "../PlatformWindow.h"

namespace gui {
namespace platform {

namespace {

constexpr double kBaseDpi = 96.0;
constexpr double kMillimetresPerInch = 25.4;

// Pixels per inch that the resource names; 0 when it names none.
double resourceDpi(Display* display) {
  const char* resources = XResourceManagerString(display);
  if (!resources) return 0.0;
  XrmInitialize();
  XrmDatabase database = XrmGetStringDatabase(resources);
  if (!database) return 0.0;
  char* type = nullptr;
  XrmValue value = {};
  double dpi = 0.0;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
    dpi = std::strtod(value.addr, nullptr);
  XrmDestroyDatabase(database);
  return dpi > 0.0 ? dpi : 0.0;
}

double screenDpi(Display* display) {
  const int screen = DefaultScreen(display);
  const int millimetres = DisplayHeightMM(display, screen);
  if (millimetres <= 0) return 0.0;
  return DisplayHeight(display, screen) * kMillimetresPerInch / millimetres;
}

}  // namespace

// The host's window names no other screen than the display's default one here.
float getDisplayScale(void* /*window*/) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1.0f;
  double dpi = resourceDpi(display);
  if (dpi <= 0.0) dpi = screenDpi(display);
  XCloseDisplay(display);
  return dpi > 0.0 ? static_cast<float>(dpi / kBaseDpi) : 1.0f;
}

}  // namespace platform
}  // namespace gui

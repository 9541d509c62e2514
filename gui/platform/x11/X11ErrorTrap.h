// Catches the X errors of one display connection while it lives. Xlib's error handler is one
// for the whole process, and its default ends the process: a trap holds it only around the
// editor's own requests, passes errors of every other connection (the host's) to the handler
// it found, and gives that handler back when it ends.
#pragma once

#include <X11/Xlib.h>

namespace gui {
namespace platform {

class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* display);
  // Waits for the answers to every request sent so far, so that their errors land here.
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the answers to every request sent so far; true when any of them failed.
  bool failed();

 private:
  static int handle(Display* display, XErrorEvent* error);

  Display* display;
  XErrorHandler previous;
  X11ErrorTrap* outer;
  int errors = 0;
};

}  // namespace platform
}  // namespace gui

#include "X11ErrorTrap.h"

namespace gui {
namespace platform {

namespace {
// The innermost trap of the calling thread; the toolkit runs on the host's one UI thread.
X11ErrorTrap* innermost = nullptr;
}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display)
    : display(display), previous(XSetErrorHandler(&X11ErrorTrap::handle)), outer(innermost) {
  innermost = this;
}

X11ErrorTrap::~X11ErrorTrap() {
  if (display) XSync(display, False);
  innermost = outer;
  XSetErrorHandler(previous);
}

bool X11ErrorTrap::failed() {
  if (display) XSync(display, False);
  return errors > 0;
}

int X11ErrorTrap::handle(Display* display, XErrorEvent* error) {
  X11ErrorTrap* outermost = innermost;
  for (X11ErrorTrap* trap = innermost; trap; trap = trap->outer) {
    if (trap->display == display) {
      ++trap->errors;
      return 0;
    }
    outermost = trap;
  }
  // Not the editor's connection: the error is the host's, and so is its handling.
  if (outermost && outermost->previous) return outermost->previous(display, error);
  return 0;
}

}  // namespace platform
}  // namespace gui

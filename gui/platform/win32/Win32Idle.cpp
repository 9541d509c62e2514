#include <windows.h>

#include "../PlatformIdle.h"

namespace gui {
namespace platform {

namespace {
// One message record for every editor of the process; only user-interface threads use it.
MSG paintMessage;
}  // namespace

void sleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

bool dispatchOnePaintMessage() {
  if (!PeekMessageA(&paintMessage, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) return false;
  DispatchMessageA(&paintMessage);
  return true;
}

}  // namespace platform
}  // namespace gui

// What an editor's idle work during long mouse gestures asks of the platform, beside the tick
// count and the cursor of PlatformWindow.h: a short sleep and one pending paint.
#pragma once

#include <cstdint>

namespace gui {
namespace platform {

// Suspends the calling thread for about that many milliseconds.
void sleepMilliseconds(uint32_t milliseconds);
// Takes at most one paint message (of any window of the calling thread) out of the thread's
// queue and dispatches it; false when none was pending.
bool dispatchOnePaintMessage();

}  // namespace platform
}  // namespace gui

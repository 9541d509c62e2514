// The window class of frame windows: one per loaded module, registered while any frame window
// of the process exists.
#pragma once

namespace gui {
namespace platform {

// Registers the class on the first use; answers its name.
const char* useFrameWindowClass();
// Unregisters the class when this was the last use.
void unuseFrameWindowClass();
// The system's swapped-mouse-button setting as read when the class was registered.
bool areButtonsSwapped();
// Uses of the class now (0 when it is not registered).
int frameWindowClassUseCount();

}  // namespace platform
}  // namespace gui

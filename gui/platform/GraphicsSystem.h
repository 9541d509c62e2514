// Start and stop of the platform's graphics library (GDIPlusGlobals counts the holders).
#pragma once

#include <cstdint>

namespace gui {
namespace platform {

// Answers the token that stopGraphicsSystem takes.
uintptr_t startGraphicsSystem();
void stopGraphicsSystem(uintptr_t token);

}  // namespace platform
}  // namespace gui

// Settings kept per user between sessions, in the platform's usual place (the current user's
// registry on Windows), as whole numbers under a section and a name.
#pragma once

#include <cstdint>

namespace gui {
namespace platform {

// False when there is no such setting or it cannot be read; value is then unchanged.
bool readUserSetting(const char* section, const char* name, int32_t& value);
// False when the setting cannot be stored.
bool writeUserSetting(const char* section, const char* name, int32_t value);

}  // namespace platform
}  // namespace gui

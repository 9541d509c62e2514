// User settings as DWORD values under HKEY_CURRENT_USER\Software\<section>.
#include <windows.h>

#include <string>

#include "../PlatformSettings.h"

namespace gui {
namespace platform {

namespace {
std::string keyOf(const char* section) { return std::string("Software\\") + section; }
}  // namespace

bool readUserSetting(const char* section, const char* name, int32_t& value) {
  if (!section || !name) return false;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyOf(section).c_str(), 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS)
    return false;
  DWORD type = 0;
  DWORD stored = 0;
  DWORD size = sizeof stored;
  const bool read = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&stored),
                                     &size) == ERROR_SUCCESS &&
                    type == REG_DWORD && size == sizeof stored;
  RegCloseKey(key);
  if (!read) return false;
  value = static_cast<int32_t>(stored);
  return true;
}

bool writeUserSetting(const char* section, const char* name, int32_t value) {
  if (!section || !name) return false;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyOf(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const auto stored = static_cast<DWORD>(value);
  const bool written =
      RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored),
                     sizeof stored) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

}  // namespace platform
}  // namespace gui

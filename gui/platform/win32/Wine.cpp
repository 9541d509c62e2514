#include "Wine.h"

#include <windows.h>

namespace gui {
namespace platform {

bool runsUnderWine() {
  static const bool underWine = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return underWine;
}

}  // namespace platform
}  // namespace gui

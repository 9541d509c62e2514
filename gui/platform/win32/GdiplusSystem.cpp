// Start and stop of GDI+; GDIPlusGlobals counts the holders.
#include "../GraphicsSystem.h"
#include "GdiplusIncludes.h"

namespace gui {
namespace platform {

uintptr_t startGraphicsSystem() {
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  return static_cast<uintptr_t>(token);
}

void stopGraphicsSystem(uintptr_t token) {
  if (token) Gdiplus::GdiplusShutdown(static_cast<ULONG_PTR>(token));
}

}  // namespace platform
}  // namespace gui

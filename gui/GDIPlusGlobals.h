// The process-wide start-up count of the graphics system: the first holder starts it, the
// last one shuts it down.
#pragma once

#include <cstdint>

#include "CBaseObject.h"

namespace gui {

// Destroyed only by the last release(), through the base's virtual destructor.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class GDIPlusGlobals final : public CBaseObject {
 public:
  // Called by every bitmap and frame on construction and destruction.
  static void acquire();
  static void release();
  // Null while the graphics system is shut down.
  static GDIPlusGlobals* getInstance();

 private:
  GDIPlusGlobals();
  ~GDIPlusGlobals() override;

  uintptr_t token = 0;
};

}  // namespace gui

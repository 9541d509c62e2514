// Names a resource of the plug-in module: by integer id, by name, or none.
#pragma once

#include <cstdint>

namespace gui {

struct CResourceDescription {
  enum Type : int32_t { kIntegerType = 0, kStringType = 1, kUnknownType = 2 };

  CResourceDescription() { u.name = nullptr; }
  CResourceDescription(int32_t id) : type(kIntegerType) { u.id = id; }  // NOLINT: ids convert
  CResourceDescription(const char* name) : type(kStringType) { u.name = name; }  // NOLINT

  int32_t type = kUnknownType;
  union {
    int32_t id;
    const char* name;
  } u;
};

}  // namespace gui

// The files a program or library carries inside itself, found by resource id as the system
// finds a Windows module's resources. The table is generated at build time from the resource
// script, so that both builds carry the same files under the same ids.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gui {
namespace platform {

struct EmbeddedResource {
  int32_t id;
  const uint8_t* bytes;
  size_t size;
};

// Defined by the generated source linked into the program or library; the entry after the
// last one has a null `bytes`.
extern const EmbeddedResource kEmbeddedResources[];

// The resource of that id, or null.
const EmbeddedResource* findEmbeddedResource(int32_t id);

}  // namespace platform
}  // namespace gui

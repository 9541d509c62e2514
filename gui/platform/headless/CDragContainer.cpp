// Without a drop layer (headless, X11) there are no drag sources: a drag carries no items.
#include "../../CDragContainer.h"

namespace gui {

CDragContainer::CDragContainer(void* platformDrag) : platformDrag(platformDrag) {}
CDragContainer::~CDragContainer() { delete[] lastItem; }
void* CDragContainer::first(int32_t& size, int32_t& type) {
  iterator = 0;
  return next(size, type);
}
void* CDragContainer::next(int32_t& size, int32_t& type) { return itemAt(iterator++, size, type); }
int32_t CDragContainer::getType(int32_t /*index*/) const { return kUnknown; }
void* CDragContainer::itemAt(int32_t /*index*/, int32_t& size, int32_t& type) {
  size = 0;
  type = kUnknown;
  return nullptr;
}

}  // namespace gui

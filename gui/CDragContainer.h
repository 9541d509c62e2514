// The data of a drag in progress over a frame: text or file names.
#pragma once

#include <cstdint>

#include "CBaseObject.h"

namespace gui {

class CDragContainer : public CBaseObject {
 public:
  enum ItemType : int32_t { kFile = 0, kText = 1, kUnknown = -1 };

  // platformDrag: the platform's data object of the drag (not reference-counted), or null.
  explicit CDragContainer(void* platformDrag);
  ~CDragContainer() override;
  CDragContainer(const CDragContainer&) = delete;

  int32_t getCount() const { return nbItems; }
  // The first item, or the one after the last read: a zero-terminated text or file name that
  // stays valid until the next read; null after the last. size excludes the terminator.
  void* first(int32_t& size, int32_t& type);
  void* next(int32_t& size, int32_t& type);
  int32_t getType(int32_t index) const;
  void* getPlatformDrag() const { return platformDrag; }

 private:
  void* itemAt(int32_t index, int32_t& size, int32_t& type);

  void* platformDrag = nullptr;
  int32_t nbItems = 0;
  int32_t iterator = 0;
  char* lastItem = nullptr;
};

}  // namespace gui

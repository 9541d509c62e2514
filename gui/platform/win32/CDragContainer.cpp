// A drag's items from its OLE data object: one text, or the dropped file names.
#include "../../CDragContainer.h"

#include <ole2.h>
#include <shellapi.h>

#include <cstring>

namespace gui {

namespace {

FORMATETC formatOf(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

IDataObject* dataOf(void* platformDrag) { return static_cast<IDataObject*>(platformDrag); }

bool offers(IDataObject* data, CLIPFORMAT format) {
  FORMATETC query = formatOf(format);
  return data && data->QueryGetData(&query) == S_OK;
}

}  // namespace

CDragContainer::CDragContainer(void* platformDrag) : platformDrag(platformDrag) {
  IDataObject* data = dataOf(platformDrag);
  if (!data) return;
  if (offers(data, CF_TEXT)) {
    nbItems = 1;
    return;
  }
  FORMATETC query = formatOf(CF_HDROP);
  STGMEDIUM medium = {};
  if (data->GetData(&query, &medium) == S_OK) {
    // The medium is ours: it is released as soon as the count is read.
    if (HDROP drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
      nbItems = static_cast<int32_t>(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0));
      GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
  }
}

CDragContainer::~CDragContainer() { delete[] lastItem; }

void* CDragContainer::first(int32_t& size, int32_t& type) {
  iterator = 0;
  return next(size, type);
}

void* CDragContainer::next(int32_t& size, int32_t& type) { return itemAt(iterator++, size, type); }

int32_t CDragContainer::getType(int32_t index) const {
  if (index < 0 || index >= nbItems) return kUnknown;
  return offers(dataOf(platformDrag), CF_TEXT) ? kText : kFile;
}

void* CDragContainer::itemAt(int32_t index, int32_t& size, int32_t& type) {
  size = 0;
  type = kUnknown;
  IDataObject* data = dataOf(platformDrag);
  if (!data || index < 0 || index >= nbItems) return nullptr;
  const bool text = offers(data, CF_TEXT);
  FORMATETC query = formatOf(text ? CF_TEXT : CF_HDROP);
  STGMEDIUM medium = {};
  if (data->GetData(&query, &medium) != S_OK) return nullptr;
  char* item = nullptr;
  if (void* locked = GlobalLock(medium.hGlobal)) {
    if (text) {
      // The text need not be terminated within its block.
      const size_t capacity = GlobalSize(medium.hGlobal);
      const auto* chars = static_cast<const char*>(locked);
      const size_t length = strnlen(chars, capacity);
      item = new char[length + 1];
      std::memcpy(item, chars, length);
      item[length] = 0;
      type = kText;
    } else {
      auto drop = static_cast<HDROP>(locked);
      const UINT length = DragQueryFileA(drop, static_cast<UINT>(index), nullptr, 0);
      item = new char[length + 1];
      DragQueryFileA(drop, static_cast<UINT>(index), item, length + 1);
      item[length] = 0;
      type = kFile;
    }
    GlobalUnlock(medium.hGlobal);
  }
  ReleaseStgMedium(&medium);
  if (!item) return nullptr;
  delete[] lastItem;
  lastItem = item;
  size = static_cast<int32_t>(std::strlen(item));
  return lastItem;
}

}  // namespace gui

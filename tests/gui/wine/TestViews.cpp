#include "TestViews.h"

#include "CDragContainer.h"

namespace wintest {

void RecordingView::onDragEnter(gui::CDragContainer* drag, const gui::CPoint& where) {
  dragItemsAtEnter = drag ? drag->getCount() : -1;
  record("dragEnter", where, 0);
}

void RecordingView::onDragLeave(gui::CDragContainer* /*drag*/, const gui::CPoint& where) {
  record("dragLeave", where, 0);
}

void RecordingView::onDragMove(gui::CDragContainer* /*drag*/, const gui::CPoint& where) {
  record("dragMove", where, 0);
}

bool RecordingView::onDrop(gui::CDragContainer* drag, const gui::CPoint& where) {
  record("drop", where, 0);
  int32_t size = 0;
  int32_t type = 0;
  if (void* item = drag ? drag->first(size, type) : nullptr)
    if (type == gui::CDragContainer::kText) droppedText.assign(static_cast<char*>(item), size);
  return true;
}

}  // namespace wintest

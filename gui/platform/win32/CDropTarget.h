// The OLE drop target of a frame window: drags over the window reach the frame's routing.
#pragma once

#include <ole2.h>

#include <cstdint>

#include "../../CPoint.h"

namespace gui {

class CFrame;
class CDragContainer;

class CDropTarget : public IDropTarget {
 public:
  explicit CDropTarget(CFrame* frame);
  virtual ~CDropTarget();
  CDropTarget(const CDropTarget&) = delete;
  CDropTarget& operator=(const CDropTarget&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

  // The drag in progress over any frame of the process, or null.
  static CDragContainer* getCurrentDrag();
  // Targets alive in the process: each lives while OLE holds it for a window.
  static int32_t getLiveCount();

 private:
  CPoint locateMouse();

  LONG refCount = 0;
  CFrame* frame;
};

}  // namespace gui

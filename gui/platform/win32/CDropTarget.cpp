#include "CDropTarget.h"

#include "../../CDragContainer.h"
#include "../../CDrawContext.h"
#include "../../CFrame.h"

namespace gui {

namespace {

CDragContainer* currentDrag = nullptr;
int32_t liveTargets = 0;

// Copy is preferred over move, move over link.
void reduceEffect(DWORD* effect) {
  if (!effect) return;
  if (*effect & DROPEFFECT_COPY)
    *effect = DROPEFFECT_COPY;
  else if (*effect & DROPEFFECT_MOVE)
    *effect = DROPEFFECT_MOVE;
  else if (*effect & DROPEFFECT_LINK)
    *effect = DROPEFFECT_LINK;
}

void endDrag() {
  if (currentDrag) currentDrag->forget();
  currentDrag = nullptr;
}

}  // namespace

CDropTarget::CDropTarget(CFrame* frame) : frame(frame) { ++liveTargets; }

CDropTarget::~CDropTarget() { --liveTargets; }

int32_t CDropTarget::getLiveCount() { return liveTargets; }

CDragContainer* CDropTarget::getCurrentDrag() { return currentDrag; }

HRESULT CDropTarget::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    AddRef();
    *object = static_cast<IDropTarget*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CDropTarget::AddRef() { return static_cast<ULONG>(++refCount); }

ULONG CDropTarget::Release() {
  if (--refCount > 0) return static_cast<ULONG>(refCount);
  delete this;
  return 0;
}

CPoint CDropTarget::locateMouse() {
  // OLE's point is not used: the frame's own cursor location keeps all paths alike.
  CPoint where;
  CDrawContext* context = frame->createDrawContext();
  frame->getMouseLocation(context, where);
  if (context) context->forget();
  return where;
}

HRESULT CDropTarget::DragEnter(IDataObject* data, DWORD /*keys*/, POINTL /*point*/, DWORD* effect) {
  if (!data || !frame) {
    if (effect) *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  // A drag that never left (its source crashed, say) is not leaked.
  endDrag();
  currentDrag = new CDragContainer(data);
  const CPoint where = locateMouse();
  frame->onDragEnter(currentDrag, where);
  reduceEffect(effect);
  return S_OK;
}

HRESULT CDropTarget::DragOver(DWORD /*keys*/, POINTL /*point*/, DWORD* effect) {
  if (!currentDrag || !frame) return S_OK;
  const CPoint where = locateMouse();
  frame->onDragMove(currentDrag, where);
  reduceEffect(effect);
  return S_OK;
}

HRESULT CDropTarget::DragLeave() {
  if (!currentDrag || !frame) return S_OK;
  const CPoint where = locateMouse();
  frame->onDragLeave(currentDrag, where);
  endDrag();
  return S_OK;
}

HRESULT CDropTarget::Drop(IDataObject* /*data*/, DWORD /*keys*/, POINTL /*point*/,
                          DWORD* /*effect*/) {
  if (!currentDrag || !frame) return S_OK;
  const CPoint where = locateMouse();
  frame->onDrop(currentDrag, where);
  endDrag();
  return S_OK;
}

}  // namespace gui

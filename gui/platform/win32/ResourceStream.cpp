#include "ResourceStream.h"

#include <cstring>

#include "../../ModuleHandle.h"

namespace gui {
namespace platform {

bool ResourceStream::open(const CResourceDescription& desc) {
  auto* module = static_cast<HMODULE>(getModuleHandle());
  HRSRC resource = nullptr;
  if (desc.type == CResourceDescription::kIntegerType)
    resource = FindResourceA(module, MAKEINTRESOURCEA(desc.u.id), "DATA");
  else if (desc.type == CResourceDescription::kStringType && desc.u.name)
    resource = FindResourceA(module, desc.u.name, "DATA");
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(module, resource);
  if (!loaded) return false;
  data = static_cast<const uint8_t*>(LockResource(loaded));
  if (!data) return false;
  size = SizeofResource(module, resource);
  position = 0;
  return true;
}

HRESULT ResourceStream::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) ||
      IsEqualIID(iid, IID_IStream)) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ResourceStream::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refCount)); }

ULONG ResourceStream::Release() {
  const LONG count = InterlockedDecrement(&refCount);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

HRESULT ResourceStream::Read(void* buffer, ULONG count, ULONG* read) {
  // All or nothing: a read past the end reads nothing.
  if (static_cast<uint64_t>(position) + count > size) {
    if (read) *read = 0;
    return S_FALSE;
  }
  std::memcpy(buffer, data + position, count);
  position += count;
  if (read) *read = count;
  return S_OK;
}

HRESULT ResourceStream::Write(const void*, ULONG, ULONG*) { return E_NOTIMPL; }

HRESULT ResourceStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) {
  int64_t target = 0;
  switch (origin) {
    case STREAM_SEEK_SET:
      target = move.QuadPart;
      break;
    case STREAM_SEEK_CUR:
      target = static_cast<int64_t>(position) + move.QuadPart;
      break;
    case STREAM_SEEK_END:
      return S_FALSE;
    default:
      return STG_E_INVALIDFUNCTION;
  }
  if (target < 0 || target >= static_cast<int64_t>(size)) return S_FALSE;
  position = static_cast<uint32_t>(target);
  if (newPosition) newPosition->QuadPart = position;
  return S_OK;
}

HRESULT ResourceStream::SetSize(ULARGE_INTEGER) { return E_NOTIMPL; }
HRESULT ResourceStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) {
  return E_NOTIMPL;
}
HRESULT ResourceStream::Commit(DWORD) { return E_NOTIMPL; }

HRESULT ResourceStream::Revert() {
  position = 0;
  return S_OK;
}

HRESULT ResourceStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }
HRESULT ResourceStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }

HRESULT ResourceStream::Stat(STATSTG* stat, DWORD /*flag*/) {
  if (!stat) return E_POINTER;
  std::memset(stat, 0, sizeof(*stat));
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = size;
  return S_OK;
}

HRESULT ResourceStream::Clone(IStream**) { return E_NOTIMPL; }

}  // namespace platform
}  // namespace gui

// A read-only COM stream over a "DATA" resource of the plug-in module, for GDI+'s decoders.
#pragma once

#include <cstdint>

#include "../../CResourceDescription.h"
#include "GdiplusIncludes.h"

namespace gui {
namespace platform {

class ResourceStream : public IStream {
 public:
  ResourceStream() = default;
  ResourceStream(const ResourceStream&) = delete;
  ResourceStream& operator=(const ResourceStream&) = delete;

  // Finds and locks the resource; false when there is none or it cannot be loaded.
  bool open(const CResourceDescription& desc);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override;

  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* newPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER newSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count,
                                       DWORD type) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count,
                                         DWORD type) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flag) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;

  uint32_t getSize() const { return size; }
  uint32_t getPosition() const { return position; }

 private:
  // Only Release deletes the stream.
  virtual ~ResourceStream() = default;

  const uint8_t* data = nullptr;
  uint32_t position = 0;
  uint32_t size = 0;
  LONG refCount = 1;
};

}  // namespace platform
}  // namespace gui

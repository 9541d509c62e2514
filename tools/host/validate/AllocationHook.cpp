#include "AllocationHook.h"

#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FERROWIN_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define FERROWIN_ASAN 1
#endif

namespace {
// Thread-local with constant initialisation, so reading them inside malloc allocates nothing.
thread_local bool counting = false;
thread_local long allocations = 0;

[[maybe_unused]] void countOne() {
  if (counting) ++allocations;
}
}  // namespace

#if defined(FERROWIN_ASAN)
// Declared by the sanitizer runtime (GCC ships no header for it).
using AllocationHookProc = void (*)(const volatile void* memory, size_t bytes);
using ReleaseHookProc = void (*)(const volatile void* memory);
// NOLINTNEXTLINE(bugprone-reserved-identifier): the runtime's name
extern "C" int __sanitizer_install_malloc_and_free_hooks(AllocationHookProc, ReleaseHookProc);

namespace {
void onAllocation(const volatile void*, size_t) { countOne(); }
void onRelease(const volatile void*) {}
bool installed = false;
}  // namespace

bool allocationHookAvailable() { return true; }

void beginCountingAllocations() {
  if (!installed)
    installed = __sanitizer_install_malloc_and_free_hooks(onAllocation, onRelease) != 0;
  allocations = 0;
  counting = true;
}

#elif defined(__linux__) && defined(__GLIBC__)

extern "C" {
void* __libc_malloc(size_t bytes);  // NOLINT(bugprone-reserved-identifier): glibc's own
void* __libc_calloc(size_t count, size_t bytes);   // NOLINT(bugprone-reserved-identifier)
void* __libc_realloc(void* memory, size_t bytes);  // NOLINT(bugprone-reserved-identifier)

// Everything in the process, the plug-in and the C++ runtime's operator new included, reaches
// these through the executable's symbol table.
__attribute__((visibility("default"))) void* malloc(size_t bytes) {
  countOne();
  return __libc_malloc(bytes);
}
__attribute__((visibility("default"))) void* calloc(size_t count, size_t bytes) {
  countOne();
  return __libc_calloc(count, bytes);
}
__attribute__((visibility("default"))) void* realloc(void* memory, size_t bytes) {
  countOne();
  return __libc_realloc(memory, bytes);
}
}

bool allocationHookAvailable() { return true; }

void beginCountingAllocations() {
  allocations = 0;
  counting = true;
}

#else

bool allocationHookAvailable() { return false; }
void beginCountingAllocations() {}

#endif

long endCountingAllocations() {
  counting = false;
  return allocations;
}

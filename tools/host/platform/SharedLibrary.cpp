#include "SharedLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

SharedLibrary::~SharedLibrary() {
  if (handle == nullptr) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle));
#else
  dlclose(handle);
#endif
}

bool SharedLibrary::open(const std::string& path, std::string* error) {
#if defined(_WIN32)
  handle = LoadLibraryA(path.c_str());
  if (handle == nullptr) {
    *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
#else
  // A bare file name means the file in the current folder, not a library search.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    *error = "cannot load " + path + ": " + (reason ? reason : "unknown reason");
    return false;
  }
#endif
  return true;
}

void* SharedLibrary::symbol(const char* name) const {
  if (handle == nullptr) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
  return dlsym(handle, name);
#endif
}

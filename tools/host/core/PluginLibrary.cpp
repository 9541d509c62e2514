#include "PluginLibrary.h"

#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

std::string PluginLibrary::fileProblem(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return "cannot load " + path + ": no such file";
  if (!std::filesystem::is_regular_file(status))
    return "cannot load " + path + ": not a regular file";
  return "";
}

PluginLibrary::~PluginLibrary() {
  if (handle == nullptr) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle));
#else
  dlclose(handle);
#endif
}

bool PluginLibrary::load(const std::string& path) {
  lastError = fileProblem(path);
  if (!lastError.empty()) return false;
#if defined(_WIN32)
  handle = LoadLibraryA(path.c_str());
  if (handle == nullptr) {
    lastError = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
#else
  // A bare file name means the file in the current folder, not a library search.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    lastError = "cannot load " + path + ": " + (reason ? reason : "unknown reason");
    return false;
  }
#endif
  entryPoint = reinterpret_cast<PluginEntryProc>(symbol("VSTPluginMain"));
  if (entryPoint == nullptr) entryPoint = reinterpret_cast<PluginEntryProc>(symbol("main"));
  if (entryPoint == nullptr) {
    lastError = path + " exports no plug-in entry point";
    return false;
  }
  return true;
}

void* PluginLibrary::symbol(const char* name) const {
  if (handle == nullptr) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
  return dlsym(handle, name);
#endif
}

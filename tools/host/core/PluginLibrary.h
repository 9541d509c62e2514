// Loads a plug-in library by path and finds its entry point, as a host does.
#pragma once

#include <string>

#include "SharedLibrary.h"
#include "VstInterface.h"

using PluginEntryProc = AEffect* (*)(audioMasterCallback);

class PluginLibrary {
 public:
  PluginLibrary() = default;
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Loads the library at `path`; false with `error()` set when it cannot be loaded or has
  // no entry point.
  bool load(const std::string& path);
  // Why `path` cannot be a plug-in before anything opens it (a FIFO or device would block the
  // opener, a folder is no library); empty when it may be one, or when it names no file here
  // (the loader searches for it and says what it finds).
  static std::string fileProblem(const std::string& path);
  // The address exported under `name`, or null.
  void* symbol(const char* name) const;
  PluginEntryProc entry() const { return entryPoint; }
  const std::string& error() const { return lastError; }

 private:
  SharedLibrary library;
  PluginEntryProc entryPoint = nullptr;
  std::string lastError;
};

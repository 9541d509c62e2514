// A shared library loaded by path and its exported symbols, through the system's loader.
#pragma once

#include <string>

class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary();  // unloads
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Loads the library at `path`; false with `error` set (the loader's reason) when it cannot.
  bool open(const std::string& path, std::string* error);
  // The address exported under `name`, or null.
  void* symbol(const char* name) const;

 private:
  void* handle = nullptr;
};

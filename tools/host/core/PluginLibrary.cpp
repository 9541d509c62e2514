#include "PluginLibrary.h"

#include <filesystem>
#include <system_error>

std::string PluginLibrary::fileProblem(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  // A name that is not here is the loader's to find (Windows searches the program's folder).
  if (!std::filesystem::exists(status)) return "";
  if (!std::filesystem::is_regular_file(status))
    return "cannot load " + path + ": not a regular file";
  return "";
}

bool PluginLibrary::load(const std::string& path) {
  lastError = fileProblem(path);
  if (!lastError.empty() || !library.open(path, &lastError)) return false;
  entryPoint = reinterpret_cast<PluginEntryProc>(symbol("VSTPluginMain"));
  if (entryPoint == nullptr) entryPoint = reinterpret_cast<PluginEntryProc>(symbol("main"));
  if (entryPoint == nullptr) {
    lastError = path + " exports no plug-in entry point";
    return false;
  }
  return true;
}

void* PluginLibrary::symbol(const char* name) const { return library.symbol(name); }

#include "FinalPath.h"

#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <filesystem>
#include <system_error>
#endif

#if defined(_WIN32)

namespace {

// GetFinalPathNameByHandle answers in the form that lifts the length limit.
constexpr char kLongPathPrefix[] = "\\\\?\\";
constexpr char kLongUncPrefix[] = "\\\\?\\UNC\\";

}  // namespace

// The system resolves every kind of link as it opens the file (under Wine, the Unix links on
// its drives too); an output that does not exist yet has nothing to resolve.
std::string finalPath(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_CANT_RESOLVE_FILENAME)
      throw std::runtime_error("cannot write " + path + ": too many levels of symbolic links");
    return path;
  }
  std::string resolved(MAX_PATH, '\0');
  DWORD length = 0;
  for (;;) {
    length = GetFinalPathNameByHandleA(file, &resolved[0], static_cast<DWORD>(resolved.size()),
                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length < resolved.size()) break;
    resolved.resize(length + 1);
  }
  CloseHandle(file);
  if (length == 0) return path;
  resolved.resize(length);
  if (resolved.rfind(kLongUncPrefix, 0) == 0)
    return "\\\\" + resolved.substr(sizeof kLongUncPrefix - 1);
  if (resolved.rfind(kLongPathPrefix, 0) == 0) return resolved.substr(sizeof kLongPathPrefix - 1);
  return resolved;
}

#else

namespace {

// As the kernel allows: a longer chain of links is a loop.
constexpr int kMaxLinks = 40;

}  // namespace

// Followed link by link rather than with realpath, which needs the end of the chain to exist.
std::string finalPath(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path at = path;
  std::error_code error;
  for (int hops = 0; fs::is_symlink(fs::symlink_status(at, error)); ++hops) {
    if (hops == kMaxLinks)
      throw std::runtime_error("cannot write " + path + ": too many levels of symbolic links");
    const fs::path next = fs::read_symlink(at, error);
    if (error) throw std::runtime_error("cannot write " + path + ": " + error.message());
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return at.string();
}

#endif

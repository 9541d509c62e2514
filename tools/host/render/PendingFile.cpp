#include "PendingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "InterruptCleanup.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

// As the kernel allows: a longer chain of links is a loop.
constexpr int kMaxLinks = 40;

// The path a chain of symbolic links ends at (which need not exist yet).
std::string linkTarget(const std::string& path) {
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

// A FIFO, a device or a socket: something to write into, not to replace.
bool isSpecialFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

}  // namespace

PendingFile::PendingFile(const std::string& finalPath)
    : target(finalPath), resolved(linkTarget(finalPath)) {
  written = isSpecialFile(resolved) ? resolved : resolved + ".partial";
  if (!direct()) InterruptCleanup::remove(written.c_str());
}

PendingFile::~PendingFile() {
  if (direct() || committed) return;
  InterruptCleanup::forget();
  std::remove(written.c_str());
}

void PendingFile::commit() {
  if (direct()) {
    committed = true;
    return;
  }
#if defined(_WIN32)
  // The C library's rename refuses to replace an existing file on Windows.
  if (!MoveFileExA(written.c_str(), resolved.c_str(), MOVEFILE_REPLACE_EXISTING))
    throw std::runtime_error("cannot write " + target + " (error " +
                             std::to_string(GetLastError()) + ")");
#else
  if (std::rename(written.c_str(), resolved.c_str()) != 0)
    throw std::runtime_error("cannot write " + target + ": " + std::strerror(errno));
#endif
  InterruptCleanup::forget();
  committed = true;
}

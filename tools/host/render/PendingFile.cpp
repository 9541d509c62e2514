#include "PendingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "FileOperations.h"
#include "FinalPath.h"
#include "InterruptCleanup.h"

namespace fs = std::filesystem;

namespace {

// Temporary names tried beside an output before giving up (each taken by another file).
constexpr int kMaxTemporaryNames = 100;

// A FIFO, a device or a socket: something to write into, not to replace.
bool isSpecialFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

// A new file beside `path`, created here so that no file of the user's that happens to have the
// name is overwritten: path.partial, else path.partial-2 and so on.
std::string newTemporaryFile(const std::string& path) {
  for (int n = 1; n <= kMaxTemporaryNames; ++n) {
    std::string name = path + ".partial" + (n > 1 ? "-" + std::to_string(n) : "");
    if (createNewFile(name)) return name;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(name, error)))
      throw std::runtime_error("cannot write " + name + ": " + std::strerror(errno));
  }
  throw std::runtime_error("cannot write beside " + path + ": " +
                           std::to_string(kMaxTemporaryNames) + " temporary names are taken");
}

}  // namespace

PendingFile::PendingFile(const std::string& finalPath)
    : target(finalPath), resolved(::finalPath(finalPath)) {
  written = isSpecialFile(resolved) ? resolved : newTemporaryFile(resolved);
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
  const std::string error = replaceFile(written, resolved);
  if (!error.empty()) throw std::runtime_error("cannot write " + target + ": " + error);
  InterruptCleanup::forget();
  committed = true;
}

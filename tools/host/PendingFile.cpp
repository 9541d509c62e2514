#include "PendingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#endif

PendingFile::PendingFile(const std::string& finalPath)
    : target(finalPath), temporary(finalPath + ".partial") {}

PendingFile::~PendingFile() {
  if (!committed) std::remove(temporary.c_str());
}

void PendingFile::commit() {
#if defined(_WIN32)
  // The C library's rename refuses to replace an existing file on Windows.
  if (!MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
    throw std::runtime_error("cannot write " + target + " (error " +
                             std::to_string(GetLastError()) + ")");
#else
  if (std::rename(temporary.c_str(), target.c_str()) != 0)
    throw std::runtime_error("cannot write " + target + ": " + std::strerror(errno));
#endif
  committed = true;
}

#include "FileOperations.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

bool createNewFile(const std::string& path) {
#if defined(_WIN32)
  const int file = _open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IWRITE);
  return file >= 0 && _close(file) == 0;
#else
  const int file = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  return file >= 0 && close(file) == 0;
#endif
}

std::string replaceFile(const std::string& from, const std::string& to) {
#if defined(_WIN32)
  // The C library's rename refuses to replace an existing file on Windows.
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return "";
  return "error " + std::to_string(GetLastError());
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return "";
  return std::strerror(errno);
#endif
}

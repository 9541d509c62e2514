#include "RawSource.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

// Both builds run on little-endian machines, so samples are read in memory order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "raw data is little-endian");

RawSource::RawSource(const std::string& filePath, int sampleRateHz)
    : path(filePath), rateHz(sampleRateHz) {
  file = std::fopen(path.c_str(), "rb");
  if (file == nullptr)
    throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    // Seeking to the end tells the size of large files too on both platforms' C libraries.
#if defined(_WIN32)
  const bool sized = _fseeki64(file, 0, SEEK_END) == 0;
  const int64_t bytes = sized ? _ftelli64(file) : -1;
  _fseeki64(file, 0, SEEK_SET);
#else
  const bool sized = fseeko(file, 0, SEEK_END) == 0;
  const int64_t bytes = sized ? static_cast<int64_t>(ftello(file)) : -1;
  fseeko(file, 0, SEEK_SET);
#endif
  const int64_t frameBytes = 2 * static_cast<int64_t>(sizeof(float));
  if (bytes < 0) {
    std::fclose(file);
    throw std::runtime_error("cannot read " + path + ": not a regular file");
  }
  if (bytes % frameBytes != 0) {
    std::fclose(file);
    throw std::runtime_error(path + " is not raw 32-bit float stereo: its size (" +
                             std::to_string(bytes) + " bytes) is not a multiple of 8");
  }
  frameCount = bytes / frameBytes;
}

RawSource::~RawSource() { std::fclose(file); }

void RawSource::read(float* samples, int64_t count) {
  const size_t values = static_cast<size_t>(count) * 2;
  if (std::fread(samples, sizeof(float), values, file) != values)
    throw std::runtime_error("cannot read " + path + ": it ended early");
}

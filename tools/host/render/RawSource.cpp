#include "RawSource.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

// Both builds run on little-endian machines, so samples are read in memory order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "raw data is little-endian");

RawSource::RawSource(const std::string& filePath, int sampleRateHz)
    : path(filePath), rateHz(sampleRateHz) {
  file = std::fopen(path.c_str(), "rb");
  if (file == nullptr)
    throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  // The file system tells the size of large files too on both platforms, and no size for
  // what is not a regular file.
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  const int64_t bytes = error ? -1 : static_cast<int64_t>(size);
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

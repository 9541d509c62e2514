#include "RawSink.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

// Both builds run on little-endian machines, so samples are written in memory order.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "raw data is little-endian");

RawSink::RawSink(const std::string& path) : pending(path) {
  file = std::fopen(pending.writePath().c_str(), "wb");
  if (file == nullptr)
    throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

RawSink::~RawSink() {
  if (file != nullptr) std::fclose(file);
}

void RawSink::write(const float* samples, int64_t count) {
  const size_t values = static_cast<size_t>(count) * 2;
  if (std::fwrite(samples, sizeof(float), values, file) != values)
    throw std::runtime_error("cannot write " + pending.finalPath() + ": " + std::strerror(errno));
}

void RawSink::commit() {
  const bool closed = std::fclose(file) == 0;
  file = nullptr;
  if (!closed) throw std::runtime_error("cannot write " + pending.finalPath());
  pending.commit();
}

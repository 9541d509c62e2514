#include "WavSink.h"

#include <sndfile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

WavSink::WavSink(const std::string& path, int sampleRateHz) : pending(path) {
  // libsndfile's message for a folder that cannot be written is vaguer than the C library's.
  std::FILE* probe = std::fopen(pending.temporaryPath().c_str(), "wb");
  if (probe == nullptr)
    throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  std::fclose(probe);

  SF_INFO info{};
  info.samplerate = sampleRateHz;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  file = sf_open(pending.temporaryPath().c_str(), SFM_WRITE, &info);
  if (file == nullptr)
    throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
}

WavSink::~WavSink() {
  if (file != nullptr) sf_close(file);
}

void WavSink::write(const float* samples, int64_t count) {
  if (sf_writef_float(file, samples, count) != count)
    throw std::runtime_error("cannot write " + pending.finalPath() + ": " + sf_strerror(file));
}

void WavSink::commit() {
  const int status = sf_close(file);
  file = nullptr;
  if (status != 0)
    throw std::runtime_error("cannot write " + pending.finalPath() + ": " +
                             sf_error_number(status));
  pending.commit();
}

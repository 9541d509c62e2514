#include "WavSink.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

WavSink::WavSink(const std::string& path, int sampleRateHz) : pending(path) {
  // Asked before the open, which on a FIFO waits for a reader: a WAV header is rewritten at
  // the end, so its file must be able to seek.
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(pending.writePath(), error);
  if (std::filesystem::is_fifo(status) || std::filesystem::is_socket(status))
    throw std::runtime_error("cannot write a WAV file into " + path +
                             ": it cannot seek; write raw data into it with --raw");
  // Opened once, here: libsndfile's message for a folder that cannot be written is vaguer than
  // the C library's, and a FIFO opened twice would show its reader an end after the first.
  descriptor = open(pending.writePath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (descriptor < 0)
    throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));

  SF_INFO info{};
  info.samplerate = sampleRateHz;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  file = sf_open_fd(descriptor, SFM_WRITE, &info, SF_FALSE);
  if (file == nullptr) {
    close(descriptor);
    throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
  }
}

WavSink::~WavSink() {
  if (file != nullptr) sf_close(file);
  if (descriptor >= 0) close(descriptor);
}

void WavSink::write(const float* samples, int64_t count) {
  if (sf_writef_float(file, samples, count) != count)
    throw std::runtime_error("cannot write " + pending.finalPath() + ": " + sf_strerror(file));
}

void WavSink::commit() {
  const int status = sf_close(file);
  file = nullptr;
  const int closed = close(descriptor);
  descriptor = -1;
  if (closed != 0)
    throw std::runtime_error("cannot write " + pending.finalPath() + ": " + std::strerror(errno));
  if (status != 0)
    throw std::runtime_error("cannot write " + pending.finalPath() + ": " +
                             sf_error_number(status));
  pending.commit();
}

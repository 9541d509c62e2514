// Raw output: 32-bit float little-endian samples, interleaved stereo, no header.
#pragma once

#include <cstdio>
#include <string>

#include "AudioSink.h"
#include "PendingFile.h"

class RawSink : public AudioSink {
 public:
  // Creates the file under a temporary name; throws std::runtime_error when it cannot.
  explicit RawSink(const std::string& path);
  ~RawSink() override;
  RawSink(const RawSink&) = delete;
  RawSink& operator=(const RawSink&) = delete;

  void write(const float* samples, int64_t count) override;
  void commit() override;

 private:
  PendingFile pending;
  std::FILE* file = nullptr;
};

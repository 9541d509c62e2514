// Where the render command's result goes: a stereo file that appears under its name only once
// it is complete.
#pragma once

#include <cstdint>

class AudioSink {
 public:
  // A sink destroyed before commit() leaves nothing behind.
  virtual ~AudioSink() = default;

  // Appends `count` interleaved stereo frames; throws std::runtime_error on failure.
  virtual void write(const float* samples, int64_t count) = 0;
  // Completes the file and gives it its name; throws std::runtime_error on failure.
  virtual void commit() = 0;
};

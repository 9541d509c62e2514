// Where the render command's audio comes from: a file read block by block.
#pragma once

#include <cstdint>

class AudioSource {
 public:
  virtual ~AudioSource() = default;

  virtual int sampleRateHz() const = 0;
  virtual int channels() const = 0;  // 1 or 2
  virtual int64_t frames() const = 0;
  // The frames the file's header promises; more than frames() when the file was cut short.
  virtual int64_t statedFrames() const { return frames(); }
  // Reads the next `count` frames, interleaved, into `samples` (count × channels() floats);
  // throws std::runtime_error when the file ends early or cannot be read.
  virtual void read(float* samples, int64_t count) = 0;
};

// The host's WAV reader with arbitrary files: it either refuses the file with an error or reads
// the frames the file claims, in blocks, until it ends or reports an early end.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "WavSource.h"

namespace {

// In memory where the system offers it: rewriting a file on disk thousands of times a second
// waits for the disk.
std::string scratchFile() {
  for (std::string path : {"/dev/shm/ferrowin-wav-fuzz-XXXXXX", "/tmp/ferrowin-wav-fuzz-XXXXXX"}) {
    const int file = mkstemp(&path[0]);
    if (file < 0) continue;
    close(file);
    return path;
  }
  return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = scratchFile();
  static const bool removedAtExit = std::atexit([] { std::remove(path.c_str()); }) == 0;
  (void)removedAtExit;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  try {
    WavSource source(path);
    constexpr int64_t kBlockFrames = 4096;
    constexpr int64_t kMostFrames = 1 << 20;
    std::vector<float> samples(kBlockFrames * source.channels());
    for (int64_t done = 0; done < source.frames() && done < kMostFrames; done += kBlockFrames)
      source.read(samples.data(), std::min(kBlockFrames, source.frames() - done));
  } catch (const std::runtime_error&) {
    // A refusal with a message is the right answer to a bad file.
  }
  return 0;
}

#include "WavSource.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

// libsndfile's own name of a container or sample encoding, e.g. "AIFF (Apple/SGI)" or
// "Unsigned 8 bit PCM": its tables are looked up by position, so search them.
std::string formatName(int format, int countCommand, int entryCommand) {
  int count = 0;
  sf_command(nullptr, countCommand, &count, sizeof count);
  for (int i = 0; i < count; ++i) {
    SF_FORMAT_INFO info{};
    info.format = i;
    if (sf_command(nullptr, entryCommand, &info, sizeof info) == 0 && info.format == format &&
        info.name != nullptr)
      return info.name;
  }
  return "format " + std::to_string(format);
}

// The size of the data chunk as the header states it, or -1 when there is none. libsndfile
// quietly shortens a chunk that runs past the end of the file, so the header is read here.
int64_t statedDataBytes(std::FILE* file) {
  unsigned char riff[12];
  if (std::fread(riff, 1, sizeof riff, file) != sizeof riff || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0)
    return -1;
  unsigned char chunk[8];
  while (std::fread(chunk, 1, sizeof chunk, file) == sizeof chunk) {
    const uint32_t size = chunk[4] | chunk[5] << 8 | chunk[6] << 16 | uint32_t{chunk[7]} << 24;
    // All ones: written to a stream whose length was not known.
    if (std::memcmp(chunk, "data", 4) == 0) return size == 0xFFFFFFFFu ? -1 : size;
    // Chunks are padded to an even size.
    if (std::fseek(file, static_cast<long>(size) + (size & 1), SEEK_CUR) != 0) return -1;
  }
  return -1;
}

// The header's data size read through a second descriptor of the same open file, which is
// then rewound; -1 when it cannot seek (a pipe is read once, by libsndfile alone).
int64_t statedDataBytes(int descriptor) {
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  const int copy = dup(descriptor);
  std::FILE* probe = copy < 0 ? nullptr : fdopen(copy, "rb");
  if (probe == nullptr) {
    if (copy >= 0) close(copy);
    return -1;
  }
  const int64_t bytes = statedDataBytes(probe);
  std::fclose(probe);
  lseek(descriptor, 0, SEEK_SET);
  return bytes;
}

}  // namespace

WavSource::WavSource(const std::string& filePath) : path(filePath) {
  // Opened once, here: libsndfile's message for a missing file is vaguer than the C library's,
  // and a second open of a pipe would start after what the first one read.
  descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  const int64_t dataBytes = statedDataBytes(descriptor);

  SF_INFO info{};
  file = sf_open_fd(descriptor, SFM_READ, &info, SF_FALSE);
  if (file == nullptr) {
    close(descriptor);
    throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
  }

  std::string problem;
  const int container = info.format & SF_FORMAT_TYPEMASK;
  const int encoding = info.format & SF_FORMAT_SUBMASK;
  if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX) {
    problem = "it is " + formatName(container, SFC_GET_FORMAT_MAJOR_COUNT, SFC_GET_FORMAT_MAJOR) +
              ", not WAV";
  } else if (encoding != SF_FORMAT_PCM_16 && encoding != SF_FORMAT_PCM_24 &&
             encoding != SF_FORMAT_FLOAT) {
    problem = "its samples are " +
              formatName(encoding, SFC_GET_FORMAT_SUBTYPE_COUNT, SFC_GET_FORMAT_SUBTYPE) +
              "; supported are 16- or 24-bit PCM and 32-bit float";
  } else if (info.channels < 1 || info.channels > 2) {
    problem =
        "it has " + std::to_string(info.channels) + " channels; supported are mono and stereo";
  }
  if (!problem.empty()) {
    sf_close(file);
    close(descriptor);
    throw std::runtime_error("unsupported format of " + path + ": " + problem);
  }
  rateHz = info.samplerate;
  channelCount = info.channels;
  frameCount = info.frames;
  // One or two channels of 2, 3 or 4 bytes, as checked above.
  const int64_t sampleBytes = encoding == SF_FORMAT_PCM_16   ? 2
                              : encoding == SF_FORMAT_PCM_24 ? 3
                                                             : 4;
  const int64_t frameBytes = sampleBytes * (channelCount == 2 ? 2 : 1);
  stated = dataBytes < 0 ? frameCount : dataBytes / frameBytes;
}

WavSource::~WavSource() {
  sf_close(file);
  close(descriptor);
}

void WavSource::read(float* samples, int64_t count) {
  if (sf_readf_float(file, samples, count) != count)
    throw std::runtime_error("cannot read " + path + ": it ended early");
}

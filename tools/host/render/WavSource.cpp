#include "WavSource.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// The data chunk's size as the header states it, and where that size is written; found by
// reading the header, as libsndfile quietly shortens a chunk that runs past the end of the file.
struct DataChunk {
  int64_t sizeOffset = -1;  // -1: no data chunk found
  uint32_t size = 0;
  int64_t dataOffset() const { return sizeOffset + 4; }
  // 0 and all ones: written to a stream whose length was not known when the header was.
  bool lengthUnknown() const { return sizeOffset >= 0 && (size == 0 || size == 0xFFFFFFFFu); }
};

DataChunk findDataChunk(std::FILE* file) {
  unsigned char riff[12];
  if (std::fread(riff, 1, sizeof riff, file) != sizeof riff || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0)
    return {};
  unsigned char chunk[8];
  while (std::fread(chunk, 1, sizeof chunk, file) == sizeof chunk) {
    const uint32_t size = chunk[4] | chunk[5] << 8 | chunk[6] << 16 | uint32_t{chunk[7]} << 24;
    if (std::memcmp(chunk, "data", 4) == 0) return {std::ftell(file) - 4, size};
    // Chunks are padded to an even size.
    if (std::fseek(file, static_cast<long>(size) + (size & 1), SEEK_CUR) != 0) return {};
  }
  return {};
}

// The data chunk of the file open as `descriptor`, read through a second descriptor of the
// same open file, which is then rewound.
DataChunk findDataChunk(int descriptor) {
  const int copy = dup(descriptor);
  std::FILE* probe = copy < 0 ? nullptr : fdopen(copy, "rb");
  if (probe == nullptr) {
    if (copy >= 0) close(copy);
    return {};
  }
  const DataChunk chunk = findDataChunk(probe);
  std::fclose(probe);
  lseek(descriptor, 0, SEEK_SET);
  return chunk;
}

bool isRegularFile(int descriptor) {
  struct stat status {};
  return fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

void writeLittleEndian(int descriptor, int64_t offset, uint32_t value) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
      static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  if (pwrite(descriptor, bytes, sizeof bytes, offset) != static_cast<ssize_t>(sizeof bytes))
    throw std::runtime_error(std::string("cannot write a temporary file: ") + std::strerror(errno));
}

// What the sizes of a WAV header can state: all ones is the mark of an unknown length.
constexpr int64_t kMaxWavBytes = 0xFFFFFFFE;
// The start of a file that is no WAV file, for the reader's message naming what it is.
constexpr int64_t kFormatProbeBytes = 1 << 16;

// Copies `count` bytes from `from` to `to`, fewer when the stream ends first, and keeps them in
// `keep` when given; the bytes copied.
int64_t copyBytes(int from, int to, int64_t count, unsigned char* keep, const std::string& path) {
  char buffer[1 << 16];
  int64_t copied = 0;
  while (copied < count) {
    const auto wanted = static_cast<size_t>(std::min<int64_t>(sizeof buffer, count - copied));
    const ssize_t got = read(from, buffer, wanted);
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 || write(to, buffer, static_cast<size_t>(got)) != got)
      throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
    if (keep != nullptr) std::memcpy(keep + copied, buffer, static_cast<size_t>(got));
    copied += got;
  }
  return copied;
}

// Copies a WAV stream up to the end of its data: as far as the header states when it does, so
// that a writer that keeps its end of a pipe open is not waited for, else to the stream's end,
// but never past what a WAV file can hold (a device such as /dev/zero never ends). Of anything
// else, the start is copied, enough for the reader to name the format.
void copyWavStream(int from, int to, const std::string& path) {
  unsigned char riff[12];
  if (copyBytes(from, to, sizeof riff, riff, path) != sizeof riff ||
      std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
    copyBytes(from, to, kFormatProbeBytes, nullptr, path);
    return;
  }
  unsigned char header[8];
  while (copyBytes(from, to, sizeof header, header, path) == sizeof header) {
    const DataChunk chunk{0, static_cast<uint32_t>(header[4] | header[5] << 8 | header[6] << 16 |
                                                   uint32_t{header[7]} << 24)};
    if (std::memcmp(header, "data", 4) == 0) {
      if (!chunk.lengthUnknown()) {
        copyBytes(from, to, chunk.size, nullptr, path);
      } else if (copyBytes(from, to, kMaxWavBytes, nullptr, path) == kMaxWavBytes) {
        throw std::runtime_error("cannot read " + path +
                                 ": its data runs on past what a WAV file can hold (4 GB)");
      }
      return;
    }
    const int64_t padded = int64_t{chunk.size} + (chunk.size & 1);
    if (copyBytes(from, to, padded, nullptr, path) != padded) return;
  }
}

// A temporary file, already unlinked, holding the WAV stream that `from` gives.
int spool(int from, const std::string& path) {
  std::FILE* copy = std::tmpfile();
  if (copy == nullptr)
    throw std::runtime_error("cannot read " + path +
                             ": no temporary file for it: " + std::strerror(errno));
  const int to = dup(fileno(copy));
  std::fclose(copy);
  if (to < 0) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
  try {
    copyWavStream(from, to, path);
  } catch (...) {
    close(to);
    throw;
  }
  lseek(to, 0, SEEK_SET);
  return to;
}

// Sets the RIFF and data sizes of the spooled copy to the bytes that arrived, so that the
// reader neither stops at a stated 0 nor runs on towards a stated 4 GB.
void stateLength(int descriptor, const DataChunk& chunk, const std::string& path) {
  const int64_t end = lseek(descriptor, 0, SEEK_END);
  lseek(descriptor, 0, SEEK_SET);
  const int64_t dataBytes = end - chunk.dataOffset();
  if (end - 8 > kMaxWavBytes)
    throw std::runtime_error("cannot read " + path + ": its data, " + std::to_string(dataBytes) +
                             " bytes, is more than a WAV file can hold");
  writeLittleEndian(descriptor, 4, static_cast<uint32_t>(end - 8));
  writeLittleEndian(descriptor, chunk.sizeOffset, static_cast<uint32_t>(dataBytes));
}

}  // namespace

WavSource::WavSource(const std::string& filePath) : path(filePath) {
  // Opened once, here: libsndfile's message for a missing file is vaguer than the C library's,
  // and a second open of a pipe would start after what the first one read.
  descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  // A pipe, or a file whose header does not state the data's length, is copied first, up to the
  // end of its data: then the length is known and the reader can seek.
  DataChunk chunk = isRegularFile(descriptor) ? findDataChunk(descriptor) : DataChunk{};
  if (!isRegularFile(descriptor) || chunk.lengthUnknown()) {
    try {
      const int copy = spool(descriptor, path);
      close(descriptor);
      descriptor = copy;
      chunk = findDataChunk(descriptor);
      if (chunk.lengthUnknown()) stateLength(descriptor, chunk, path);
    } catch (...) {
      close(descriptor);
      throw;
    }
  }
  const int64_t dataBytes =
      chunk.sizeOffset < 0 || chunk.lengthUnknown() ? int64_t{-1} : int64_t{chunk.size};

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

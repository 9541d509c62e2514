#include "MmioWavSource.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

constexpr WORD kPcm = 1;
constexpr WORD kFloat = 3;
constexpr WORD kExtensible = 0xFFFE;
// WAVEFORMATEXTENSIBLE: the sub-format's tag is the first two bytes of its GUID.
constexpr DWORD kExtensibleBytes = 40;
constexpr DWORD kSubFormatOffset = 24;

WORD word(const unsigned char* at) { return static_cast<WORD>(at[0] | at[1] << 8); }
DWORD doubleWord(const unsigned char* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<DWORD>(at[3]) << 24;
}

}  // namespace

MmioWavSource::MmioWavSource(const std::string& filePath) : path(filePath) {
  // The C library names the reason a file cannot be opened; mmio gives only a number.
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (probe == nullptr)
    throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  std::fclose(probe);
  file = mmioOpenA(&path[0], nullptr, MMIO_READ | MMIO_ALLOCBUF);
  if (file == nullptr) throw std::runtime_error("cannot open " + path);
  readFormat();
}

MmioWavSource::~MmioWavSource() {
  if (file != nullptr) mmioClose(file, 0);
}

void MmioWavSource::fail(const std::string& message) {
  mmioClose(file, 0);
  file = nullptr;
  throw std::runtime_error(message);
}

void MmioWavSource::readFormat() {
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
    fail("cannot read " + path + ": it is not a WAV file");
  // A RIFF size of 0 or all ones, as a writer to a stream leaves it, bounds no search: the
  // chunks are then looked for up to the end of the file.
  MMCKINFO* within = riff.cksize == 0 || riff.cksize == 0xFFFFFFFFu ? nullptr : &riff;
  MMCKINFO format{};
  format.ckid = mmioFOURCC('f', 'm', 't', ' ');
  unsigned char header[kExtensibleBytes] = {};
  if (mmioDescend(file, &format, within, MMIO_FINDCHUNK) != MMSYSERR_NOERROR || format.cksize < 16)
    fail("cannot read " + path + ": it has no format chunk");
  const LONG wanted = static_cast<LONG>(std::min<DWORD>(format.cksize, kExtensibleBytes));
  if (mmioRead(file, reinterpret_cast<HPSTR>(header), wanted) != wanted)
    fail("cannot read " + path + ": its format chunk ended early");
  mmioAscend(file, &format, 0);

  WORD tag = word(header);
  if (tag == kExtensible) {
    if (format.cksize < kExtensibleBytes)
      fail("cannot read " + path + ": its extensible format chunk is too short");
    tag = word(header + kSubFormatOffset);
  }
  channelCount = word(header + 2);
  rateHz = static_cast<int>(std::min<DWORD>(doubleWord(header + 4), INT32_MAX));
  const int bits = word(header + 14);
  floating = tag == kFloat;
  sampleBytes = bits / 8;
  std::string problem;
  if (!((tag == kPcm && (bits == 16 || bits == 24)) || (tag == kFloat && bits == 32))) {
    problem = "its samples are " + std::to_string(bits) + "-bit " +
              (tag == kPcm     ? std::string("PCM")
               : tag == kFloat ? std::string("float")
                               : "of format " + std::to_string(tag)) +
              "; supported are 16- or 24-bit PCM and 32-bit float";
  } else if (channelCount < 1 || channelCount > 2) {
    problem = "it has " + std::to_string(channelCount) + " channels; supported are mono and stereo";
  }
  if (!problem.empty()) fail("unsupported format of " + path + ": " + problem);

  MMCKINFO data{};
  data.ckid = mmioFOURCC('d', 'a', 't', 'a');
  if (mmioDescend(file, &data, within, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
    fail("cannot read " + path + ": it has no data chunk");
  // What is really there may be less than the chunk's size when the file was cut short.
  const LONG end = mmioSeek(file, 0, SEEK_END);
  mmioSeek(file, static_cast<LONG>(data.dwDataOffset), SEEK_SET);
  const int64_t present = end < 0 ? 0 : end - static_cast<int64_t>(data.dwDataOffset);
  const int64_t frameBytes = static_cast<int64_t>(channelCount) * sampleBytes;
  // 0 and all ones: written to a stream whose length was not known when the header was.
  const bool lengthUnknown = data.cksize == 0 || data.cksize == 0xFFFFFFFFu;
  const int64_t dataBytes = lengthUnknown ? present : data.cksize;
  stated = dataBytes / frameBytes;
  frameCount = std::min<int64_t>(dataBytes, present) / frameBytes;
}

void MmioWavSource::read(float* samples, int64_t count) {
  const size_t values = static_cast<size_t>(count) * channelCount;
  bytes.resize(values * sampleBytes);
  const LONG wanted = static_cast<LONG>(bytes.size());
  if (mmioRead(file, reinterpret_cast<HPSTR>(bytes.data()), wanted) != wanted)
    throw std::runtime_error("cannot read " + path + ": it ended early");
  const unsigned char* at = bytes.data();
  for (size_t i = 0; i < values; ++i, at += sampleBytes) {
    if (floating) {
      std::memcpy(&samples[i], at, sizeof(float));
    } else if (sampleBytes == 2) {
      samples[i] = static_cast<float>(static_cast<int16_t>(word(at))) / 32768.0f;
    } else {
      // The 24 bits go to the top of 32, so the shift back extends the sign.
      const auto top = static_cast<int32_t>(static_cast<uint32_t>(at[0]) << 8 |
                                            static_cast<uint32_t>(at[1]) << 16 |
                                            static_cast<uint32_t>(at[2]) << 24);
      samples[i] = static_cast<float>(top >> 8) / 8388608.0f;
    }
  }
}

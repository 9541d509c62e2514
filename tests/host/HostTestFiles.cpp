#include "HostTestFiles.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#if defined(FERROWIN_HOST_SNDFILE)
#include <sndfile.h>
#endif
#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {
int processId() {
#if defined(_WIN32)
  return static_cast<int>(GetCurrentProcessId());
#else
  return static_cast<int>(getpid());
#endif
}
}  // namespace

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  const fs::path folder =
      fs::temp_directory_path() /
      ("ferrowin-host-test-" + std::to_string(processId()) + "-" + std::to_string(counter++));
  fs::remove_all(folder);
  fs::create_directories(folder);
  root = folder.string();
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

std::string ScratchFolder::path(const std::string& name) const {
  return (fs::path(root) / name).string();
}

bool ScratchFolder::exists(const std::string& name) const { return fs::exists(path(name)); }

std::vector<std::string> ScratchFolder::files() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void writeRaw(const std::string& path, const std::vector<float>& samples) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  std::fwrite(samples.data(), sizeof(float), samples.size(), file);
  std::fclose(file);
}

std::vector<float> readRaw(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw std::runtime_error("cannot open " + path);
  std::vector<float> samples;
  float value = 0.0f;
  while (std::fread(&value, sizeof value, 1, file) == 1) samples.push_back(value);
  std::fclose(file);
  return samples;
}

#if defined(FERROWIN_HOST_SNDFILE)
void writeWav(const std::string& path, int format, int channels, int rateHz,
              const std::vector<float>& samples) {
  SF_INFO info{};
  info.samplerate = rateHz;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
  sf_close(file);
}

std::vector<float> readWav(const std::string& path, int* channels, int* format) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) throw std::runtime_error("cannot open " + path);
  std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
  sf_readf_float(file, samples.data(), info.frames);
  sf_close(file);
  if (channels) *channels = info.channels;
  if (format) *format = info.format;
  return samples;
}
#endif

namespace {

void putLittleEndian(std::string& bytes, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
}

uint32_t getLittleEndian(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes.at(at + i))) << (8 * i);
  return value;
}

}  // namespace

void writeWavBytes(const std::string& path, const WavLayout& layout,
                   const std::vector<float>& samples, long statedFrames) {
  const int sampleBytes = layout.bits / 8;
  std::string data;
  for (float x : samples) {
    if (layout.formatTag == 3) {
      uint32_t bits = 0;
      std::memcpy(&bits, &x, sizeof bits);
      putLittleEndian(data, bits, 4);
    } else {
      const double scale = std::ldexp(1.0, layout.bits - 1);
      const double step = std::min(std::max(std::round(x * scale), -scale), scale - 1);
      putLittleEndian(data, static_cast<uint32_t>(static_cast<int32_t>(step)), sampleBytes);
    }
  }
  const uint32_t frameBytes = static_cast<uint32_t>(layout.channels * sampleBytes);
  const uint32_t dataBytes = statedFrames == kStreamedFrames ? 0xFFFFFFFFu
                             : statedFrames < 0              ? static_cast<uint32_t>(data.size())
                                                             : frameBytes * statedFrames;
  std::string format;
  putLittleEndian(format, layout.extensible ? 0xFFFE : layout.formatTag, 2);
  putLittleEndian(format, layout.channels, 2);
  putLittleEndian(format, layout.rateHz, 4);
  putLittleEndian(format, layout.rateHz * frameBytes, 4);
  putLittleEndian(format, frameBytes, 2);
  putLittleEndian(format, layout.bits, 2);
  if (layout.extensible) {
    putLittleEndian(format, 22, 2);  // extra bytes
    putLittleEndian(format, layout.bits, 2);
    putLittleEndian(format, layout.channels == 1 ? 0x4 : 0x3, 4);  // speaker positions
    // The sub-format GUID: the format tag, then the fixed tail of the audio sub-types.
    putLittleEndian(format, layout.formatTag, 4);
    format += std::string("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
  }
  std::string file = "RIFF";
  putLittleEndian(
      file, statedFrames == kStreamedFrames ? 0xFFFFFFFFu : 4 + 8 + format.size() + 8 + dataBytes,
      4);
  file += "WAVEfmt ";
  putLittleEndian(file, format.size(), 4);
  file += format + "data";
  putLittleEndian(file, dataBytes, 4);
  file += data;
  std::ofstream(path, std::ios::binary) << file;
}

std::vector<float> readFloatWav(const std::string& path, int* channels, int* rateHz) {
  std::ifstream stream(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(stream), {}};
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0 ||
      getLittleEndian(bytes, 4, 4) != bytes.size() - 8)
    throw std::runtime_error(path + ": not a whole RIFF WAVE file");
  std::vector<float> samples;
  bool floating = false;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const uint32_t size = getLittleEndian(bytes, at + 4, 4);
    if (id == "fmt ") {
      floating = getLittleEndian(bytes, at + 8, 2) == 3 && getLittleEndian(bytes, at + 22, 2) == 32;
      if (channels) *channels = static_cast<int>(getLittleEndian(bytes, at + 10, 2));
      if (rateHz) *rateHz = static_cast<int>(getLittleEndian(bytes, at + 12, 4));
    } else if (id == "data") {
      if (!floating || at + 8 + size > bytes.size())
        throw std::runtime_error(path + ": not whole 32-bit float data");
      samples.resize(size / sizeof(float));
      std::memcpy(samples.data(), bytes.data() + at + 8, samples.size() * sizeof(float));
      return samples;
    }
    at += 8 + size + (size & 1);
  }
  throw std::runtime_error(path + ": no data chunk");
}

std::string builtFile(const std::string& path) {
#if defined(_WIN32)
  char own[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
  return (fs::path(std::string(own, length)).parent_path() / path).string();
#else
  return path;
#endif
}

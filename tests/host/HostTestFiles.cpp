#include "HostTestFiles.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
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

std::string builtFile(const std::string& path) {
#if defined(_WIN32)
  char own[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
  return (fs::path(std::string(own, length)).parent_path() / path).string();
#else
  return path;
#endif
}

// Files for the host's tests: a fresh folder per test, raw float and (natively) WAV files
// written and read back, and the paths of the programs under test.
#pragma once

#include <string>
#include <vector>

// A new empty folder, removed with its contents on destruction.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string path(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Names of the files inside, sorted.
  std::vector<std::string> files() const;

 private:
  std::string root;
};

// Interleaved float samples.
void writeRaw(const std::string& path, const std::vector<float>& samples);
std::vector<float> readRaw(const std::string& path);

#if defined(FERROWIN_HOST_SNDFILE)
// `format` is a libsndfile subtype (SF_FORMAT_PCM_16, ...) of a WAV file.
void writeWav(const std::string& path, int format, int channels, int rateHz,
              const std::vector<float>& samples);
// The samples as floats, and the file's channel count and subtype.
std::vector<float> readWav(const std::string& path, int* channels = nullptr, int* format = nullptr);
#endif

// A WAV file written byte by byte, as any program may write one, so that both builds' readers
// are tested on the same files. PCM samples are rounded to the nearest step of full scale
// 2^(bits-1); give multiples of that step to have them read back exactly.
struct WavLayout {
  int formatTag = 1;  // 1 PCM, 3 float
  int bits = 16;
  int channels = 2;
  int rateHz = 44100;
  bool extensible = false;  // the format in a WAVE_FORMAT_EXTENSIBLE chunk
};
// `statedFrames` larger than the samples makes a file cut short after its header was written;
// 0 or kStreamedFrames (the sizes all ones) make a header written before the length was known.
constexpr long kStreamedFrames = -2;
void writeWavBytes(const std::string& path, const WavLayout& layout,
                   const std::vector<float>& samples, long statedFrames = -1);
// A 32-bit float WAV file: its samples, channels and rate; throws when it is anything else.
std::vector<float> readFloatWav(const std::string& path, int* channels = nullptr,
                                int* rateHz = nullptr);

// A file given by the build as a path: as it is natively, beside the test program on Windows.
std::string builtFile(const std::string& path);

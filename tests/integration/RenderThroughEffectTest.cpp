// The render command through the real plug-in, with raw data (available in both builds): the
// whole input comes back as finite stereo output of the same length, with notes and settings.
// What the effect does to the sound is checked elsewhere.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "RenderCommand.h"

#if defined(_WIN32)
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

TEST(RenderThroughEffect, EveryFrameComesBackFinite) {
  // Named after the process, as other builds may run the same test at the same time.
  const fs::path folder =
      fs::temp_directory_path() / ("ferrowin-render-through-effect-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string input = (folder / "in.f32").string();
  const std::string output = (folder / "out.f32").string();
  const int rateHz = 44100;
  const int frames = rateHz / 2 + 77;  // not a whole number of blocks
  std::vector<float> samples(2 * frames);
  for (int i = 0; i < frames; ++i) {
    samples[2 * i] = static_cast<float>(0.5 * std::sin(0.05 * i));
    samples[2 * i + 1] = static_cast<float>(0.5 * std::sin(0.031 * i));
  }
  std::FILE* file = std::fopen(input.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(samples.data(), sizeof(float), samples.size(), file);
  std::fclose(file);

  RenderOptions options;
  options.pluginPath = FERROWIN_PLUGIN_PATH;
  options.inputPath = input;
  options.outputPath = output;
  options.raw = true;
  options.rawRateHz = rateHz;
  options.blockFrames = 300;
  options.notes = {"0.1:0.4:60:100", "0.2:0.3:72:64"};
  options.printPeak = true;
  std::ostringstream summary;
  runRender(options, summary);
  EXPECT_EQ(summary.str().rfind("frames: " + std::to_string(frames) + ", peak: ", 0), 0u)
      << summary.str();

  std::vector<float> rendered(samples.size() + 1);
  file = std::fopen(output.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  const size_t count = std::fread(rendered.data(), sizeof(float), rendered.size(), file);
  std::fclose(file);
  EXPECT_EQ(count, samples.size());
  for (size_t i = 0; i < count; ++i) ASSERT_TRUE(std::isfinite(rendered[i])) << "sample " << i;
  fs::remove_all(folder);
}

}  // namespace

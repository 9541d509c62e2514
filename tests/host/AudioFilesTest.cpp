// The render command's files: raw float data everywhere, WAV through libsndfile natively, and
// outputs that appear under their name only when complete. Refusals of missing and odd-sized
// raw files are checked through the program in HostCliTest.
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostTestFiles.h"
#include "RawSink.h"
#include "RawSource.h"
#if defined(FERROWIN_HOST_SNDFILE)
#include <sndfile.h>

#include "WavSink.h"
#include "WavSource.h"
#endif

namespace {

template <typename Open>
std::string openError(Open open) {
  try {
    open();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

// Raw data is read and written in blocks; an output appears under its name only when
// committed, replacing what was there, and an abandoned one leaves the old file alone.
TEST(AudioFiles, RawDataRoundTripsAndOutputsAppearOnlyWhenCommitted) {
  ScratchFolder folder;
  const std::vector<float> samples = {0.5f, -0.25f, 1.5f, -2.0f, 0.125f, 3.0f};
  writeRaw(folder.path("in.f32"), samples);
  RawSource source(folder.path("in.f32"), 48000);
  EXPECT_EQ(source.frames(), 3);
  EXPECT_EQ(source.channels(), 2);
  std::vector<float> read(6);
  source.read(read.data(), 2);
  source.read(read.data() + 4, 1);
  EXPECT_EQ(read, samples);
  EXPECT_NE(openError([&] { source.read(read.data(), 1); }).find("ended early"), std::string::npos);

  writeRaw(folder.path("out.f32"), {9.0f, 9.0f});
  {
    RawSink abandoned(folder.path("out.f32"));
    abandoned.write(samples.data(), 1);
  }
  EXPECT_EQ(readRaw(folder.path("out.f32")), (std::vector<float>{9.0f, 9.0f}));
  EXPECT_EQ(folder.files(), (std::vector<std::string>{"in.f32", "out.f32"}));
  {
    RawSink sink(folder.path("out.f32"));
    sink.write(samples.data(), 1);
    sink.write(samples.data() + 2, 2);
    EXPECT_EQ(readRaw(folder.path("out.f32")), (std::vector<float>{9.0f, 9.0f}));
    sink.commit();
  }
  EXPECT_EQ(readRaw(folder.path("out.f32")), samples);
  EXPECT_EQ(folder.files(), (std::vector<std::string>{"in.f32", "out.f32"}));
}

#if defined(FERROWIN_HOST_SNDFILE)
TEST(AudioFiles, WavPcmIsScaledToFullScaleOne) {
  ScratchFolder folder;
  // Written as left-justified 32-bit integers, so that both PCM widths hold them exactly:
  // half scale, minus a quarter, negative full scale and 1024 steps of 16-bit PCM.
  const int pcm[] = {0x40000000, -0x20000000, INT32_MIN, 1024 << 16};
  const std::vector<float> expected = {0.5f, -0.25f, -1.0f, 1024.0f / 32768.0f};
  for (int format : {SF_FORMAT_PCM_16, SF_FORMAT_PCM_24, SF_FORMAT_FLOAT}) {
    SF_INFO info{0, 22050, 1, SF_FORMAT_WAV | format, 0, 0};
    SNDFILE* file = sf_open(folder.path("in.wav").c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    if (format == SF_FORMAT_FLOAT)
      sf_writef_float(file, expected.data(), 4);
    else
      sf_writef_int(file, pcm, 4);
    sf_close(file);

    WavSource source(folder.path("in.wav"));
    EXPECT_EQ(source.channels(), 1);
    EXPECT_EQ(source.sampleRateHz(), 22050);
    ASSERT_EQ(source.frames(), 4);
    std::vector<float> read(4);
    source.read(read.data(), 4);
    EXPECT_EQ(read, expected) << "format " << format;
  }
}

TEST(AudioFiles, UnsupportedWavFormatsAreNamed) {
  ScratchFolder folder;
  const std::vector<float> samples(6, 0.25f);
  writeWav(folder.path("u8.wav"), SF_FORMAT_PCM_U8, 1, 44100, samples);
  writeWav(folder.path("three.wav"), SF_FORMAT_PCM_16, 3, 44100, samples);
  SF_INFO info{0, 44100, 1, SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 0, 0};
  SNDFILE* aiff = sf_open(folder.path("x.aiff").c_str(), SFM_WRITE, &info);
  sf_writef_float(aiff, samples.data(), 6);
  sf_close(aiff);
  writeRaw(folder.path("noise.wav"), samples);
  const std::string unsupported = "unsupported format of ";
  const struct {
    std::string name, message;
  } cases[] = {{"u8.wav", unsupported + folder.path("u8.wav") +
                              ": its samples are Unsigned 8 bit PCM; supported are 16- or 24-bit "
                              "PCM and 32-bit float"},
               {"three.wav", "it has 3 channels; supported are mono and stereo"},
               {"x.aiff", "it is AIFF (Apple/SGI), not WAV"},
               {"noise.wav", "cannot read " + folder.path("noise.wav") + ": "}};
  for (const auto& c : cases) {
    EXPECT_NE(openError([&] { WavSource source(folder.path(c.name)); }).find(c.message),
              std::string::npos)
        << c.name;
  }
}
#endif

}  // namespace

// The render command in this process, through the gain test plug-in: output = gain × input
// for every input format and block size, MIDI events in the right block at the right offset,
// and the host's call sequence.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "GainTestPluginLog.h"
#include "HostTestFiles.h"
#include "PluginLibrary.h"
#include "RenderCommand.h"

namespace {

// Gains 2 × value: 0.5 is exact in binary, so every product is reproduced exactly.
constexpr float kLeftValue = 0.25f;
constexpr float kRightValue = 0.75f;
constexpr int kFrames = 2205;
constexpr int kBlockSizes[] = {1, 64, 512, 1000, 4096};  // 1000 and 4096 do not divide 2205

// A deterministic test signal with both signs and many values, `channels` interleaved.
std::vector<float> testSignal(int frames, int channels) {
  std::vector<float> samples(static_cast<size_t>(frames * channels));
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      samples[static_cast<size_t>(i * channels + c)] =
          static_cast<float>(0.9 * std::sin(0.037 * i * (c + 1) + c));
  return samples;
}

// What the plug-in must produce: each input channel (mono feeds both) times its gain.
std::vector<float> expectedOutput(const std::vector<float>& input, int channels) {
  const float gains[2] = {2.0f * kLeftValue, 2.0f * kRightValue};
  const size_t frames = input.size() / static_cast<size_t>(channels);
  std::vector<float> out(2 * frames);
  for (size_t i = 0; i < frames; ++i)
    for (size_t c = 0; c < 2; ++c)
      out[2 * i + c] = gains[c] * input[i * channels + (channels == 2 ? c : 0)];
  return out;
}

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library.load(builtFile(GAIN_TEST_PLUGIN_PATH))) << library.error();
    auto logOf = reinterpret_cast<GainTestPluginLogProc>(library.symbol("gainTestPluginLog"));
    ASSERT_NE(logOf, nullptr);
    log = logOf();
  }

  // Renders a file of the folder with both gains set (raw data when rawRateHz is given) and
  // returns the summary line.
  std::string render(const std::string& input, const std::string& output, int rawRateHz,
                     int blockFrames, std::vector<std::string> notes = {}) {
    RenderOptions o;
    o.pluginPath = builtFile(GAIN_TEST_PLUGIN_PATH);
    o.inputPath = folder.path(input);
    o.outputPath = folder.path(output);
    o.raw = rawRateHz > 0;
    o.rawRateHz = rawRateHz;
    o.blockFrames = blockFrames;
    o.notes = std::move(notes);
    o.settings = {"LeftGain=" + std::to_string(kLeftValue),
                  "RightGain=" + std::to_string(kRightValue)};
    o.printPeak = true;
    std::ostringstream summary;
    runRender(o, summary);
    return summary.str();
  }

  std::vector<GainTestPluginLog::Call> calls() const {
    return {log->calls, log->calls + std::min(log->callCount, GainTestPluginLog::kMaxCalls)};
  }

  PluginLibrary library;  // the same library the command loads, so its log is shared
  const GainTestPluginLog* log = nullptr;
  ScratchFolder folder;
};

TEST_F(RenderCommand, RawOutputIsGainTimesInputForEveryBlockSize) {
  const std::vector<float> input = testSignal(kFrames, 2);
  writeRaw(folder.path("in.f32"), input);
  for (int block : kBlockSizes) {
    const std::string summary = render("in.f32", "out.f32", 48000, block);
    EXPECT_EQ(readRaw(folder.path("out.f32")), expectedOutput(input, 2)) << "block " << block;
    EXPECT_EQ(summary.rfind("frames: 2205, peak: ", 0), 0u) << summary;
  }
}

// Both builds read every supported layout and write stereo 32-bit float at the input's rate.
TEST_F(RenderCommand, WavOutputIsGainTimesInputForEveryLayoutAndBlockSize) {
  const WavLayout layouts[] = {
      {1, 16, 1, 44100, false}, {1, 16, 2, 8000, false},  {1, 24, 1, 96000, false},
      {1, 24, 2, 44100, true},  {3, 32, 1, 48000, false}, {3, 32, 2, 22050, true},
  };
  for (const WavLayout& layout : layouts) {
    std::vector<float> input = testSignal(kFrames, layout.channels);
    // As read back: PCM on steps of full scale 2^(bits-1).
    if (layout.formatTag == 1) {
      const float scale = std::ldexp(1.0f, layout.bits - 1);
      for (float& x : input) x = std::round(x * scale) / scale;
    }
    writeWavBytes(folder.path("in.wav"), layout, input);
    for (int block : {64, 1000}) {
      render("in.wav", "out.wav", 0, block);
      int channels = 0;
      int rateHz = 0;
      const std::vector<float> output = readFloatWav(folder.path("out.wav"), &channels, &rateHz);
      EXPECT_EQ(channels, 2);
      EXPECT_EQ(rateHz, layout.rateHz);
      EXPECT_EQ(output, expectedOutput(input, layout.channels))
          << layout.bits << " bits, " << layout.channels << " channels, block " << block;
    }
  }
  EXPECT_EQ(folder.files(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

TEST_F(RenderCommand, HostSequenceAndBlocks) {
  writeRaw(folder.path("in.f32"), testSignal(kFrames, 2));
  render("in.f32", "out.f32", 22050, 1000);

  // The life cycle a real host follows, leaving out the name queries for --set.
  std::vector<VstInt32> sequence;
  std::vector<VstIntPtr> blockFrames;
  for (const GainTestPluginLog::Call& call : calls()) {
    if (call.opcode == effGetParamName) continue;
    sequence.push_back(call.opcode);
    if (call.opcode == GainTestPluginLog::kProcessCall) {
      blockFrames.push_back(call.value);
      EXPECT_TRUE(call.distinctBuffers);
    }
    if (call.opcode == effSetSampleRate) {
      EXPECT_EQ(call.opt, 22050.0f);
    } else if (call.opcode == effSetBlockSize) {
      EXPECT_EQ(call.value, 1000);
    } else if (call.opcode == effMainsChanged) {
      EXPECT_EQ(call.value, sequence.size() == 4 ? 1 : 0);  // on first, off at the end
    }
  }
  const VstInt32 process = GainTestPluginLog::kProcessCall;
  EXPECT_EQ(sequence,
            (std::vector<VstInt32>{effOpen, effSetSampleRate, effSetBlockSize, effMainsChanged,
                                   process, process, process, effMainsChanged, effClose}));
  EXPECT_EQ(blockFrames, (std::vector<VstIntPtr>{1000, 1000, 205}));
}

TEST_F(RenderCommand, NotesArriveBeforeTheirBlockWithTheirOffset) {
  // At 1000 Hz a second is 1000 frames; blocks of 64.
  writeRaw(folder.path("in.f32"), testSignal(1000, 2));
  render("in.f32", "out.f32", 1000, 64, {"0.1004:0.5:60:100", "0.5:0.999:64:90", "0.128:0.2:70:1"});

  struct Expected {
    int64_t blockStart;
    VstInt32 delta;
    int status, key, velocity;
  };
  const Expected expected[] = {
      {64, 36, 0x90, 60, 100},                          // frame 100.4, rounded
      {128, 0, 0x90, 70, 1},                            // frame 128 starts a block
      {192, 8, 0x80, 70, 0},                            // frame 200
      {448, 52, 0x80, 60, 0},                           // frame 500: the release first
      {448, 52, 0x90, 64, 90}, {960, 39, 0x80, 64, 0},  // frame 999, in the short last block
  };
  ASSERT_EQ(log->eventCount, 6);
  for (int i = 0; i < 6; ++i) {
    const GainTestPluginLog::Event& event = log->events[i];
    EXPECT_EQ(event.blockStart, expected[i].blockStart) << "event " << i;
    EXPECT_EQ(event.deltaFrames, expected[i].delta) << "event " << i;
    EXPECT_EQ(event.status, expected[i].status) << "event " << i;
    EXPECT_EQ(event.key, expected[i].key) << "event " << i;
    EXPECT_EQ(event.velocity, expected[i].velocity) << "event " << i;
  }
  // One event list per block that has events, each followed by that block's processing.
  int lists = 0;
  const std::vector<GainTestPluginLog::Call> all = calls();
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i].opcode != effProcessEvents) continue;
    ++lists;
    ASSERT_LT(i + 1, all.size());
    EXPECT_EQ(all[i + 1].opcode, GainTestPluginLog::kProcessCall);
  }
  EXPECT_EQ(lists, 5);
  EXPECT_EQ(log->framesProcessed, 1000);
}

}  // namespace

// The ferrowin-host program as a user runs it: one-line errors with a non-zero exit and no
// output file, and a summary line on success.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "HostTestFiles.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <thread>
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kRateHz = 8000;
constexpr int kFrames = 6 * kRateHz;  // long enough for a progress display on a terminal

class HostCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<float> samples(2 * kFrames);
    for (int i = 0; i < kFrames; ++i) {
      samples[2 * i] = i % 2 ? -0.5f : 0.5f;
      samples[2 * i + 1] = 0.25f;
    }
    writeRaw(files.path("in.f32"), samples);
  }

  ChildResult host(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), builtFile(FERROWIN_HOST_PATH));
    return runChild(arguments, streams.path(""));
  }

  // Render arguments for raw input and output in the folder, before `extra`.
  std::vector<std::string> rawRender(const std::string& input,
                                     std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"render",
                                          builtFile(GAIN_TEST_PLUGIN_PATH),
                                          files.path(input),
                                          files.path("out.f32"),
                                          "--raw",
                                          "--rate",
                                          std::to_string(kRateHz)};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
  }

  void expectFailure(const std::vector<std::string>& arguments, const std::string& message,
                     int exitCode = 1) {
    const ChildResult result = host(arguments);
    EXPECT_EQ(result.exitCode, exitCode) << message;
    EXPECT_EQ(result.err.rfind("error: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(files.exists("out.f32")) << message;
    EXPECT_FALSE(files.exists("out.f32.partial")) << message;
    EXPECT_FALSE(files.exists("out.wav")) << message;
  }

  ScratchFolder files;
  ScratchFolder streams;
};

TEST_F(HostCli, RawRenderPrintsTheSummaryAndNoProgressWhenNotATerminal) {
  const ChildResult result =
      host(rawRender("in.f32", {"--set", "LeftGain=0.25", "--set", "RightGain=1", "--note",
                                "0.5:5.5:60:100", "--print-peak", "--block", "300"}));
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  // Left: ±0.5 × 0.5; right: 0.25 × 2.
  // Left: ±0.5 × 0.5 is -12.04 dBFS; right: 0.25 × 2 is -6.02 dBFS.
  EXPECT_EQ(result.out,
            "frames: 48000, peak: -12.04 -6.02 dBFS, rms: -12.04 -6.02 dBFS, non-finite: 0\n");
  EXPECT_EQ(readRaw(files.path("out.f32")).size(), 2u * kFrames);
  EXPECT_EQ(files.files(), (std::vector<std::string>{"in.f32", "out.f32"}));
}

// The plug-in runs in the host's process: when it crashes, the temporary output goes with it,
// and a file of the user's that has the temporary file's name is never touched.
TEST_F(HostCli, KeepsTheUsersFilesWhenThePlugInCrashes) {
  const std::vector<float> precious = {9.0f, 9.0f};
  writeRaw(files.path("out.f32.partial"), precious);
  std::vector<std::string> arguments = rawRender("in.f32");
  arguments[1] =
      builtFile(std::string(VALIDATOR_PLUGIN_PREFIX) + "crash" + VALIDATOR_PLUGIN_SUFFIX);
  const ChildResult crashed = host(arguments);
  EXPECT_NE(crashed.exitCode, 0) << crashed.err;
  // Each build's WAV writer keeps its file open while it renders.
  const ChildResult crashedWav =
      host({"render", arguments[1], files.path("out.wav"), "--seconds", "1"});
  EXPECT_NE(crashedWav.exitCode, 0) << crashedWav.err;
  EXPECT_EQ(files.files(), (std::vector<std::string>{"in.f32", "out.f32.partial"}));
  const ChildResult rendered = host(rawRender("in.f32"));
  EXPECT_EQ(rendered.exitCode, 0) << rendered.err;
  EXPECT_EQ(readRaw(files.path("out.f32")).size(), 2u * kFrames);
  EXPECT_EQ(readRaw(files.path("out.f32.partial")), precious);
}

// A plug-in of 64 channels gets 64 buffers: the file in the first two inputs, silence in the
// others, and its first two outputs in the file; an instrument renders from silence.
TEST_F(HostCli, GivesThePlugInTheChannelsItDeclares) {
  std::vector<std::string> arguments =
      rawRender("in.f32", {"--set", "Left=0.25", "--set", "Right=1", "--print-peak"});
  arguments[1] = builtFile(std::string(VALIDATOR_PLUGIN_PREFIX) + "wide" + VALIDATOR_PLUGIN_SUFFIX);
  const ChildResult wide = host(arguments);
  EXPECT_EQ(wide.exitCode, 0) << wide.err;
  EXPECT_NE(wide.err.find("has 64 inputs and 64 outputs: inputs 3 to 64 get silence, outputs 1 "
                          "and 2 are written"),
            std::string::npos)
      << wide.err;
  EXPECT_EQ(wide.out,
            "frames: 48000, peak: -12.04 -6.02 dBFS, rms: -12.04 -6.02 dBFS, non-finite: 0\n");

  fs::remove(files.path("out.f32"));
  expectFailure({"render", builtFile(GAIN_TEST_PLUGIN_PATH), files.path("in.f32"),
                 files.path("out.f32"), "--seconds", "1"},
                "--seconds renders silence", 2);
  const ChildResult silence =
      host({"render", builtFile(GAIN_TEST_PLUGIN_PATH), files.path("out.f32"), "--raw", "--seconds",
            "0.5", "--rate", "8000", "--print-peak"});
  EXPECT_EQ(silence.exitCode, 0) << silence.err;
  EXPECT_EQ(silence.out,
            "frames: 4000, peak: -inf -inf dBFS, rms: -inf -inf dBFS, non-finite: 0\n");
}

TEST_F(HostCli, RefusesBadArgumentsWithOneLineAndNoOutput) {
  writeRaw(files.path("odd.f32"), {0.5f, 0.5f, 0.5f});
  expectFailure(rawRender("missing.f32"), "cannot open " + files.path("missing.f32"));
  expectFailure(rawRender("odd.f32"), "is not a multiple of 8");
  // A path that starts with a slash is a path, also where options may start with one.
  std::vector<std::string> slashed = rawRender("in.f32");
  slashed[2] = "/no-such-folder/in.f32";
  expectFailure(slashed, "cannot open /no-such-folder/in.f32");
  std::vector<std::string> unwritable = rawRender("in.f32");
  unwritable[3] = files.path("no-such-folder/out.f32");
  expectFailure(unwritable, "cannot write " + unwritable[3]);
  expectFailure(rawRender("in.f32", {"--set", "Gain=0.5"}),
                "unknown parameter 'Gain'; valid names: LeftGain, RightGain");
  expectFailure(rawRender("in.f32", {"--set", "LeftGain=loud"}), "'loud' is not a number");
  expectFailure(rawRender("in.f32", {"--set", "LeftGain=2"}), "from 0 to 1");
  expectFailure(rawRender("in.f32", {"--note", "0.5:x:60:100"}), "end 'x'");
  expectFailure(rawRender("in.f32", {"--note", "5:6:60:100"}),
                "note '5:6:60:100' lies outside the file (6 s, 48000 frames)");
  expectFailure(rawRender("in.f32", {"--block", "0"}), "--block", 2);
  expectFailure(rawRender("in.f32", {"--block", "many"}), "'many' is not a number", 2);
  expectFailure(rawRender("in.f32", {"--block", "65537"}), "not in range", 2);
  expectFailure(rawRender("in.f32", {"--block=-3"}), "not in range", 2);
  expectFailure(rawRender("in.f32", {"--block", "12k"}), "'12k' is not a number", 2);
  std::vector<std::string> fastRate = rawRender("in.f32");
  fastRate[6] = "fast";
  expectFailure(fastRate, "'fast' is not a number", 2);
  fastRate[6] = "1000001";
  expectFailure(fastRate, "not in range 1 to 1000000", 2);
  expectFailure({"render", builtFile(GAIN_TEST_PLUGIN_PATH), files.path("in.f32"),
                 files.path("out.f32"), "--raw"},
                "raw input needs its sample rate: --rate HZ");
  expectFailure({"render", files.path("no-plugin.bin"), files.path("in.f32"), files.path("out.f32"),
                 "--raw", "--rate", "8000"},
                "cannot load " + files.path("no-plugin.bin"));
  expectFailure({"render", builtFile(GAIN_TEST_PLUGIN_PATH), files.path("in.f32")},
                "output is required", 2);
  const std::string plugin = builtFile(GAIN_TEST_PLUGIN_PATH);
  writeRaw(files.path("not-a-wav.wav"), {0.5f, 0.5f});
  expectFailure({"render", plugin, files.path("not-a-wav.wav"), files.path("out.wav")},
                "cannot read " + files.path("not-a-wav.wav"));
  expectFailure({"render", plugin, files.path("missing.wav"), files.path("out.wav")},
                "cannot open " + files.path("missing.wav"));
  expectFailure({"render", plugin, files.path("in.f32"), files.path("out.wav"), "--rate", "8000"},
                "--rate is for raw input only");
  // The same range of rates as --rate allows.
  writeWavBytes(files.path("fast.wav"), {1, 16, 2, 1000001}, {0.5f, 0.5f});
  expectFailure(
      {"render", plugin, files.path("fast.wav"), files.path("out.wav")},
      "the sample rate of " + files.path("fast.wav") + ", 1000001 Hz, is outside 1 to 1000000 Hz");
  // Asked for more than a WAV file can hold: refused at once, not hours later.
  expectFailure(
      {"render", plugin, files.path("out.wav"), "--seconds", "86400", "--rate", "1000000"},
      "is more than a WAV file written here can hold");
  // What both builds' readers refuse, in their words.
  writeWavBytes(files.path("u8.wav"), {1, 8, 1, 8000}, {0.5f, 0.5f});
  expectFailure({"render", plugin, files.path("u8.wav"), files.path("out.wav")},
                "; supported are 16- or 24-bit PCM and 32-bit float");
  writeWavBytes(files.path("three.wav"), {1, 16, 3, 8000}, {0.5f, 0.5f, 0.5f});
  expectFailure({"render", plugin, files.path("three.wav"), files.path("out.wav")},
                "unsupported format of " + files.path("three.wav") +
                    ": it has 3 channels; supported are mono and stereo");
}

// A file cut short renders what it holds, and says so.
TEST_F(HostCli, WarnsOfAWavFileShorterThanItsHeaderSays) {
  // 699 whole frames and half of one more, where the header promises 1000.
  std::vector<float> samples(2 * 699 + 1, 0.5f);
  writeWavBytes(files.path("short.wav"), {1, 16, 2, kRateHz}, samples, 1000);
  const ChildResult result = host({"render", builtFile(GAIN_TEST_PLUGIN_PATH),
                                   files.path("short.wav"), files.path("out.wav"), "--print-peak"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "warning: " + files.path("short.wav") +
                            " is cut short: its header promises 1000 frames, it holds 699; "
                            "rendering those\n");
  EXPECT_EQ(result.out.rfind("frames: 699,", 0), 0u) << result.out;
}

// Whatever length the header states, the data is read to its end: a header written before the
// length was known (0, or all ones) is no reason to refuse or to stop early, from a file or,
// natively, from a pipe; a length beyond the data is warned of.
TEST_F(HostCli, ReadsAWavFileToTheEndOfItsDataWhateverItsHeaderStates) {
  constexpr int kHeld = 700;
  const std::string shortWarning =
      " is cut short: its header promises 1400 frames, it holds 700; "
      "rendering those\n";
  struct Case {
    long statedFrames;
    bool pipe;
    std::string warning;
  };
  std::vector<Case> cases = {
      {kHeld, false, ""},
      {0, false, ""},
      {kStreamedFrames, false, ""},
      {2 * kHeld, false, shortWarning},
  };
#if !defined(_WIN32)
  for (size_t i = 0, fileCases = cases.size(); i < fileCases; ++i)
    cases.push_back({cases[i].statedFrames, true, cases[i].warning});
#endif
  const std::string plugin = builtFile(GAIN_TEST_PLUGIN_PATH);
  for (const Case& c : cases) {
    const std::string name = "in" + std::to_string(c.statedFrames) + (c.pipe ? ".pipe" : ".wav");
    writeWavBytes(files.path("written.wav"), {1, 16, 2, kRateHz},
                  std::vector<float>(2 * kHeld, 0.5f), c.statedFrames);
    ChildResult result;
    if (c.pipe) {
#if !defined(_WIN32)
      ASSERT_EQ(mkfifo(files.path(name).c_str(), 0600), 0);
      // The writer ends its side once it has written, as a program writing a stream does: only
      // then does the host see the stream's end.
      std::thread writer([&] {
        // A host that gives up early closes its end: the write then fails instead of ending
        // the test program with SIGPIPE.
        sigset_t broken;
        sigemptyset(&broken);
        sigaddset(&broken, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &broken, nullptr);
        std::ifstream written(files.path("written.wav"), std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(written), {});
        const int fifo = open(files.path(name).c_str(), O_WRONLY);
        if (fifo < 0) return;
        [[maybe_unused]] const ssize_t sent = write(fifo, bytes.data(), bytes.size());
        close(fifo);
      });
      result = host({"render", plugin, files.path(name), files.path("out.wav"), "--print-peak"});
      // A host that never opened the FIFO leaves the writer waiting: a reader releases it.
      const int release = open(files.path(name).c_str(), O_RDONLY | O_NONBLOCK);
      writer.join();
      if (release >= 0) close(release);
#endif
    } else {
      fs::rename(files.path("written.wav"), files.path(name));
      result = host({"render", plugin, files.path(name), files.path("out.wav"), "--print-peak"});
    }
    EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
    EXPECT_EQ(result.err, c.warning.empty() ? "" : "warning: " + files.path(name) + c.warning)
        << name;
    EXPECT_EQ(result.out.rfind("frames: " + std::to_string(kHeld) + ",", 0), 0u)
        << name << ": " << result.out;
    EXPECT_EQ(readFloatWav(files.path("out.wav")).size(), 2u * kHeld) << name;
  }
}

// An output that is the input (or the plug-in), by whatever name, is refused before anything is
// written, and the file keeps its contents.
TEST_F(HostCli, RefusesAnOutputThatIsTheInputOrThePlugin) {
  const std::vector<float> input = readRaw(files.path("in.f32"));
  // A copy, so that a failure cannot damage the plug-in the other tests load.
  const std::string plugin = files.path("plugin.bin");
  fs::copy_file(builtFile(GAIN_TEST_PLUGIN_PATH), plugin);
  std::vector<std::pair<std::string, std::string>> cases = {
      {files.path("in.f32"), "is the input"},
      {files.path("../" + fs::path(files.path("")).parent_path().filename().string() + "/in.f32"),
       "is the input"},
      {plugin, "is the plug-in"},
  };
#if !defined(_WIN32)
  fs::create_hard_link(files.path("in.f32"), files.path("hard.f32"));
  fs::create_symlink("in.f32", files.path("soft.f32"));
  cases.emplace_back(files.path("hard.f32"), "is the input");
  cases.emplace_back(files.path("soft.f32"), "is the input");
#endif
  for (const auto& [output, message] : cases) {
    std::vector<std::string> arguments = rawRender("in.f32");
    arguments[1] = plugin;
    arguments[3] = output;
    const ChildResult result = host(arguments);
    EXPECT_EQ(result.exitCode, 1) << output;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("choose another output file"), std::string::npos) << result.err;
    EXPECT_EQ(readRaw(files.path("in.f32")), input) << output;
    EXPECT_FALSE(fs::exists(output + ".partial")) << output;
  }
}

}  // namespace

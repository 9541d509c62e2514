// Where the host's output goes on a POSIX system: through symbolic links to their targets, into
// FIFOs and devices without replacing them, and, when a signal stops the render, nowhere: the
// temporary file goes and the signal's status comes back.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "HostTestFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRateHz = 8000;
constexpr int kFrames = 4000;
constexpr size_t kRawBytes = 2 * sizeof(float) * kFrames;

class OutputPaths : public ::testing::Test {
 protected:
  void SetUp() override { writeRaw(files.path("in.f32"), std::vector<float>(2 * kFrames, 0.25f)); }

  std::vector<std::string> render(const std::string& output) const {
    return {builtFile(FERROWIN_HOST_PATH),
            "render",
            builtFile(GAIN_TEST_PLUGIN_PATH),
            files.path("in.f32"),
            output,
            "--raw",
            "--rate",
            std::to_string(kRateHz)};
  }

  ScratchFolder files;
  ScratchFolder streams;
};

size_t fileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {}).size();
}

// A link keeps being a link; its target gets the output, whether it exists yet or not, and
// whether it is reached directly or through another link.
TEST_F(OutputPaths, WritesThroughSymbolicLinksToTheirTargets) {
  fs::create_directory(files.path("elsewhere"));
  writeRaw(files.path("elsewhere/old.f32"), {1.0f, 1.0f});
  struct Case {
    std::string link, pointsTo, target;
  };
  const Case cases[] = {
      {"existing.f32", "elsewhere/old.f32", "elsewhere/old.f32"},
      {"dangling.f32", "elsewhere/new.f32", "elsewhere/new.f32"},
      {"chain.f32", "existing.f32", "elsewhere/old.f32"},
      {"absolute.f32", files.path("elsewhere/abs.f32"), "elsewhere/abs.f32"},
  };
  for (const Case& c : cases) {
    fs::create_symlink(c.pointsTo, files.path(c.link));
    const ChildResult result = runChild(render(files.path(c.link)), streams.path(""));
    EXPECT_EQ(result.exitCode, 0) << c.link << ": " << result.err;
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(files.path(c.link)))) << c.link;
    EXPECT_EQ(fileBytes(files.path(c.target)), kRawBytes) << c.link;
    EXPECT_FALSE(fs::exists(files.path(c.target) + ".partial")) << c.link;
  }
}

// A FIFO receives the whole output and stays a FIFO; so does a device behind a link (the link
// is in the scratch folder, so a failure replaces the link, not the device).
TEST_F(OutputPaths, WritesIntoFifosAndDevicesWithoutReplacingThem) {
  static_assert(kRawBytes < 65536, "the output fits the FIFO's buffer, so no reader must wait");
  ASSERT_EQ(mkfifo(files.path("pipe").c_str(), 0600), 0);
  // Held open for reading and writing, so that neither side's open waits for the other.
  const int fifo = open(files.path("pipe").c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(fifo, 0);
  const ChildResult piped = runChild(render(files.path("pipe")), streams.path(""));
  size_t received = 0;
  char buffer[4096];
  for (ssize_t got; (got = read(fifo, buffer, sizeof buffer)) > 0;) received += got;
  close(fifo);
  EXPECT_EQ(piped.exitCode, 0) << piped.err;
  EXPECT_EQ(received, kRawBytes);
  EXPECT_TRUE(fs::is_fifo(files.path("pipe")));
  EXPECT_FALSE(files.exists("pipe.partial"));

  fs::create_symlink("/dev/null", files.path("null"));
  const ChildResult nulled = runChild(render(files.path("null")), streams.path(""));
  EXPECT_EQ(nulled.exitCode, 0) << nulled.err;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(files.path("null"))));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(files.files(), (std::vector<std::string>{"in.f32", "null", "pipe"}));
}

// A FIFO where a plug-in or a WAV output belongs is refused before it is opened, where the open
// would wait for the other side for ever; a WAV file read from a pipe is read once, whole.
TEST_F(OutputPaths, FifosAreRefusedWhereAnOpenWouldWaitAndReadOnceAsInput) {
  ASSERT_EQ(mkfifo(files.path("pipe").c_str(), 0600), 0);
  const std::string host = builtFile(FERROWIN_HOST_PATH);
  const std::string plugin = builtFile(GAIN_TEST_PLUGIN_PATH);
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      {{host, "info", files.path("pipe")}, "not a regular file"},
      {{host, "validate", files.path("pipe")}, "not a regular file"},
      {{host, "render", files.path("pipe"), files.path("in.f32"), files.path("out.f32"), "--raw",
        "--rate", "8000"},
       "not a regular file"},
      {{host, "render", plugin, files.path("pipe"), "--seconds", "1"}, "cannot seek"},
      // A stream that never ends is read only as far as it takes to see that it is no WAV file.
      {{host, "render", plugin, "/dev/zero", files.path("out.wav")}, "cannot read /dev/zero"},
  };
  for (const Case& c : cases) {
    const ChildResult result = runChild(c.arguments, streams.path(""));
    EXPECT_EQ(result.exitCode, 1) << c.arguments[1] << ": " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }

  writeWavBytes(files.path("in.wav"), {1, 16, 2, kRateHz}, std::vector<float>(2 * kFrames, 0.5f));
  std::ifstream wav(files.path("in.wav"), std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(wav), {});
  static_assert(2 * 2 * kFrames + 44 < 65536, "the file fits the FIFO's buffer");
  const int fifo = open(files.path("pipe").c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(fifo, 0);
  ASSERT_EQ(write(fifo, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  const ChildResult piped =
      runChild({host, "render", plugin, files.path("pipe"), files.path("out.wav"), "--print-peak"},
               streams.path(""));
  close(fifo);
  EXPECT_EQ(piped.exitCode, 0) << piped.err;
  EXPECT_EQ(piped.out.rfind("frames: " + std::to_string(kFrames) + ", peak: -6.02 -6.02", 0), 0u)
      << piped.out;
}

bool waitForFile(const std::string& path) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!fs::exists(path)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Ctrl-C, SIGTERM or a hang-up midway: the partial output goes, and the program ends by the
// signal as if it had no handler. The plug-in holds the render in its first block.
TEST_F(OutputPaths, ASignalMidwayRemovesThePartialOutputAndEndsByTheSignal) {
  const std::string marker = files.path("processing");
  ASSERT_EQ(setenv("GAIN_TEST_PLUGIN_HOLD", marker.c_str(), 1), 0);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    fs::remove(marker);
    const int child = startChild(render(files.path("out.f32")), streams.path(""));
    ASSERT_TRUE(waitForFile(marker)) << "the render never started, signal " << signal;
    EXPECT_TRUE(files.exists("out.f32.partial"));
    kill(child, signal);
    const ChildResult result = finishChild(child, streams.path(""));
    EXPECT_EQ(result.signal, signal) << result.err;
    EXPECT_FALSE(files.exists("out.f32.partial")) << "signal " << signal;
    EXPECT_FALSE(files.exists("out.f32")) << "signal " << signal;
  }
  unsetenv("GAIN_TEST_PLUGIN_HOLD");
}

// A file-size limit below the output's size stops the render with SIGXFSZ.
TEST_F(OutputPaths, AFileSizeLimitRemovesThePartialOutput) {
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  rlimit limited = before;
  limited.rlim_cur = kRawBytes / 4;
  // The child inherits the limit; this process writes nothing until it is lifted again.
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const int child = startChild(render(files.path("out.f32")), streams.path(""));
  setrlimit(RLIMIT_FSIZE, &before);
  const ChildResult result = finishChild(child, streams.path(""));
  EXPECT_EQ(result.signal, SIGXFSZ) << result.exitCode << " " << result.err;
  EXPECT_EQ(files.files(), (std::vector<std::string>{"in.f32"}));
}

}  // namespace

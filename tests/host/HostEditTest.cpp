// The edit command as a user runs it: it opens the editor of a test plug-in in a window (under
// Wine, or on the X display natively), prints the gesture the editor makes on opening and ends
// after the given time; plug-ins without an editor are refused, and so is a Linux run without
// a display.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "HostTestFiles.h"

namespace {

class HostEdit : public ::testing::Test {
 protected:
  ChildResult host(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), builtFile(FERROWIN_HOST_PATH));
    // A folder per run: under Wine a child that made windows can leave its stream files open
    // for a moment after it has ended.
    const ScratchFolder streams;
    return runChild(arguments, streams.path(""));
  }
  void expectRefusal(const std::vector<std::string>& arguments, const std::string& message,
                     int exitCode = 1) {
    const ChildResult result = host(arguments);
    EXPECT_EQ(result.exitCode, exitCode) << message;
    EXPECT_EQ(result.err.rfind("error: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(message), std::string::npos)
        << "expected \"" << message << "\" in " << result.err;
    EXPECT_EQ(result.out, "");
  }
};

TEST_F(HostEdit, RefusesBadOptions) {
  const std::string plugin = builtFile(EDITOR_TEST_PLUGIN_PATH);
  expectRefusal({"edit"}, "plugin is required", 2);
  expectRefusal({"edit", plugin, "--seconds", "0"}, "--seconds", 2);
  expectRefusal({"edit", plugin, "--idle-ms", "5"}, "--idle-ms", 2);
}

TEST_F(HostEdit, PrintsTheEditorsGestureAndEndsAfterTheGivenTime) {
  const ChildResult result = host({"edit", builtFile(EDITOR_TEST_PLUGIN_PATH), "--seconds", "0.3"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  // The editor's place on the screen is the system's choice. (GoogleTest's regular expressions
  // on Windows are the simple kind: \d, but no brackets; elsewhere POSIX's, without \d.)
#if defined(_WIN32)
  const std::string number = "-?\\d+";
#else
  const std::string number = "-?[0-9]+";
#endif
  EXPECT_THAT(result.out, ::testing::MatchesRegex("begin 1 \"Tone\"\n"
                                                  "automate 1 \"Tone\" 0\\.250000 \"0\\.250000\"\n"
                                                  "end 1 \"Tone\"\n"
                                                  "editor open: 240 x 120 at " +
                                                  number + "," + number +
                                                  "\n"
                                                  "editor closed\n"));
}

TEST_F(HostEdit, RefusesPluginsWithoutAnEditor) {
  struct Case {
    const char* plugin;
    const char* message;
  };
  const Case cases[] = {
      {GAIN_TEST_PLUGIN_PATH, "has no editor"},
      {EDITOR_TEST_PLUGIN_NO_RECT_PATH, "has no editor: it reports no window size"},
      {"no-such-plugin.dll", "cannot load"},
  };
  for (const Case& c : cases) expectRefusal({"edit", builtFile(c.plugin)}, c.message);
}

#if !defined(_WIN32)

TEST_F(HostEdit, WithoutADisplaySaysSo) {
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  unsetenv("DISPLAY");
  expectRefusal({"edit", builtFile(EDITOR_TEST_PLUGIN_PATH)}, "edit needs an X display");
  if (display) setenv("DISPLAY", saved.c_str(), 1);
}

#endif

// With --automate the editor-closed phase follows the open one and lasts as long, whether or
// not --cpu prints the cost of each.
TEST_F(HostEdit, AutomationRunsTheClosedPhaseAsLongAsTheOpenOne) {
  constexpr double kSeconds = 0.5;
  constexpr double kClockSlackSeconds = 0.1;  // idle-timer and tick granularity
  struct Case {
    bool cpu;
    const char* closedLine;  // what precedes the closed phase's length in seconds
  };
  for (const Case& c :
       {Case{false, "automated without the editor for "}, Case{true, "cpu: editor closed: "}}) {
    std::vector<std::string> arguments = {"edit",         builtFile(EDITOR_TEST_PLUGIN_PATH),
                                          "--seconds",    std::to_string(kSeconds),
                                          "--automate",   "20",
                                          "--parameters", "0"};
    if (c.cpu) arguments.push_back("--cpu");
    const ChildResult result = host(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.find("cpu: editor open: ") != std::string::npos, c.cpu) << result.out;
    const size_t closed = result.out.find(c.closedLine);
    ASSERT_NE(closed, std::string::npos) << result.out;
    const std::string rest = result.out.substr(closed + std::strlen(c.closedLine));
    // "X ms/s over S s" with --cpu, "S s" without.
    const size_t over = rest.find("over ");
    const double seconds = std::atof(rest.c_str() + (over == std::string::npos ? 0 : over + 5));
    EXPECT_GE(seconds, kSeconds - kClockSlackSeconds) << result.out;
  }
}

}  // namespace

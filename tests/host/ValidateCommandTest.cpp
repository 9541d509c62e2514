// `ferrowin-host validate` against a well-behaved test effect, against copies of it with one
// deliberate fault each and against copies with one legitimate habit each: every fault must fail
// the check meant to catch it, every habit must pass the check it could be mistaken by, and the
// validator must carry on past crashes and hangs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CheckReport.h"
#include "ChildProcess.h"
#include "GroupProcess.h"
#include "HostTestFiles.h"

namespace {

struct FaultCase {
  const char* fault;        // the test plug-in's name after "validator_"
  int exitCode;             // of validate
  const char* expected;     // the start of a line validate must print
  const char* figure;       // text that line must contain
  double timeoutSeconds;    // time limit per group
  bool aloneFails = false;  // the line is the run's only failure
};

constexpr double kRoomy = 60.0;
// Long enough for a group under Wine, short enough that the hang's five groups stay quick.
constexpr double kHangLimit = 4.0;

const FaultCase kFaults[] = {
    {"none", 0, " passed, 0 failed", "", kRoomy},
    {"nan_output", 1, "FAIL  processing: 44100 Hz, block 1,", "NaN", kRoomy},
    {"subnormal_output", 1, "FAIL  processing: 44100 Hz, block 1,", "subnormal", kRoomy},
    {"overlong_name", 1, "FAIL  identity: effect name within 32 bytes", "wrote 40 bytes", kRoomy},
    {"write_past_end", 1, "FAIL  processing: 44100 Hz, block 1,", "written outside the block",
     kRoomy},
    {"crash", 1, "FAIL  processing: crashed in \"22050 Hz, block 1,", "", kRoomy},
    // The render that reproduces the crash, and new children after it, up to a limit.
    {"crash", 1, "      reproduce: ferrowin-host render ", "noise-22050Hz.wav out.wav --block 1",
     kRoomy},
    {"crash", 1, "SKIP  processing: the steps after \"22050 Hz, block 100,", "after 4 crashes",
     kRoomy},
    {"hang", 1, "FAIL  processing: hung", "no answer within 1.3 s", kHangLimit},
#if defined(_WIN32)
    {"allocation", 0, "SKIP  realtime: no allocation in processReplacing", "", kRoomy},
#else
    {"allocation", 1, "FAIL  realtime: no allocation in processReplacing", "allocations in",
     kRoomy},
    {"worker_thread", 0, "PASS  realtime: no allocation in processReplacing", "", kRoomy},
#endif
    {"wide", 0, "PASS  identity: record counts", "64 inputs, 64 outputs", kRoomy},
    {"resume_sized", 0, "PASS  sequences: rate and block size changed with suspend and resume", "",
     kRoomy},
    {"stepped", 0, "PASS  parameters: a value read back is within 0..1 and stays when set again",
     "rounded to a step", kRoomy},
    {"stepped", 0, "PASS  parameters: displays and labels within 32 bytes",
     "2 over the nominal 8 characters", kRoomy},
    {"none", 0, "PASS  state: suspend and resume start the sound afresh", "largest difference 0",
     kRoomy},
    {"shared_state", 1, "FAIL  state: two instances interleaved", "largest difference", kRoomy},
    {"chunks", 0, "PASS  state: a bank chunk restores", "8 bytes, 0 parameters differ", kRoomy},
    {"silent_synth", 1, "FAIL  processing: 22050 Hz, block 1,",
     "silent with a chord held, at its defaults too", kRoomy},
    {"lossy_chunk", 1, "FAIL  state: a bank chunk restores", "8 bytes, 2 parameters differ",
     kRoomy},
    {"thread_bound", 1, "FAIL  state: processing on a thread of its own", "NaN", kRoomy, true},
    // Not its only failure: the grid's cells that start with the gains at 0 silence it too.
    {"subnormal_tail", 1, "FAIL  state: silence after noise leaves a tail", "subnormal", kRoomy},
    {"endless_tail", 1, "FAIL  state: silence after noise leaves a tail", "falling to 5.", kRoomy,
     true},
    {"programs", 0, "PASS  state: a program chosen after another", "0 parameters differ", kRoomy},
    {"sparse_programs", 1, "FAIL  state: a program chosen after another",
     "program 2 after 1: 1 parameters differ, first 0 Left 0.2500 instead of 0.5000, largest "
     "difference 0.",
     kRoomy, true},
    // Its time answer has the rate the plug-in was given, at every rate of the grid.
    {"tempo_synced", 0, "PASS  processing: 22050 Hz, block 1,", "", kRoomy},
    // The grid's second cell starts with every parameter at its top; the values a fault came
    // out with alone bring the NaN back, so the render line of them is printed. A fault of the
    // changes' number is not brought back by them, and the validator says so.
    {"corner_nan", 1, "FAIL  processing: 22050 Hz, block 32,", " NaN", kRoomy},
    {"corner_nan", 1, "      reproduce: ferrowin-host render ",
     " --set \"Left=1.000000000\" --set \"Right=1.000000000\"", kRoomy},
    {"change_queue", 1, "FAIL  processing: 22050 Hz, block 1,", " NaN", kRoomy},
    // Its one block of 4096 frames at level 1 keeps the volumes of the cell's corner, all at 0.
    {"volume_synth", 0, "PASS  processing: 22050 Hz, block 4096,",
     "silent at these settings, not at its defaults", kRoomy},
    {"change_queue", 1, "      reproduce: no render: the values it came out with",
     "the line below does", kRoomy},
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.fault; }

class ValidateFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ValidateFault, FailsTheCheckThatCatchesIt) {
  const FaultCase& c = GetParam();
  ScratchFolder streams;
  const std::string plugin =
      builtFile(std::string(VALIDATOR_PLUGIN_PREFIX) + c.fault + VALIDATOR_PLUGIN_SUFFIX);
  const ChildResult result = runChild({builtFile(FERROWIN_HOST_PATH), "validate", plugin, "--level",
                                       "1", "--timeout", std::to_string(c.timeoutSeconds)},
                                      streams.path(""));
  EXPECT_EQ(result.exitCode, c.exitCode) << result.out << result.err;
  const size_t at = result.out.find(c.expected);
  ASSERT_NE(at, std::string::npos) << result.out;
  const std::string line = result.out.substr(at, result.out.find('\n', at) - at);
  EXPECT_NE(line.find(c.figure), std::string::npos) << line;
  // The validator carried on to its last group and its summary.
  EXPECT_NE(result.out.find("  realtime: "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(" passed, "), std::string::npos) << result.out;
  if (c.exitCode == 0) {
    EXPECT_EQ(result.out.find("\nFAIL  "), std::string::npos) << result.out;
  }
  if (c.aloneFails) {
    EXPECT_NE(result.out.find(" passed, 1 failed, "), std::string::npos) << result.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, ValidateFault, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<FaultCase>& info) {
                           return std::string(info.param.fault) + "_" + std::to_string(info.index);
                         });

// A file that is no plug-in is one error line, not a failure of every group.
TEST(ValidateNoPlugin, IsOneClearError) {
  ScratchFolder files;
  writeRaw(files.path("noise.dll"), {0.5f, 0.25f});
  const std::pair<std::string, std::string> cases[] = {
      {builtFile(NO_ENTRY_LIBRARY_PATH), "exports no plug-in entry point"},
      {files.path("noise.dll"), "cannot load"},
  };
  for (const auto& [path, message] : cases) {
    const ChildResult result =
        runChild({builtFile(FERROWIN_HOST_PATH), "validate", path, "--level", "1"}, files.path(""));
    EXPECT_EQ(result.exitCode, 1) << path;
    EXPECT_EQ(result.err.rfind("error: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_EQ(result.out.find("FAIL"), std::string::npos) << result.out;
  }
}

// --group runs one group alone; an unknown name is refused with the list of groups.
TEST(ValidateGroup, RunsTheGroupNamedAlone) {
  ScratchFolder streams;
  const std::string host = builtFile(FERROWIN_HOST_PATH);
  const std::string plugin =
      builtFile(std::string(VALIDATOR_PLUGIN_PREFIX) + "nan_output" + VALIDATOR_PLUGIN_SUFFIX);
  const ChildResult one =
      runChild({host, "validate", plugin, "--level", "1", "--group", "identity"}, streams.path(""));
  EXPECT_EQ(one.exitCode, 0) << one.out;  // the NaN output is the processing group's to find
  EXPECT_NE(one.out.find("\nseconds per group: identity "), std::string::npos) << one.out;
  EXPECT_EQ(one.out.find("processing:"), std::string::npos) << one.out;
  const ChildResult unknown =
      runChild({host, "validate", plugin, "--group", "speed"}, streams.path(""));
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("opening,identity,parameters"), std::string::npos) << unknown.err;
  const ChildResult noCheck =
      runChild({host, "validate", plugin, "--group", "midi", "--check", "speed"}, streams.path(""));
  EXPECT_EQ(noCheck.exitCode, 2);
  EXPECT_NE(noCheck.err.find("the group midi has no check named \"speed\""), std::string::npos)
      << noCheck.err;
}

// The validator line printed under a failure runs that check alone and fails it again, whether
// it is a step of its group (drawing its own random values, from a fresh instance) or not.
TEST(ValidateReproduce, RunsTheFailedCheckAloneAndFailsItAgain) {
  struct Case {
    const char* fault;
    const char* failure;  // the start of the failed line, up to its figure
    const char* figure;   // in the figure of both runs
  };
  const Case cases[] = {
      {"nan_output", "FAIL  processing: 48000 Hz, block 441, out of place and in place: ", " NaN"},
      {"nan_output", "FAIL  midi: note storm of ", " NaN"},
      {"sparse_programs",
       "FAIL  state: a program chosen after another sounds as when chosen first: ",
       "first 0 Left 0.2500 instead of 0.5000"},
  };
  ScratchFolder streams;
  const std::string host = builtFile(FERROWIN_HOST_PATH);
  for (const Case& c : cases) {
    const std::string plugin =
        builtFile(std::string(VALIDATOR_PLUGIN_PREFIX) + c.fault + VALIDATOR_PLUGIN_SUFFIX);
    const ChildResult whole =
        runChild({host, "validate", plugin, "--level", "1", "--seed", "3"}, streams.path(""));
    const size_t at = whole.out.find(c.failure);
    ASSERT_NE(at, std::string::npos) << whole.out;
    const std::string prefix = "      reproduce: ferrowin-host validate " + plugin + " --group ";
    const size_t line = whole.out.find(prefix, at);
    ASSERT_NE(line, std::string::npos) << whole.out;
    const size_t group = line + prefix.size();
    const size_t check = whole.out.find(" --check \"", group);
    const size_t level = whole.out.find("\" --level 1 --seed 3\n", check);
    ASSERT_NE(level, std::string::npos) << whole.out.substr(line);
    const size_t checkStart = check + std::string(" --check \"").size();
    const ChildResult alone = runChild(
        {host, "validate", plugin, "--group", whole.out.substr(group, check - group), "--check",
         whole.out.substr(checkStart, level - checkStart), "--level", "1", "--seed", "3"},
        streams.path(""));
    EXPECT_EQ(alone.exitCode, 1) << alone.out << alone.err;
    const size_t again = alone.out.find(std::string("\n") + c.failure);
    ASSERT_NE(again, std::string::npos) << alone.out;
    EXPECT_NE(alone.out.substr(again, alone.out.find('\n', again + 1) - again).find(c.figure),
              std::string::npos)
        << alone.out;
    EXPECT_NE(alone.out.find("\n0 passed, 1 failed, 0 warnings"), std::string::npos) << alone.out;
  }
}

TEST(CheckLines, ParseWhatTheReportWritesAndFormatThem) {
  struct Case {
    std::string line;
    bool parses;
    std::string printed;
  };
  const Case cases[] = {
      {"PASS\tcold\t3.2 ms", true, "PASS  opening: cold: 3.2 ms"},
      {"FAIL\tname\t", true, "FAIL  opening: name"},
      {"SKIP\teditor\tno editor", true, "SKIP  opening: editor: no editor"},
      {"END", false, ""},
      {"PASS cold 3.2 ms", false, ""},
      {"MAYBE\tcold\t3", false, ""},
      {"PASS\tonly what", false, ""},
  };
  for (const Case& c : cases) {
    CheckLine line;
    ASSERT_EQ(parseCheckLine(c.line, &line), c.parses) << c.line;
    if (c.parses) {
      EXPECT_EQ(formatCheckLine("opening", line), c.printed);
    }
  }
}

// The trail a child writes gives the render options of the last values, named; a value with no
// name, a name never set and lines of other kinds add nothing.
TEST(ParameterTrail, GivesTheLastValueOfEachNamedParameter) {
  std::string text;
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  CheckReport report(file);
  report.parameterName(0, "Drive");
  report.parameterName(1, "Mix level");
  report.parameterName(2, "Unused");
  report.parameterValue(0, 0.25f);
  report.parameterValue(1, 0.5f);
  report.parameterValue(0, 0.75f);
  report.parameterValue(7, 0.125f);
  report.check(true, "a check", "figure");
  std::rewind(file);
  ParameterTrail trail;
  for (int c; (c = std::fgetc(file)) != EOF;) {
    if (c != '\n') {
      text += static_cast<char>(c);
      continue;
    }
    trail.read(text);
    text.clear();
  }
  std::fclose(file);
  EXPECT_EQ(trail.renderOptions(), " --set \"Drive=0.750000000\" --set \"Mix level=0.500000000\"");
}

TEST(CommandWords, AreQuotedSoThatTheRuntimeSplitsThemBackUnchanged) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "\"plain\""},
      {"two words", "\"two words\""},
      {"", "\"\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\folder\\", "\"C:\\folder\\\\\""},  // a trailing backslash doubled
      {"a\\\"b", "\"a\\\\\\\"b\""},            // backslash before a quote doubled
      {"C:\\a b\\c", "\"C:\\a b\\c\""},        // other backslashes kept
  };
  for (const auto& [word, quoted] : cases) EXPECT_EQ(quotedCommandWord(word), quoted) << word;
}

}  // namespace

// --in-process runs every group without children and finds what the children find; --json
// writes the same results for machines.
TEST(ValidateInProcess, FindsTheFaultAndWritesItAsJson) {
  ScratchFolder files;
  const std::string plugin =
      builtFile(std::string(VALIDATOR_PLUGIN_PREFIX) + "lossy_chunk" + VALIDATOR_PLUGIN_SUFFIX);
  const ChildResult result = runChild({builtFile(FERROWIN_HOST_PATH), "validate", plugin, "--level",
                                       "1", "--in-process", "--json", files.path("results.json")},
                                      files.path(""));
  EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
  EXPECT_NE(result.out.find("FAIL  state: a bank chunk restores"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(", 1 failed, "), std::string::npos) << result.out;
  const std::string json = fileText(files.path("results.json"));
  EXPECT_NE(json.find("\"failed\": 1, "), std::string::npos) << json;
  EXPECT_NE(json.find("{\"group\": \"state\", \"status\": \"fail\", \"what\": \"a bank chunk "
                      "restores parameters and sound in a fresh instance\", \"figure\": \"8 bytes, "
                      "2 parameters differ"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"seconds\": {\"opening\": "), std::string::npos) << json;
}

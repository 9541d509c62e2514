#include "ValidateCommand.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <vector>

#include "GroupProcess.h"
#include "StepWatchdog.h"
#include "ValidationGroups.h"

namespace {

// Apart enough that no two steps of a run draw from the same seed.
constexpr unsigned kStepSeedStride = 1000003u;
const char kQuietScanCheck[] = "no console output during the scan";

// The last line a crashed child printed (a sanitizer's or the runtime's message), shortened.
// A plug-in's line as plain text: terminal escape sequences (colours, cursor moves) and other
// control characters removed, so that they cannot garble the validator's own output.
std::string plainText(const std::string& line) {
  std::string text;
  for (size_t i = 0; i < line.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c == 0x1b) {  // ESC [ parameters final-letter, or ESC and one character
      if (i + 1 < line.size() && line[i + 1] == '[') {
        i += 2;
        while (i < line.size() && !(line[i] >= '@' && line[i] <= '~')) ++i;
      } else {
        ++i;
      }
    } else if (c >= 0x20 && c != 0x7f) {
      text += line[i];
    }
  }
  return text;
}

// The line that best tells why a child ended: a sanitizer's first error line when there is
// one, else the last line it printed; shortened.
std::string consoleMessage(const std::string& console) {
  std::istringstream lines(console);
  std::string line;
  std::string last;
  std::string sanitizer;
  while (std::getline(lines, line)) {
    line = plainText(line);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (line.empty()) continue;
    last = line;
    const bool report = line.find("ERROR: AddressSanitizer") != std::string::npos ||
                        line.find("ERROR: LeakSanitizer") != std::string::npos ||
                        line.find("runtime error:") != std::string::npos;
    if (report && sanitizer.empty()) sanitizer = line;
  }
  const std::string& message = sanitizer.empty() ? last : sanitizer;
  constexpr size_t kMaxLength = 160;
  return message.size() > kMaxLength ? message.substr(0, kMaxLength) + "..." : message;
}

std::string ending(const GroupOutcome& outcome, double limitSeconds) {
  switch (outcome.kind) {
    case GroupOutcome::TimedOut:
      return "no answer within " + fixed(limitSeconds, 1) + " s";
    case GroupOutcome::Crashed:
      return crashText(outcome.code);
    case GroupOutcome::Exited:
      return "exit code " + std::to_string(outcome.code);
    default:
      return "the group's process could not be started";
  }
}

struct Tally {
  int passed = 0;
  int failed = 0;
  int warned = 0;
  std::vector<std::pair<std::string, CheckLine>> lines;  // group and line, for --json

  void print(std::ostream& out, const std::string& group, const CheckLine& line) {
    if (line.status == CheckStatus::Pass) ++passed;
    if (line.status == CheckStatus::Fail) ++failed;
    if (line.status == CheckStatus::Warn) ++warned;
    lines.emplace_back(group, line);
    out << formatCheckLine(group, line) << "\n" << std::flush;
  }
};

// A JSON string: quotes, backslashes and control characters escaped.
std::string jsonText(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

const char* statusName(CheckStatus status) {
  switch (status) {
    case CheckStatus::Pass:
      return "pass";
    case CheckStatus::Fail:
      return "fail";
    case CheckStatus::Skip:
      return "skip";
    default:
      return "warn";
  }
}

// {"plugin": ..., "level": 5, "seed": 1, "passed": 3, "failed": 0, "warnings": 1,
//  "seconds": {"opening": 0.2, ...}, "checks": [{"group", "status", "what", "figure"}, ...]}
bool writeJson(const ValidateOptions& options, const Tally& tally,
               const std::vector<std::pair<std::string, double>>& seconds) {
  std::ofstream file(options.jsonPath, std::ios::binary);
  file << "{\"plugin\": " << jsonText(options.pluginPath) << ", \"level\": " << options.level
       << ", \"seed\": " << options.seed << ", \"passed\": " << tally.passed
       << ", \"failed\": " << tally.failed << ", \"warnings\": " << tally.warned
       << ",\n \"seconds\": {";
  for (size_t i = 0; i < seconds.size(); ++i)
    file << (i ? ", " : "") << jsonText(seconds[i].first) << ": " << fixed(seconds[i].second, 2);
  file << "},\n \"checks\": [";
  for (size_t i = 0; i < tally.lines.size(); ++i) {
    const auto& [group, line] = tally.lines[i];
    file << (i ? ",\n  " : "\n  ") << "{\"group\": " << jsonText(group)
         << ", \"status\": " << jsonText(statusName(line.status))
         << ", \"what\": " << jsonText(line.what) << ", \"figure\": " << jsonText(line.figure)
         << "}";
  }
  file << "]}\n";
  return static_cast<bool>(file.flush());
}

// Runs one group in this process and writes its lines to `reportPath`; returns the exit code.
int runGroupHere(const std::string& group, const ValidateOptions& options,
                 const std::string& reportPath, int afterStep) {
  std::FILE* file = std::fopen(reportPath.c_str(), "wb");
  if (file == nullptr) return 1;
  CheckReport report(file);
  report.skipStepsThrough(afterStep);
  report.keepOnly(options.onlyCheck);
  ValidationContext context(options);
  // Each step draws from a source of its own, so that a step run alone (--check, or in a child
  // carrying on after a crash) draws the values it drew in the whole run.
  report.onStep([&context](int index) {
    context.random.seed(context.options.seed + kStepSeedStride * static_cast<unsigned>(index + 1));
  });
  std::unique_ptr<StepWatchdog> watchdog;
  if (options.stepLimitSeconds > 0)
    watchdog = std::make_unique<StepWatchdog>(report, options.stepLimitSeconds);
  int status = 1;
  for (int i = 0; i < kValidationGroupCount; ++i) {
    if (group != kValidationGroups[i].name) continue;
    // A plug-in's exception reaches the host through its calls; it is the plug-in's fault.
    try {
      kValidationGroups[i].run(context, report);
    } catch (const std::exception& e) {
      report.check(false, kExceptionCheck, e.what());
    } catch (...) {
      report.check(false, kExceptionCheck, "of a type other than std::exception");
    }
    report.finish();
    status = 0;
  }
  watchdog.reset();
  std::fclose(file);
  return status;
}

// In place of a failure's render options: the child found that they do not reproduce it.
const char kNoRenderReproduces[] = "-";

// A check line with what reproduces it: the step that was running and, where a render
// reproduces that step, the render's options with the parameter values of the moment.
struct ReportedLine {
  CheckLine line;
  StepLine step;
  std::string renderOptions;
};

// What one child process of a group reported.
struct ChildReport {
  std::vector<ReportedLine> lines;
  StepLine lastStep;  // index -1 when it started none
  ParameterTrail trail;
  bool finished = false;
  double hungSeconds = 0;  // when the child ended itself for a hang
  std::string unusable;    // why the file is no plug-in, when the child found that
};

ChildReport runChild(const ValidateOptions& options, const std::string& group, int afterStep,
                     double limitSeconds, GroupOutcome* outcome) {
  const std::string reportPath = temporaryFile("ferrowin-report");
  std::vector<std::string> arguments = {"validate-group",
                                        group,
                                        options.pluginPath,
                                        "--level",
                                        std::to_string(options.level),
                                        "--seed",
                                        std::to_string(options.seed),
                                        "--after-step",
                                        std::to_string(afterStep),
                                        "--report",
                                        reportPath,
                                        "--step-limit",
                                        fixed(options.stepLimitSeconds, 3)};
  if (!options.onlyCheck.empty()) arguments.insert(arguments.end(), {"--check", options.onlyCheck});
  if (options.inProcess) {
    *outcome = GroupOutcome{};
    outcome->kind = GroupOutcome::Exited;
    outcome->code = static_cast<unsigned>(runGroupHere(group, options, reportPath, afterStep));
  } else {
    *outcome = runGroupProcess(arguments, limitSeconds);
  }
  std::istringstream report(fileText(reportPath));
  std::remove(reportPath.c_str());
  ChildReport child;
  std::string text;
  while (std::getline(report, text)) {
    CheckLine line;
    if (isFinishLine(text)) child.finished = true;
    parseHungLine(text, &child.hungSeconds);
    parseStepLine(text, &child.lastStep);
    child.trail.read(text);
    bool reproduces = true;
    if (parseRenderReproducesLine(text, &reproduces) && !child.lines.empty() && !reproduces)
      child.lines.back().renderOptions = kNoRenderReproduces;
    if (!parseCheckLine(text, &line)) continue;
    // A file that is no plug-in is one error, not a failure of every group.
    if (line.status == CheckStatus::Fail && line.what == kLibraryLoadsCheck)
      child.unusable = line.figure;
    ReportedLine reported{line, child.lastStep, ""};
    if (line.status == CheckStatus::Fail && !child.lastStep.reproduce.empty())
      reported.renderOptions = child.lastStep.reproduce + child.trail.renderOptions();
    child.lines.push_back(reported);
  }
  if (child.hungSeconds > 0) outcome->kind = GroupOutcome::TimedOut;
  return child;
}

// The commands that run a failed check again: the render that reproduces its step where there is
// one, and the validator on that check alone (the whole group when `check` is empty).
void printReproduce(const ValidateOptions& options, const std::string& group,
                    const std::string& check, const std::string& renderOptions, std::ostream& out) {
  if (renderOptions == kNoRenderReproduces)
    out << "      reproduce: no render: the values it came out with, set in a fresh instance, "
           "do not bring it back (it depends on what came before them); the line below does\n";
  else if (!renderOptions.empty())
    out << "      reproduce: ferrowin-host render " << options.pluginPath << " " << renderOptions
        << "\n";
  out << "      reproduce: ferrowin-host validate " << options.pluginPath << " --group " << group;
  if (!check.empty()) out << " --check \"" << check << "\"";
  out << " --level " << options.level << " --seed " << options.seed << "\n";
}

// The line for a child that crashed or hung: blamed on the step it was in, with the render
// line that reproduces it when the step gives one.
void reportEnding(const ValidateOptions& options, const std::string& group,
                  const ChildReport& child, const GroupOutcome& outcome, double limitSeconds,
                  std::ostream& out, Tally& tally) {
  CheckLine line;
  line.what = outcome.kind == GroupOutcome::TimedOut ? "hung" : "crashed";
  line.figure = ending(outcome, limitSeconds);
  if (child.lastStep.index >= 0) {
    line.what += " in \"" + child.lastStep.what + "\"";
    // Values no host sends: a plug-in that trusts its host is doubtful, not wrong.
    if (child.lastStep.doubtful) line.status = CheckStatus::Warn;
  } else if (!child.lines.empty()) {
    line.figure += ", after \"" + child.lines.back().line.what + "\"";
  }
  const std::string message = consoleMessage(outcome.console);
  if (!message.empty() && outcome.kind != GroupOutcome::TimedOut)
    line.figure += " (" + message + ")";
  tally.print(out, group, line);
  const std::string render = child.lastStep.reproduce.empty()
                                 ? ""
                                 : child.lastStep.reproduce + child.trail.renderOptions();
  printReproduce(options, group, child.lastStep.index >= 0 ? child.lastStep.what : "", render, out);
}

// Children started after crashes and hangs in one group; a plug-in that crashes at every step
// would otherwise take one child per step.
constexpr int kMaxCarryOns = 3;
// Least time left of the group's limit worth a new child.
constexpr double kLeastChildSeconds = 1.0;

// Runs one group; returns why the file is no plug-in when the group found that, else "". After
// a crash or a hang in a step, a new child carries on with the steps after it, within what is
// left of the group's time limit; not after the whole limit ran out.
std::string runGroup(const ValidateOptions& options, const std::string& group, double limitSeconds,
                     std::ostream& out, Tally& tally) {
  const auto start = std::chrono::steady_clock::now();
  int afterStep = -1;
  for (int carryOns = 0;; ++carryOns) {
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    const double childLimit = limitSeconds - spent.count();
    GroupOutcome outcome;
    const ChildReport child = runChild(options, group, afterStep, childLimit, &outcome);
    if (!child.unusable.empty()) return child.unusable;
    for (const ReportedLine& reported : child.lines) {
      tally.print(out, group, reported.line);
      if (reported.line.status != CheckStatus::Fail) continue;
      // An exception belongs to the step it came out of.
      const bool exception = reported.line.what == kExceptionCheck;
      printReproduce(options, group, exception ? reported.step.what : reported.line.what,
                     reported.renderOptions, out);
    }
    const bool ended = child.finished && outcome.kind == GroupOutcome::Exited && outcome.code == 0;
    if (!ended) {
      const double waited = child.hungSeconds > 0 ? child.hungSeconds : childLimit;
      reportEnding(options, group, child, outcome, waited, out, tally);
      const bool progress = child.lastStep.index > afterStep;
      const bool early = outcome.kind == GroupOutcome::Crashed || child.hungSeconds > 0;
      const std::chrono::duration<double> total = std::chrono::steady_clock::now() - start;
      const bool timeLeft = limitSeconds - total.count() >= kLeastChildSeconds;
      if (progress && early && timeLeft && carryOns < kMaxCarryOns) {
        afterStep = child.lastStep.index;
        continue;
      }
      if (progress && (early || outcome.kind == GroupOutcome::TimedOut))
        tally.print(out, group,
                    CheckLine{CheckStatus::Skip, "the steps after \"" + child.lastStep.what + "\"",
                              timeLeft ? "not run after " + std::to_string(kMaxCarryOns + 1) +
                                             " crashes and hangs"
                                       : "not run: the group's time is spent"});
    } else if (group == kValidationGroups[0].name &&
               (options.onlyCheck.empty() || options.onlyCheck == kQuietScanCheck)) {
      CheckLine line;
      // Chatter on the console bothers a host's user but harms nothing.
      line.status = outcome.console.empty() ? CheckStatus::Pass : CheckStatus::Warn;
      line.what = kQuietScanCheck;
      line.figure = std::to_string(outcome.console.size()) + " bytes";
      if (!outcome.console.empty()) line.figure += ": " + consoleMessage(outcome.console);
      tally.print(out, group, line);
    }
    return "";
  }
}

}  // namespace

// Enough for the slowest group of a well-behaved plug-in under Wine several times over, and
// short enough that a plug-in that hangs twice is done within a minute at the default level.
double groupTimeLimitSeconds(int level) { return 10.0 + 3.0 * level; }

// A third of the group's: far longer than any one call of a well-behaved plug-in takes (the
// longest, opening an instance or processing a block of 4096 frames on 64 channels, take well
// under a second natively), so that a group can lose two hangs and still carry on.
double stepTimeLimitSeconds(double groupLimitSeconds) { return groupLimitSeconds / 3.0; }

int runValidate(const ValidateOptions& options, std::ostream& out, std::ostream& err) {
  // Asked before any child opens it: a FIFO would block the opener past every time limit.
  const std::string problem = PluginLibrary::fileProblem(options.pluginPath);
  if (!problem.empty()) {
    err << "error: " << problem << "\n";
    return 1;
  }
  const double limitSeconds =
      options.timeoutSeconds > 0 ? options.timeoutSeconds : groupTimeLimitSeconds(options.level);
  ValidateOptions run = options;
  if (!options.inProcess) run.stepLimitSeconds = stepTimeLimitSeconds(limitSeconds);
  out << "validating " << options.pluginPath << " at level " << options.level << ", seed "
      << options.seed << "\n";
  Tally tally;
  std::string times;
  std::vector<std::pair<std::string, double>> groupSeconds;
  for (int i = 0; i < kValidationGroupCount; ++i) {
    if (!options.onlyGroup.empty() && options.onlyGroup != kValidationGroups[i].name) continue;
    const auto start = std::chrono::steady_clock::now();
    const std::string unusable = runGroup(run, kValidationGroups[i].name, limitSeconds, out, tally);
    if (!unusable.empty()) {
      err << "error: " << unusable << "\n";
      return 1;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    times += std::string(times.empty() ? "" : ", ") + kValidationGroups[i].name + " " +
             fixed(seconds.count(), 1);
    groupSeconds.emplace_back(kValidationGroups[i].name, seconds.count());
  }
  if (!options.onlyCheck.empty() && tally.lines.empty()) {
    err << "error: the group " << options.onlyGroup << " has no check named \"" << options.onlyCheck
        << "\"\n";
    return 2;
  }
  out << "seconds per group: " << times << "\n";
  out << tally.passed << " passed, " << tally.failed << " failed, " << tally.warned
      << " warnings\n";
  if (!options.jsonPath.empty() && !writeJson(options, tally, groupSeconds)) {
    err << "error: cannot write " << options.jsonPath << "\n";
    return 1;
  }
  return tally.failed == 0 ? 0 : 1;
}

int runValidateGroup(const std::string& group, const ValidateOptions& options,
                     const std::string& reportPath, int afterStep) {
  reportCrashesByExitCode();
  return runGroupHere(group, options, reportPath, afterStep);
}

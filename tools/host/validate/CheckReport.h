// The results of one group of validation checks, one line per check. A group runs in a child
// process and writes each line to its report file as soon as it is known, so that the lines
// before a crash survive it.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// The check a plug-in's exception fails: it belongs to whatever check was running, so it is
// written whichever check a run keeps.
inline constexpr char kExceptionCheck[] = "the plug-in threw an exception";

// Parameters a trail keeps track of; a plug-in may declare absurd counts.
inline constexpr int kMaxTrailParameters = 100000;

// Warn: doubtful but not wrong (a host copes); it does not fail the run.
enum class CheckStatus { Pass, Fail, Skip, Warn };

class CheckReport {
 public:
  // Writes to `file` (not owned); null keeps the lines only in the counts.
  explicit CheckReport(std::FILE* file) : file(file) {}

  void add(CheckStatus status, const std::string& what, const std::string& figure);
  void check(bool ok, const std::string& what, const std::string& figure) {
    add(ok ? CheckStatus::Pass : CheckStatus::Fail, what, figure);
  }
  // Passes when `ok`, else warns.
  void doubt(bool ok, const std::string& what, const std::string& figure) {
    add(ok ? CheckStatus::Pass : CheckStatus::Warn, what, figure);
  }
  void skip(const std::string& what, const std::string& reason) {
    add(CheckStatus::Skip, what, reason);
  }
  // Marks the start of a step, a unit of work that a crash or hang is blamed on: what it does,
  // whether a crash there is only doubtful (values no host sends), and the render options that
  // reproduce it. False when the step is to be skipped: a new child carrying on after a step
  // that crashed an earlier one skips the steps up to it.
  bool step(const std::string& what, bool doubtful = false, const std::string& reproduce = "");
  void skipStepsThrough(int index) { firstStep = index + 1; }
  // Keeps only the check named `what`: its steps run and its lines are written, no other's.
  void keepOnly(const std::string& what) { onlyCheck = what; }
  // With a check kept alone, the steps before it run too, unreported, as in a whole run: a
  // group whose steps share one instance calls this, since a step may fail only after them.
  void runStepsBeforeTheKeptOne() { rehearsing = true; }
  // Called with the index of each step that runs, before its work.
  void onStep(std::function<void(int)> starting) { stepStarting = std::move(starting); }
  // The trail of parameter values, so that the render line of a crash or hang sets the values
  // the plug-in had: each parameter's name once, then every value set.
  void parameterName(int index, const std::string& name);
  void parameterValue(int index, float value);
  // Whether the failure just reported comes back in a fresh instance given only the parameter
  // values its render line sets, so that the render line shows it.
  void renderReproduces(bool reproduces);
  // The marker a group writes when it ran to its end.
  void finish();
  // The marker of a child that ended itself after `seconds` without an answer from the plug-in.
  void hung(double seconds);

  int failures() const { return failed; }

 private:
  std::FILE* file;
  int failed = 0;
  int steps = 0;
  int firstStep = 0;
  std::string onlyCheck;
  bool rehearsing = false;
  bool keptStepReached = false;
  bool lastLineKept = false;  // whether the last check reported was written
  std::function<void(int)> stepStarting;
};

// A step's line in the report file.
struct StepLine {
  int index = -1;
  bool doubtful = false;
  std::string what;
  std::string reproduce;  // render options, or empty
};
bool parseStepLine(const std::string& line, StepLine* parsed);

// The render options that set the parameters to the last values of a report's trail, in
// index order: --set "NAME=VALUE" ...
class ParameterTrail {
 public:
  // Takes a line of a report file; false when it is not a trail line.
  bool read(const std::string& line);
  std::string renderOptions() const;

 private:
  std::vector<std::string> names;
  std::vector<std::string> values;  // as written, empty when never set
};

// One line of a report file: "PASS", "FAIL", "SKIP" or "WARN", what was checked and the figure.
struct CheckLine {
  CheckStatus status = CheckStatus::Fail;
  std::string what;
  std::string figure;
};

// Parses one line of a report file; false for the end marker and for anything malformed.
bool parseCheckLine(const std::string& line, CheckLine* parsed);
bool isFinishLine(const std::string& line);
// The answer of a renderReproduces line; false for any other line.
bool parseRenderReproducesLine(const std::string& line, bool* reproduces);
// The seconds of a hang marker; false for any other line.
bool parseHungLine(const std::string& line, double* seconds);
// "PASS  group: what: figure", as the validator prints it.
std::string formatCheckLine(const std::string& group, const CheckLine& line);
// "3.25" style figures.
std::string fixed(double value, int decimals);

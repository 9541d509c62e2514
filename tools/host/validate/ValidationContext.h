// What every group of validation checks shares inside its child process: the options, the one
// loaded library, the host callback and a seeded random source.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CheckReport.h"
#include "HostCallback.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

// The check that fails when the file is no plug-in (not a library, or no entry point): the
// validator then stops with that one error.
inline constexpr char kLibraryLoadsCheck[] = "library loads";

struct ValidateOptions {
  std::string pluginPath;
  int level = 5;              // 1..10: how much work each check does
  unsigned seed = 1;          // random values, noise and parameter changes
  double timeoutSeconds = 0;  // time limit per group; 0 chooses one by level
  std::string onlyGroup;      // run this group alone; empty runs them all
  std::string onlyCheck;      // in that group, run and report this check alone (as it is named)
  std::string jsonPath;       // where the results go for machines; empty writes none
  bool inProcess = false;     // groups run in this process (for a debugger): no time limit
  // A group's child ends itself after this long without an answer from the plug-in; 0: never.
  double stepLimitSeconds = 0;
};

class ValidationContext {
 public:
  explicit ValidationContext(const ValidateOptions& options)
      : options(options), random(options.seed) {}

  // Loads the library once; false with `error` set when it cannot be loaded.
  bool load(std::string* error);
  // A new effect from the entry point, opened, with the rate and block size set and processing
  // off; null when the entry point gives no valid record.
  std::unique_ptr<PluginInstance> open(float rateHz = 44100.0f, int blockFrames = 512);
  // Gives the plug-in a rate and block size (while it is suspended), and the host's answers to
  // its questions the same values, so that the time record agrees with what it was told.
  void setRate(PluginInstance& plugin, float rateHz, int blockFrames);
  // Loads and opens as above; a failure of either is reported as a failed check.
  std::unique_ptr<PluginInstance> openChecked(CheckReport& report, float rateHz = 44100.0f,
                                              int blockFrames = 512);

  // Sets `count` parameters chosen at random to random values 0..1, each written to the trail
  // when there is one. With `toEnds`, half the values are an end of the range instead (0 or 1):
  // faults hide where several parameters sit at their extremes at once (the longest times, the
  // highest gain), which uniform values rarely reach together.
  void changeParameters(PluginInstance& plugin, int count, bool toEnds = false);
  // Sets every parameter to an end of its range: corner 0 all at 0, 1 all at 1, 2 the odd ones at
  // 1, 3 the even ones at 1.
  void setCorner(PluginInstance& plugin, int corner);
  // The last value set through the two calls above since keepTrail, per parameter; NaN where
  // none was.
  const std::vector<float>& valuesSet() const { return lastValues; }
  // Where changeParameters leaves its trail (see CheckReport::parameterValue), or null; the
  // parameters' names are written at once.
  void keepTrail(PluginInstance& plugin, CheckReport* report);
  float uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
  }
  int uniformInt(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  }

  const ValidateOptions options;
  std::mt19937 random;
  HostCallback host;
  PluginLibrary library;

 private:
  void set(PluginInstance& plugin, int index, float value);

  bool loaded = false;
  CheckReport* trail = nullptr;
  std::vector<float> lastValues;
};

// Switches processing off or on (effMainsChanged).
void setProcessing(PluginInstance& plugin, bool on);

// What the edit command adds for measuring the editor's cost: parameters automated at a steady
// rate, as a host plays back automation, and the CPU time the process uses per second of each
// phase (editor open, editor closed), so that anyone can repeat the figures.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "VstInterface.h"

struct AutomationOptions {
  double rateHz = 0.0;           // > 0: automate at this rate; 0: no automation
  std::vector<int32_t> indices;  // the parameters automated; empty: all of the plug-in's
  bool measureCpu = false;       // print the CPU time per second of each phase
};

// Parses "0,5,15" (parameter indices) for --parameters; throws std::invalid_argument.
std::vector<int32_t> parseParameterList(const std::string& text);

class EditAutomation {
 public:
  explicit EditAutomation(const AutomationOptions& options);

  bool automates() const { return options.rateHz > 0.0; }
  // Throws std::runtime_error naming a listed index that the effect does not have.
  void checkIndices(const AEffect* effect) const;
  // Milliseconds between two steps.
  uint32_t periodMs() const;
  // Every automated parameter takes its next value: triangles of a two-second period, each
  // parameter a little ahead of the one before, so that every control moves at each step.
  void step(AEffect* effect);

  // A measured phase starts now; its end prints "cpu: NAME: X ms/s over S s".
  void beginPhase();
  void endPhase(const char* name, std::ostream& out);
  // After the editor closed: as long as the last phase lasted, the same automation without
  // the editor, measured as "editor closed". Between steps the host waits with wait(ms), which
  // serves its window: a host's own loop goes on while a plug-in's editor is closed, and its
  // cost is not the editor's.
  void runWithoutEditor(AEffect* effect, std::ostream& out,
                        const std::function<void(uint32_t)>& wait);

 private:
  AutomationOptions options;
  uint64_t steps = 0;
  uint64_t phaseStartCpu100ns = 0;
  uint64_t phaseStartWallMs = 0;
  uint64_t lastPhaseMs = 0;
};

// Programs: every program can be chosen and played, and a program chosen after others sounds as
// it does when it is the first chosen in a fresh instance. A host restoring a session chooses
// the program saved with it after whatever the user played before, so a program that depends on
// the one before it brings back another sound. As for chunks, the sound decides where the
// plug-in is repeatable (values alone may differ in a parameter the program leaves unused); the
// values decide where it is not.
#include <algorithm>
#include <cmath>

#include "AudioBench.h"
#include "SoundComparison.h"
#include "ValidationGroups.h"

namespace {

constexpr int kBlockFrames = 512;
constexpr int kMaxPrograms = 128;
// Programs compared with a fresh instance each: each costs an instance.
constexpr int kComparedPrograms = 4;

// The program chosen at position `i` of a tour of all `programs`: far from the one before it,
// and every program once.
VstInt32 tourProgram(VstInt32 i, VstInt32 programs) {
  const VstInt32 stride = programs % 7 == 0 ? 1 : 7;
  return (i * stride + 1) % programs;
}

std::vector<float> parameterValues(PluginInstance& plugin) {
  std::vector<float> values;
  for (VstInt32 i = 0; i < plugin.record()->numParams; ++i)
    values.push_back(plugin.getParameter(i));
  return values;
}

void checkChoosing(PluginInstance& plugin, VstInt32 programs, CheckReport& report) {
  const char what[] = "every program can be chosen and played";
  if (!report.step(what)) return;
  AudioBench bench(*plugin.record(), kBlockFrames);
  std::mt19937 random(3);
  BlockScan scan;
  int refused = 0;
  std::string firstRefused;
  for (VstInt32 i = 0; i < programs; ++i) {
    const VstInt32 program = tourProgram(i, programs);
    plugin.dispatch(effSetProgram, 0, program);
    const VstIntPtr chosen = plugin.dispatch(effGetProgram);
    if (chosen != program && refused++ == 0)
      firstRefused = ", first " + std::to_string(program) + " gave " + std::to_string(chosen);
    setProcessing(plugin, true);
    bench.run(plugin, kBlockFrames, false, random, &scan);
    setProcessing(plugin, false);
  }
  plugin.dispatch(effSetProgram, 0, 0);
  report.check(refused == 0 && scan.clean(), what,
               std::to_string(programs) + " programs, " + std::to_string(refused) + " not chosen" +
                   firstRefused + ", " + scan.figure());
}

void checkHistory(ValidationContext& context, VstInt32 programs, bool repeatable,
                  CheckReport& report) {
  const char what[] = "a program chosen after others sounds as when chosen first";
  if (!report.step(what)) return;
  std::unique_ptr<PluginInstance> tour = context.open();
  if (!tour) return;
  const int compared = std::min<int>(kComparedPrograms, programs - 1);
  int differing = 0;
  std::string first;
  float difference = 0.0f;
  // Position 0 of the tour follows only the fresh instance's own program.
  for (VstInt32 i = 0; i <= compared; ++i) {
    const VstInt32 program = tourProgram(i, programs);
    tour->dispatch(effSetProgram, 0, program);
    if (i == 0) continue;
    std::unique_ptr<PluginInstance> fresh = context.open();
    if (!fresh) return;
    fresh->dispatch(effSetProgram, 0, program);
    const std::vector<float> expected = parameterValues(*fresh);
    const std::vector<float> found = parameterValues(*tour);
    for (size_t p = 0; p < expected.size(); ++p) {
      if (std::fabs(expected[p] - found[p]) <= kSameParameterValue) continue;
      if (differing++ == 0)
        first = ", first: program " + std::to_string(program) + " after " +
                std::to_string(tourProgram(i - 1, programs)) + ", parameter " +
                parameterName(*tour, static_cast<VstInt32>(p)) + " " + fixed(found[p], 4) +
                " instead of " + fixed(expected[p], 4);
    }
    if (repeatable)
      difference =
          std::max(difference, largestDifference(renderNoise(*fresh, 7), renderNoise(*tour, 7)));
  }
  std::string figure = std::to_string(compared) + " programs compared, " +
                       std::to_string(differing) + " values differ" + first;
  CheckStatus status = differing == 0 ? CheckStatus::Pass : CheckStatus::Warn;
  if (repeatable) {
    if (difference > kSameOutput) status = CheckStatus::Fail;
    figure += ", " + differenceFigure(difference);
  } else if (differing > 0) {
    status = CheckStatus::Fail;
  }
  report.add(status, what, figure);
}

}  // namespace

void checkPrograms(ValidationContext& context, PluginInstance& plugin, bool repeatable,
                   CheckReport& report) {
  const VstInt32 programs = std::min(plugin.record()->numPrograms, kMaxPrograms);
  if (programs < 2) {
    report.skip("program checks", std::to_string(plugin.record()->numPrograms) + " programs");
    return;
  }
  checkChoosing(plugin, programs, report);
  if (plugin.record()->numParams <= 0)
    return report.skip("programs chosen after others", "no parameters to compare");
  checkHistory(context, programs, repeatable, report);
}

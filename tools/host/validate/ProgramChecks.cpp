// Programs: every program can be chosen and played, and a program chosen after another sounds as
// it does when it is the first chosen in a fresh instance. A host restoring a session chooses
// the program saved with it after whatever the user played before, so a program that depends on
// the one before it brings back another sound (see compareStates).
#include <algorithm>

#include "AudioBench.h"
#include "SoundComparison.h"
#include "ValidationGroups.h"

namespace {

constexpr int kBlockFrames = 512;
constexpr int kMaxPrograms = 128;
// Programs compared, each after the one before it in the tour: each costs three instances.
constexpr int kComparedPrograms = 3;

// The program chosen at position `i` of a tour of all `programs`: far from the one before it,
// and every program once.
VstInt32 tourProgram(VstInt32 i, VstInt32 programs) {
  const VstInt32 stride = programs % 7 == 0 ? 1 : 7;
  return (i * stride + 1) % programs;
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

void checkHistory(ValidationContext& context, VstInt32 programs, CheckReport& report) {
  const char what[] = "a program chosen after another sounds as when chosen first";
  if (!report.step(what)) return;
  const int compared = std::min<int>(kComparedPrograms, programs - 1);
  StateComparison worst;
  std::string pair;
  // Each pair in instances of their own: sound rendered for one program would still ring, or
  // hold its notes, in the next.
  for (VstInt32 i = 1; i <= compared; ++i) {
    const VstInt32 before = tourProgram(i - 1, programs);
    const VstInt32 program = tourProgram(i, programs);
    std::unique_ptr<PluginInstance> fresh = context.open();
    std::unique_ptr<PluginInstance> after = context.open();
    std::unique_ptr<PluginInstance> control = context.open();
    if (!fresh || !after || !control) return;
    fresh->dispatch(effSetProgram, 0, program);
    for (PluginInstance* chosen : {after.get(), control.get()}) {
      chosen->dispatch(effSetProgram, 0, before);
      chosen->dispatch(effSetProgram, 0, program);
    }
    const StateComparison comparison = compareStates(*fresh, *after, *control);
    if (i == 1 || comparison.status == CheckStatus::Fail ||
        (comparison.status == CheckStatus::Warn && worst.status == CheckStatus::Pass)) {
      worst = comparison;
      pair = "program " + std::to_string(program) + " after " + std::to_string(before) + ": ";
    }
    if (worst.status == CheckStatus::Fail) break;
  }
  report.add(worst.status, what,
             std::to_string(compared) + " pairs compared, " + pair + worst.figure);
}

}  // namespace

void checkPrograms(ValidationContext& context, PluginInstance& plugin, CheckReport& report) {
  const VstInt32 programs = std::min(plugin.record()->numPrograms, kMaxPrograms);
  if (programs < 2) {
    report.skip("program checks", std::to_string(plugin.record()->numPrograms) + " programs");
    return;
  }
  checkChoosing(plugin, programs, report);
  checkHistory(context, programs, report);
}

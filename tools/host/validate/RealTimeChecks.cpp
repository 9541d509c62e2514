// Real-time: no heap allocation inside processReplacing, across parameter changes, notes and
// sample-rate changes between the calls. Counted by the allocation hook (native builds) on the
// calling thread only: a plug-in's own worker threads may allocate as they please.
#include "AllocationHook.h"
#include "AudioBench.h"
#include "ValidationGroups.h"

void checkRealTime(ValidationContext& context, CheckReport& report) {
  if (!allocationHookAvailable())
    return report.skip("no allocation in processReplacing",
                       "this build has no allocation hook (native builds count)");
  constexpr int kBlockFrames = 1024;
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report, 44100.0f, kBlockFrames);
  if (!plugin) return;
  PluginInstance& p = *plugin;
  AudioBench bench(*p.record(), kBlockFrames);
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof note - 8;
  VstEvents list{};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&note);

  long calls = 0;
  long allocations = 0;
  BlockScan scan;
  for (float rateHz : {44100.0f, 96000.0f, 48000.0f}) {
    setProcessing(p, false);
    context.setRate(p, rateHz, kBlockFrames);
    setProcessing(p, true);
    for (int block = 0; block < 10 * context.options.level; ++block) {
      context.changeParameters(p, 3);
      note.midiData[0] = static_cast<char>(block % 2 ? 0x80 : 0x90);
      note.midiData[1] = static_cast<char>(context.uniformInt(24, 108));
      note.midiData[2] = 100;
      p.dispatch(effProcessEvents, 0, 0, &list);
      const int frames = context.uniformInt(1, kBlockFrames);
      // The host's record of callbacks keeps its room: a plug-in that asks the host something
      // while processing must not see the validator's own bookkeeping allocate.
      context.host.clear();
      bench.countAllocations = true;
      bench.run(p, frames, block % 3 == 0, context.random, &scan);
      bench.countAllocations = false;
      ++calls;
    }
  }
  allocations = scan.allocations;
  report.check(allocations == 0, "no allocation in processReplacing",
               std::to_string(allocations) + " allocations in " + std::to_string(calls) +
                   " calls (parameter changes, notes, 3 sample rates)");
  setProcessing(p, false);
}

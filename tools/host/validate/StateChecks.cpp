// State: what an instance keeps and what it must not share. A bank chunk taken from one
// instance and given to a fresh one brings back its parameters and its sound; every program can
// be chosen and played; two instances interleaved in one process sound as each alone; resuming
// starts the sound afresh (a plug-in that keeps its tail over a resume is only doubtful); a
// program sounds the same whichever came before (see ProgramChecks.cpp);
// processing on a thread of its own while a third thread sets parameters; and silence after
// noise leaves a tail that dies away without subnormal values.
//
// Output is compared only where the plug-in is repeatable: two fresh instances given the same
// noise must agree first, since a plug-in may seed its own noise or dither from the clock.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>

#include "AudioBench.h"
#include "SoundComparison.h"
#include "ValidationGroups.h"

namespace {

constexpr int kBlockFrames = 512;
constexpr int kTailBlocks = 200;  // about 2.3 s at 44100 Hz
// A tail decays when it falls by half (6 dB) over those 2.3 s, a reverberation time of 28 s, or
// is below -80 dBFS by then.
constexpr float kTailFall = 0.5f;
constexpr float kTailFloor = 1e-4f;

void checkChunkRoundTrip(ValidationContext& context, const AEffect& record, CheckReport& report) {
  const char what[] = "a bank chunk restores parameters and sound in a fresh instance";
  if (!(record.flags & effFlagsProgramChunks)) {
    report.skip(what, "no chunks (effFlagsProgramChunks)");
    return;
  }
  if (!report.step(what)) return;
  // Fresh too, so that no sound it made before (a compressor's envelope, a reverberation's
  // tail, which may last over a resume) sets it apart from the copy.
  std::unique_ptr<PluginInstance> fresh = context.open();
  if (!fresh) return;
  PluginInstance& source = *fresh;
  for (VstInt32 i = 0; i < source.record()->numParams; ++i)
    source.setParameter(i, context.uniform(0.0f, 1.0f));
  void* data = nullptr;
  const VstIntPtr size = source.dispatch(effGetChunk, 0, 0, &data);
  if (size <= 0 || data == nullptr) {
    report.check(false, what, "effGetChunk gave " + std::to_string(size) + " bytes");
    return;
  }
  // The plug-in owns its chunk only until its next call.
  const std::vector<char> chunk(static_cast<const char*>(data),
                                static_cast<const char*>(data) + size);
  std::unique_ptr<PluginInstance> copy = context.open();
  std::unique_ptr<PluginInstance> control = context.open();
  if (!copy || !control) return;
  for (PluginInstance* restored : {copy.get(), control.get()}) {
    std::vector<char> given = chunk;
    restored->dispatch(effSetChunk, 0, static_cast<VstIntPtr>(given.size()), given.data());
  }
  const StateComparison comparison = compareStates(source, *copy, *control);
  report.add(comparison.status, what, std::to_string(size) + " bytes, " + comparison.figure);
}

void checkInterleaved(ValidationContext& context, CheckReport& report,
                      const std::vector<float>& alone) {
  const char what[] = "two instances interleaved block by block sound as one alone";
  if (!report.step(what)) return;
  std::unique_ptr<PluginInstance> first = context.open();
  std::unique_ptr<PluginInstance> second = context.open();
  if (!first || !second) return;
  AudioBench firstBench(*first->record(), kBlockFrames);
  AudioBench secondBench(*second->record(), kBlockFrames);
  std::mt19937 firstRandom(5);
  std::mt19937 secondRandom(5);
  std::vector<float> firstOutput;
  std::vector<float> secondOutput;
  BlockScan scan;
  setProcessing(*first, true);
  setProcessing(*second, true);
  holdChord(*first);
  holdChord(*second);
  for (int i = 0; i < kCompareBlocks; ++i) {
    firstBench.run(*first, kBlockFrames, false, firstRandom, &scan);
    firstBench.appendOutput(kBlockFrames, &firstOutput);
    secondBench.run(*second, kBlockFrames, false, secondRandom, &scan);
    secondBench.appendOutput(kBlockFrames, &secondOutput);
  }
  setProcessing(*first, false);
  setProcessing(*second, false);
  const float difference =
      std::max(largestDifference(alone, firstOutput), largestDifference(alone, secondOutput));
  report.check(difference <= kSameOutput, what, differenceFigure(difference));
}

void checkResume(PluginInstance& plugin, CheckReport& report, const std::vector<float>& fresh) {
  const char what[] = "suspend and resume start the sound afresh";
  if (!report.step(what)) return;
  renderNoise(plugin, 9, kCompareBlocks);
  const float difference = largestDifference(fresh, renderNoise(plugin, 5, kCompareBlocks));
  report.doubt(difference <= kSameOutput, what,
               difference <= kSameOutput
                   ? differenceFigure(difference)
                   : "keeps its state over a resume, " + differenceFigure(difference));
}

void checkOtherThreads(ValidationContext& context, CheckReport& report) {
  const char what[] = "processing on a thread of its own while a third sets parameters";
  if (!report.step(what)) return;
  std::unique_ptr<PluginInstance> plugin = context.open();
  if (!plugin) return;
  PluginInstance& p = *plugin;
  BlockScan scan;
  std::atomic<bool> processing{true};
  std::thread audio([&p, &scan, &processing, blocks = 8 * context.options.level] {
    AudioBench bench(*p.record(), kBlockFrames);
    std::mt19937 random(11);
    setProcessing(p, true);
    holdChord(p);
    for (int i = 0; i < blocks; ++i) bench.run(p, kBlockFrames, false, random, &scan);
    setProcessing(p, false);
    processing = false;
  });
  std::thread control([&p, &processing] {
    std::mt19937 random(13);
    const int parameters = p.record()->numParams;
    for (long changes = 0; parameters > 0 && (processing || changes < 64); ++changes) {
      const float value = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
      p.setParameter(std::uniform_int_distribution<int>(0, parameters - 1)(random), value);
    }
  });
  audio.join();
  control.join();
  report.check(scan.clean(), what, scan.figure());
}

void checkTail(ValidationContext& context, CheckReport& report) {
  const char what[] = "silence after noise leaves a tail that decays without subnormals";
  if (!report.step(what)) return;
  std::unique_ptr<PluginInstance> plugin = context.open();
  if (!plugin) return;
  AudioBench bench(*plugin->record(), kBlockFrames);
  BlockScan scan;
  setProcessing(*plugin, true);
  holdChord(*plugin);
  for (int i = 0; i < kCompareBlocks; ++i)
    bench.run(*plugin, kBlockFrames, false, context.random, &scan);
  // An instrument's tail starts when its notes end.
  holdChord(*plugin, false);
  bench.silentInput = true;
  BlockScan firstSilent;
  BlockScan lastSilent;
  for (int i = 0; i < kTailBlocks; ++i) {
    BlockScan block;
    bench.run(*plugin, kBlockFrames, false, context.random, &block);
    scan.add(block);
    if (i == 0) firstSilent = block;
    lastSilent = block;
  }
  setProcessing(*plugin, false);
  const bool decays = lastSilent.peak <= std::max(kTailFall * firstSilent.peak, kTailFloor);
  report.check(scan.clean() && decays, what,
               scan.figure() + ", tail peak " + fixed(firstSilent.peak, 6) + " falling to " +
                   fixed(lastSilent.peak, 6));
}

}  // namespace

void checkState(ValidationContext& context, CheckReport& report) {
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report);
  if (!plugin) return;
  std::unique_ptr<PluginInstance> twin = context.open();
  if (!twin) return;
  const std::vector<float> alone = renderNoise(*plugin, 5, kCompareBlocks);
  const bool repeatable = largestDifference(alone, renderNoise(*twin, 5, kCompareBlocks)) <= 0.0f;
  twin.reset();

  if (repeatable) {
    checkInterleaved(context, report, alone);
    checkResume(*plugin, report, alone);
  } else {
    report.skip("two instances interleaved and resume", "two fresh instances sound different");
  }
  // This changes the program, so it comes after the comparisons with the defaults.
  checkChunkRoundTrip(context, *plugin->record(), report);
  checkPrograms(context, *plugin, report);
  checkOtherThreads(context, report);
  checkTail(context, report);
}

// Processing: every common sample rate (and 8 kHz at the higher levels) and block sizes from
// 1 frame up, powers of two and not (hosts use 100, 441 and 1000 too), white noise in place and
// out of place, with parameter changes every 32 frames, starting from a corner of the parameters'
// ranges and often landing on an end; no NaN, infinity or subnormal in any output and no write
// outside the block.
#include <cmath>

#include "AudioBench.h"
#include "EventList.h"
#include "ValidationGroups.h"

namespace {

constexpr float kRatesHz[] = {8000.0f, 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f};
constexpr int kBlockSizes[] = {1, 32, 64, 100, 256, 441, 1000, 1024, 4096};
constexpr int kChangeFrames = 32;
// The level from which the telephone rate 8000 Hz is in the grid.
constexpr int kLowRateLevel = 7;
// The corners of ValidationContext::setCorner, which the cells start from in turn.
constexpr int kCorners = 4;

// The chord an instrument is given: C3 and a C major triad above it.
constexpr int kChordKeys[] = {48, 60, 64, 67};
constexpr int kChordVelocity = 100;

// The options after the plug-in of a render that processes as a step of the grid does; an
// instrument holds the chord through it.
std::string renderLine(const AEffect& record, int rateHz, int blockFrames) {
  std::string line = record.numInputs == 0 ? "out.wav --seconds 2 --rate " + std::to_string(rateHz)
                                           : "noise-" + std::to_string(rateHz) + "Hz.wav out.wav";
  line += " --block " + std::to_string(blockFrames);
  if (record.flags & effFlagsIsSynth)
    for (int key : kChordKeys)
      line += " --note 0:1.9:" + std::to_string(key) + ":" + std::to_string(kChordVelocity);
  return line;
}

// An instrument that stays silent with a chord held.
bool silentSynth(const PluginInstance& plugin, const BlockScan& scan) {
  return (plugin.record()->flags & effFlagsIsSynth) && scan.peak <= 0.0f;
}

}  // namespace

void holdChord(PluginInstance& plugin, bool held) {
  if (!(plugin.record()->flags & effFlagsIsSynth)) return;
  EventList chord;
  for (int key : kChordKeys) chord.midi(0, held ? 0x90 : 0x80, key, held ? kChordVelocity : 0);
  chord.send(plugin);
}

BlockScan processStretch(ValidationContext& context, PluginInstance& plugin, AudioBench& bench,
                         long frames, int blockFrames, bool inPlace, ParameterChanges changes) {
  holdChord(plugin);
  BlockScan scan;
  long sinceChange = 0;
  for (long done = 0; done < frames; done += blockFrames) {
    // After a fault the values stay, so that the last ones set are those it came out with.
    if (sinceChange >= kChangeFrames && changes != ParameterChanges::None && scan.clean()) {
      context.changeParameters(plugin, 2, changes == ParameterChanges::OftenAtEnds);
      sinceChange = 0;
    }
    bench.run(plugin, blockFrames, inPlace, context.random, &scan);
    context.host.advance(blockFrames);
    sinceChange += blockFrames;
  }
  return scan;
}

namespace {

// What a render writes of a plug-in's outputs: the first two.
constexpr size_t kRenderedOutputs = 2;

// A fresh instance at a cell's rate and block size, given `values` (NaN: left at its default),
// processing out of place as a render does, with no changes; only the outputs a render writes
// are scanned.
BlockScan freshStretch(ValidationContext& context, float rateHz, int blockFrames, long frames,
                       const std::vector<float>& values) {
  std::unique_ptr<PluginInstance> fresh = context.open(rateHz, blockFrames);
  if (!fresh) return BlockScan{};
  for (size_t i = 0; i < values.size(); ++i)
    if (!std::isnan(values[i])) fresh->setParameter(static_cast<VstInt32>(i), values[i]);
  AudioBench bench(*fresh->record(), blockFrames);
  bench.scannedOutputs = kRenderedOutputs;
  setProcessing(*fresh, true);
  const BlockScan scan =
      processStretch(context, *fresh, bench, frames, blockFrames, false, ParameterChanges::None);
  setProcessing(*fresh, false);
  return scan;
}

}  // namespace

void checkProcessing(ValidationContext& context, CheckReport& report) {
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report);
  if (!plugin) return;
  AudioBench bench(*plugin->record(), 4096);
  context.keepTrail(*plugin, &report);
  // A cell may fail only after the ones before it in the same instance.
  report.runStepsBeforeTheKeptOne();
  const long frames = 2048L * context.options.level;
  int cell = 0;
  for (float rateHz : kRatesHz) {
    if (rateHz < 22050.0f && context.options.level < kLowRateLevel) continue;
    for (int block : kBlockSizes) {
      const int corner = cell++ % kCorners;
      const std::string what = std::to_string(static_cast<int>(rateHz)) + " Hz, block " +
                               std::to_string(block) + ", out of place and in place";
      if (!report.step(what, false, renderLine(*plugin->record(), static_cast<int>(rateHz), block)))
        continue;
      setProcessing(*plugin, false);
      context.setRate(*plugin, rateHz, block);
      context.setCorner(*plugin, corner);
      setProcessing(*plugin, true);
      BlockScan scan = processStretch(context, *plugin, bench, frames, block, false,
                                      ParameterChanges::OftenAtEnds);
      scan.add(
          processStretch(context, *plugin, bench, frames, block, true,
                         scan.clean() ? ParameterChanges::OftenAtEnds : ParameterChanges::None));
      // Settings may silence an instrument (a volume at 0); only one silent at its defaults too
      // fails.
      const bool quiet = silentSynth(*plugin, scan);
      const bool silent =
          quiet && freshStretch(context, rateHz, block, 2 * frames, {}).peak <= 0.0f;
      report.check(scan.clean() && !silent, what,
                   scan.figure() + (silent  ? ", silent with a chord held, at its defaults too"
                                    : quiet ? ", silent at these settings, not at its defaults"
                                            : ""));
      // Whether the values the fault came out with bring it back alone: then the render line of
      // them shows it; where they do not, it depends on what came before them.
      if (!scan.clean() || silent) {
        const BlockScan again =
            freshStretch(context, rateHz, block, 2 * frames, context.valuesSet());
        report.renderReproduces(scan.clean() ? silentSynth(*plugin, again) : !again.clean());
        // A NaN caught in a feedback path stays there; the cells after it judge a fresh
        // instance, so that each failure is its own.
        setProcessing(*plugin, false);
        plugin = context.open();
        if (!plugin) return;
        context.keepTrail(*plugin, &report);
      }
    }
  }
  setProcessing(*plugin, false);
  context.keepTrail(*plugin, nullptr);
}

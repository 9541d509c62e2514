// Processing: every common sample rate (and 8 kHz at the higher levels) and block sizes from
// 1 frame up, powers of two and not (hosts use 100, 441 and 1000 too), white noise in place and
// out of place, with parameter changes every 32 frames; no NaN, infinity or subnormal in any
// output and no write outside the block.
#include "AudioBench.h"
#include "EventList.h"
#include "ValidationGroups.h"

namespace {

constexpr float kRatesHz[] = {8000.0f, 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f};
constexpr int kBlockSizes[] = {1, 32, 64, 100, 256, 441, 1000, 1024, 4096};
constexpr int kChangeFrames = 32;
// The level from which the telephone rate 8000 Hz is in the grid.
constexpr int kLowRateLevel = 7;

// The options after the plug-in of a render that processes as a step of the grid does.
std::string renderLine(const AEffect& record, int rateHz, int blockFrames) {
  const std::string block = " --block " + std::to_string(blockFrames);
  if (record.numInputs == 0) return "out.wav --seconds 2 --rate " + std::to_string(rateHz) + block;
  return "noise-" + std::to_string(rateHz) + "Hz.wav out.wav" + block;
}

}  // namespace

void holdChord(PluginInstance& plugin, bool held) {
  if (!(plugin.record()->flags & effFlagsIsSynth)) return;
  EventList chord;
  for (int key : {48, 60, 64, 67}) chord.midi(0, held ? 0x90 : 0x80, key, held ? 100 : 0);
  chord.send(plugin);
}

BlockScan processStretch(ValidationContext& context, PluginInstance& plugin, AudioBench& bench,
                         long frames, int blockFrames, bool inPlace) {
  holdChord(plugin);
  BlockScan scan;
  long sinceChange = 0;
  for (long done = 0; done < frames; done += blockFrames) {
    if (sinceChange >= kChangeFrames) {
      context.changeParameters(plugin, 2);
      sinceChange = 0;
    }
    bench.run(plugin, blockFrames, inPlace, context.random, &scan);
    context.host.advance(blockFrames);
    sinceChange += blockFrames;
  }
  return scan;
}

void checkProcessing(ValidationContext& context, CheckReport& report) {
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report);
  if (!plugin) return;
  AudioBench bench(*plugin->record(), 4096);
  context.keepTrail(*plugin, &report);
  const long frames = 2048L * context.options.level;
  for (float rateHz : kRatesHz) {
    if (rateHz < 22050.0f && context.options.level < kLowRateLevel) continue;
    for (int block : kBlockSizes) {
      const std::string what = std::to_string(static_cast<int>(rateHz)) + " Hz, block " +
                               std::to_string(block) + ", out of place and in place";
      if (!report.step(what, false, renderLine(*plugin->record(), static_cast<int>(rateHz), block)))
        continue;
      setProcessing(*plugin, false);
      context.setRate(*plugin, rateHz, block);
      setProcessing(*plugin, true);
      BlockScan scan = processStretch(context, *plugin, bench, frames, block, false);
      scan.add(processStretch(context, *plugin, bench, frames, block, true));
      const bool silentSynth = (plugin->record()->flags & effFlagsIsSynth) && scan.peak <= 0.0f;
      report.check(scan.clean() && !silentSynth, what,
                   scan.figure() + (silentSynth ? ", silent with a chord held" : ""));
    }
  }
  setProcessing(*plugin, false);
  context.keepTrail(*plugin, nullptr);
}

// Processing: every common sample rate and block size, white noise in place and out of place,
// with parameter changes every 32 frames; no NaN, infinity or subnormal in any output and no
// write outside the block.
#include "AudioBench.h"
#include "ValidationGroups.h"

namespace {

constexpr float kRatesHz[] = {44100.0f, 48000.0f, 96000.0f, 192000.0f};
constexpr int kBlockSizes[] = {1, 32, 64, 256, 1024, 4096};
constexpr int kChangeFrames = 32;

}  // namespace

BlockScan processStretch(ValidationContext& context, PluginInstance& plugin, AudioBench& bench,
                         long frames, int blockFrames, bool inPlace) {
  BlockScan scan;
  long sinceChange = 0;
  for (long done = 0; done < frames; done += blockFrames) {
    if (sinceChange >= kChangeFrames) {
      context.changeParameters(plugin, 2);
      sinceChange = 0;
    }
    bench.run(plugin, blockFrames, inPlace, context.random, &scan);
    sinceChange += blockFrames;
  }
  return scan;
}

void checkProcessing(ValidationContext& context, CheckReport& report) {
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report);
  if (!plugin) return;
  AudioBench bench(*plugin->record(), 4096);
  const long frames = 2048L * context.options.level;
  for (float rateHz : kRatesHz) {
    for (int block : kBlockSizes) {
      setProcessing(*plugin, false);
      plugin->dispatch(effSetSampleRate, 0, 0, nullptr, rateHz);
      plugin->dispatch(effSetBlockSize, 0, block);
      setProcessing(*plugin, true);
      BlockScan scan = processStretch(context, *plugin, bench, frames, block, false);
      scan.add(processStretch(context, *plugin, bench, frames, block, true));
      report.check(scan.clean(),
                   std::to_string(static_cast<int>(rateHz)) + " Hz, block " +
                       std::to_string(block) + ", out of place and in place",
                   scan.figure());
    }
  }
  setProcessing(*plugin, false);
}

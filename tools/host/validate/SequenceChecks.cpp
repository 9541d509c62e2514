// Host call sequences that real hosts produce: processing switched on and off around every
// start and switched on twice, the rate and block size changed between suspend and resume (the
// only time the interface allows; a plug-in may size its buffers at resume), blocks shorter than
// the block size and blocks of no frames.
#include "AudioBench.h"
#include "ValidationGroups.h"

namespace {
constexpr int kBlockFrames = 512;
}  // namespace

void checkSequences(ValidationContext& context, CheckReport& report) {
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report, 44100.0f, kBlockFrames);
  if (!plugin) return;
  PluginInstance& p = *plugin;
  AudioBench bench(*p.record(), 4096);
  const int starts = 2 + context.options.level;
  const long frames = 1024L * context.options.level;

  BlockScan scan;
  for (int i = 0; i < starts; ++i) {
    setProcessing(p, true);
    scan.add(processStretch(context, p, bench, frames, kBlockFrames, false));
    setProcessing(p, false);
  }
  report.check(scan.clean(),
               "effMainsChanged 0/1 around each of " + std::to_string(starts) + " starts",
               scan.figure());

  scan = BlockScan{};
  setProcessing(p, true);
  setProcessing(p, true);
  scan.add(processStretch(context, p, bench, frames, kBlockFrames, false));
  report.check(scan.clean(), "effMainsChanged 1 twice in a row", scan.figure());

  scan = BlockScan{};
  const std::pair<float, int> settings[] = {{96000.0f, 256},
                                            {22050.0f, 2048},
                                            {48000.0f, 100},
                                            {192000.0f, 4096},
                                            {44100.0f, kBlockFrames}};
  for (const auto& [rateHz, block] : settings) {
    setProcessing(p, false);
    context.setRate(p, rateHz, block);
    setProcessing(p, true);
    scan.add(processStretch(context, p, bench, frames, block, block % 2 == 0));
  }
  report.check(scan.clean(), "rate and block size changed with suspend and resume", scan.figure());

  scan = BlockScan{};
  for (long done = 0; done < frames;) {
    const int block = context.uniformInt(1, kBlockFrames - 1);
    bench.run(p, block, context.uniformInt(0, 1) == 1, context.random, &scan);
    done += block;
  }
  report.check(scan.clean(), "blocks shorter than the block size", scan.figure());

  scan = BlockScan{};
  for (int i = 0; i < 4 * starts; ++i) {
    bench.run(p, 0, i % 2 == 1, context.random, &scan);
    if (i % 4 == 3) bench.run(p, 64, false, context.random, &scan);
  }
  report.check(scan.clean(), "zero-length blocks write nothing", scan.figure());
  setProcessing(p, false);
}

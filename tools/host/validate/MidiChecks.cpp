// MIDI: storms of notes, all notes off, events placed beyond the block and records with
// malformed sizes or types.
#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

#include "AudioBench.h"
#include "EventList.h"
#include "ValidationGroups.h"

namespace {

constexpr int kBlockFrames = 256;

bool takesMidi(ValidationContext& context, PluginInstance& plugin) {
  return plugin.canDo("receiveVstMidiEvent") == 1 || plugin.canDo("receiveVstEvents") == 1 ||
         (plugin.record()->flags & effFlagsIsSynth) || context.host.count(audioMasterWantMidi) > 0;
}

}  // namespace

void checkMidi(ValidationContext& context, CheckReport& report) {
  context.host.clear();
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report, 44100.0f, kBlockFrames);
  if (!plugin) return;
  if (!takesMidi(context, *plugin))
    return report.skip("MIDI checks", "the plug-in neither asks for MIDI nor says it takes it");
  PluginInstance& p = *plugin;
  AudioBench bench(*p.record(), kBlockFrames);
  EventList events;
  setProcessing(p, true);
  const int blocks = 20 * context.options.level;

  BlockScan scan;
  long notes = 0;
  for (int block = 0; block < blocks; ++block) {
    const int count = context.uniformInt(32, 128);
    for (int i = 0; i < count; ++i) {
      const int status = (context.uniformInt(0, 1) ? 0x90 : 0x80) | context.uniformInt(0, 15);
      events.midi(context.uniformInt(0, kBlockFrames - 1), status, context.uniformInt(0, 127),
                  context.uniformInt(0, 127));
    }
    notes += count;
    events.send(p);
    bench.run(p, kBlockFrames, false, context.random, &scan);
  }
  report.check(scan.clean(), "note storm of " + std::to_string(notes) + " events", scan.figure());

  scan = BlockScan{};
  for (int key = 36; key < 96; key += 5) events.midi(0, 0x90, key, 100);
  events.send(p);
  bench.run(p, kBlockFrames, false, context.random, &scan);
  for (int channel = 0; channel < 16; ++channel) {
    events.midi(0, 0xB0 | channel, 123, 0);  // all notes off
    events.midi(1, 0xB0 | channel, 120, 0);  // all sound off
    events.midi(2, 0xB0 | channel, 126, 0);  // mono mode on
  }
  events.send(p);
  for (int block = 0; block < 4; ++block) bench.run(p, kBlockFrames, false, context.random, &scan);
  report.check(scan.clean(), "all notes off on every channel", scan.figure());

  scan = BlockScan{};
  for (VstInt32 delta : {kBlockFrames, kBlockFrames + 1000, -1, INT_MAX, INT_MIN}) {
    events.midi(delta, 0x90, 60, 100);
    events.midi(delta, 0x80, 60, 0);
    events.send(p);
    bench.run(p, kBlockFrames, false, context.random, &scan);
  }
  report.check(scan.clean(), "delta frames beyond the block", scan.figure());

  scan = BlockScan{};
  for (VstInt32 size : {0, -1, 8, 1 << 30, INT_MIN})
    events.add(kVstMidiType, size, 0, 0x90, 64, 90);
  for (VstInt32 type : {0, -1, 99, INT_MAX}) events.add(type, 24, 0, 0x90, 64, 90);
  events.add(kVstMidiType, 24, 0, 0xff, 0xff, 0xff);
  events.send(p);
  events.send(p);  // no events at all
  for (int block = 0; block < 4; ++block) bench.run(p, kBlockFrames, false, context.random, &scan);
  report.check(scan.clean(), "malformed event sizes, types and bytes", scan.figure());
  setProcessing(p, false);
}

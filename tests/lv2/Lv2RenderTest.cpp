// The LV2 build sounds exactly like the VST build: lv2apply against `ferrowin-host render` for
// several settings, and a MIDI note through the atom port against the same note through
// processEvents.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "HostTestFiles.h"
#include "Lv2Adapter.h"
#include "Lv2TestInstance.h"
#include "TestSignal.h"

namespace {

constexpr int kRateHz = 44100;

// One second.
std::vector<float> oneSecond() { return testSignal(kRateHz, kRateHz); }

struct Setting {
  const char* symbol;  // the LV2 port
  const char* name;    // the same parameter as ferrowin-host names it
  const char* value;   // normalized, 0..1, as both command lines read it
};

// How many samples differ in any bit, and the largest difference.
struct Difference {
  long samples = 0;
  double largest = 0.0;
};

Difference differenceOf(const std::vector<float>& a, const std::vector<float>& b) {
  Difference difference;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (std::memcmp(&a[i], &b[i], sizeof(float)) == 0) continue;
    ++difference.samples;
    difference.largest = std::max(difference.largest, std::fabs(double{a[i]} - double{b[i]}));
  }
  return difference;
}

// `ferrowin-host render` through the VST build's shared object.
std::vector<float> renderVst(const ScratchFolder& scratch, const std::vector<Setting>& settings,
                             int block, const std::vector<std::string>& notes = {}) {
  std::vector<std::string> command = {
      FERROWIN_HOST_PATH,      "render",  FERROWIN_VST_PATH,    scratch.path("in.wav"),
      scratch.path("vst.wav"), "--block", std::to_string(block)};
  for (const Setting& setting : settings)
    command.insert(command.end(), {"--set", std::string(setting.name) + "=" + setting.value});
  for (const std::string& note : notes) command.insert(command.end(), {"--note", note});
  const ChildResult result = runChild(command, scratch.path(""));
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return readFloatWav(scratch.path("vst.wav"));
}

// lv2apply (from the LV2 hosts' own tools) through the bundle.
std::vector<float> renderLv2apply(const ScratchFolder& scratch,
                                  const std::vector<Setting>& settings) {
  std::vector<std::string> command = {"/usr/bin/env", "LV2_PATH=" FERROWIN_LV2_PATH};
  // A plug-in built with AddressSanitizer needs its run-time loaded first; the host's own
  // leaks are not ours to find.
  if (std::string(FERROWIN_SANITIZER_RUNTIME).size() > 0)
    command.insert(command.end(),
                   {"LD_PRELOAD=" FERROWIN_SANITIZER_RUNTIME, "ASAN_OPTIONS=detect_leaks=0"});
  command.insert(command.end(),
                 {"lv2apply", "-i", scratch.path("in.wav"), "-o", scratch.path("lv2.wav")});
  for (const Setting& setting : settings)
    command.insert(command.end(), {"-c", setting.symbol, setting.value});
  command.emplace_back(Lv2Adapter::kUri);
  const ChildResult result = runChild(command, scratch.path(""));
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return readFloatWav(scratch.path("lv2.wav"));
}

void writeInput(const ScratchFolder& scratch, const std::vector<float>& samples) {
  WavLayout layout;
  layout.formatTag = 3;
  layout.bits = 32;
  writeWavBytes(scratch.path("in.wav"), layout, samples);
}

struct RenderCase {
  const char* what;
  std::vector<Setting> settings;  // values other than the defaults
};

// lv2apply runs the plug-in a frame at a time; the VST render uses blocks of one frame too.
TEST(Lv2Render, Lv2applyRendersWhatTheVstBuildRenders) {
  const std::vector<RenderCase> cases = {
      {"default program", {}},
      {"oscillator and noise into a resonant low-pass",
       {{"osc_amt", "OSC.Amt", "0.6"},
        {"noise_amt", "Noise.Amt", "0.5"},
        {"cutoff", "CutOff", "0.3"},
        {"resonance", "Resonance", "0.7"}}},
      {"high-pass moved by the second follower, little dry",
       {{"filtertype", "FilterType", "0.6"},
        {"ef2_cutoff", "EF2.Cutoff", "0.9"},
        {"ef2_smooth", "EF2.Smooth", "0.3"},
        {"osc_wave", "OSC.Wave", "0.7"},
        {"osc_amt", "OSC.Amt", "0.5"},
        {"dry", "Dry", "0.2"}}},
      {"band-pass, modulated oscillator and coloured noise",
       {{"filtertype", "FilterType", "0.9"},
        {"osc_note", "OSC.Note", "0.5"},
        {"ef1_osc_am", "EF1.Osc.AM", "0.9"},
        {"ef1_noise_am", "EF1.Noise.AM", "0.8"},
        {"noise_color", "Noise.Color", "0.8"},
        {"dry2filter", "Dry2Filter", "0.9"},
        {"ef2_osc_fm", "EF2.OSC.FM", "0.8"},
        {"ef1_smooth", "EF1.Smooth", "0.2"}}},
  };
  const ScratchFolder scratch;
  const std::vector<float> input = oneSecond();
  writeInput(scratch, input);
  for (const RenderCase& render : cases) {
    SCOPED_TRACE(render.what);
    const std::vector<float> vst = renderVst(scratch, render.settings, 1);
    const std::vector<float> lv2 = renderLv2apply(scratch, render.settings);
    ASSERT_EQ(lv2.size(), input.size());
    ASSERT_EQ(vst.size(), input.size());
    const Difference difference = differenceOf(lv2, vst);
    EXPECT_EQ(difference.samples, 0) << "largest difference " << difference.largest;
    std::printf("%s: %zu samples, %ld differ\n", render.what, lv2.size(), difference.samples);
  }
}

// A note-on moves the tracked cutoff and the oscillator, a note-off takes them back: the atom
// port and processEvents, block for block.
TEST(Lv2Render, MidiNoteThroughTheAtomPortSoundsAsThroughProcessEvents) {
  constexpr int kBlock = 256;
  constexpr long kOnFrame = 20 * kBlock;
  constexpr long kOffFrame = 120 * kBlock;
  constexpr int kKey = 72;
  const std::vector<Setting> settings = {{"fil_keytrack", "Fil.KeyTrack", "1"},
                                         {"osc_keytrack", "Osc.KeyTrack", "1"},
                                         {"osc_amt", "OSC.Amt", "0.6"},
                                         {"cutoff", "CutOff", "0.3"},
                                         {"resonance", "Resonance", "0.6"}};
  const ScratchFolder scratch;
  const std::vector<float> input = oneSecond();
  writeInput(scratch, input);

  char note[64];
  std::snprintf(note, sizeof note, "%.9f:%.9f:%d:100", static_cast<double>(kOnFrame) / kRateHz,
                static_cast<double>(kOffFrame) / kRateHz, kKey);
  const std::vector<float> vst = renderVst(scratch, settings, kBlock, {note});

  Lv2TestHost host(FERROWIN_LV2_PATH, Lv2Adapter::kUri);
  Lv2TestInstance withNote(host, kRateHz);
  Lv2TestInstance withoutNote(host, kRateHz);
  ASSERT_TRUE(withNote.valid() && withoutNote.valid());
  for (const Setting& setting : settings) {
    ASSERT_TRUE(withNote.set(setting.symbol, std::stof(setting.value)));
    withoutNote.set(setting.symbol, std::stof(setting.value));
  }
  const std::vector<MidiAt> midi = {{kOnFrame, {0x90, kKey, 100}}, {kOffFrame, {0x80, kKey, 0}}};
  const std::vector<float> lv2 = withNote.render(input, kBlock, midi);
  const std::vector<float> unmoved = withoutNote.render(input, kBlock);

  const Difference fromVst = differenceOf(lv2, vst);
  EXPECT_EQ(fromVst.samples, 0) << "largest difference " << fromVst.largest;
  // The note did something: the same render without it differs from the note on.
  const Difference fromUnmoved = differenceOf(lv2, unmoved);
  EXPECT_GT(fromUnmoved.samples, 0);
  std::printf("note %d: %ld of %zu samples differ from the VST render, %ld from no note\n", kKey,
              fromVst.samples, lv2.size(), fromUnmoved.samples);
}

}  // namespace

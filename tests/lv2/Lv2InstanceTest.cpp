// The plug-in as a host instantiates and drives it: the ports it shows, the rates it refuses,
// what it does with ports and events a host gets wrong, and the state a host keeps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Lv2Adapter.h"
#include "Lv2TestInstance.h"
#include "ParameterTable.h"
#include "TestSignal.h"
#include "lv2/atom/atom.h"
#include "lv2/lv2plug.in/ns/lv2core/lv2.h"
#include "lv2/midi/midi.h"

namespace {

constexpr double kRateHz = 48000.0;
constexpr int kBlock = 64;

// A quarter of a second.
std::vector<float> shortSignal() {
  return testSignal(static_cast<int>(kRateHz / 4), static_cast<int>(kRateHz));
}

bool allFinite(const std::vector<float>& samples) {
  for (const float x : samples)
    if (!std::isfinite(x)) return false;
  return true;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

class Lv2Instance : public ::testing::Test {
 protected:
  Lv2TestHost host{FERROWIN_LV2_PATH, Lv2Adapter::kUri};
};

// The symbols are what hosts store sessions under: they must never change.
TEST_F(Lv2Instance, HostSeesEveryParameterAsAControlPortThenAudioAndMidi) {
  const char* const symbols[kNumParameters] = {
      "osc_amt",    "osc_note",   "osc_wave",   "noise_amt",  "noise_color",  "cutoff",
      "resonance",  "filtertype", "ef1_smooth", "ef1_osc_am", "ef1_noise_am", "ef2_smooth",
      "ef2_cutoff", "ef2_osc_fm", "dry2filter", "dry",        "fil_keytrack", "osc_keytrack"};
  const LilvPlugin* plugin = host.plugin();
  ASSERT_NE(plugin, nullptr);
  ASSERT_EQ(lilv_plugin_get_num_ports(plugin), Lv2Adapter::kNumPorts);
  LilvWorld* world = host.lilvWorld();
  LilvNode* controlPort = lilv_new_uri(world, LV2_CORE__ControlPort);
  LilvNode* inputPort = lilv_new_uri(world, LV2_CORE__InputPort);
  LilvNode* audioPort = lilv_new_uri(world, LV2_CORE__AudioPort);
  LilvNode* atomPort = lilv_new_uri(world, LV2_ATOM__AtomPort);
  LilvNode* optional = lilv_new_uri(world, LV2_CORE__connectionOptional);
  std::vector<float> minimum(Lv2Adapter::kNumPorts), maximum(Lv2Adapter::kNumPorts),
      defaults(Lv2Adapter::kNumPorts);
  lilv_plugin_get_port_ranges_float(plugin, minimum.data(), maximum.data(), defaults.data());
  for (int i = 0; i < kNumParameters; ++i) {
    SCOPED_TRACE(kParameterTable[i].name);
    EXPECT_EQ(host.portIndex(symbols[i]), i);
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
    EXPECT_TRUE(lilv_port_is_a(plugin, port, controlPort) &&
                lilv_port_is_a(plugin, port, inputPort));
    LilvNode* name = lilv_port_get_name(plugin, port);
    EXPECT_STREQ(lilv_node_as_string(name), kParameterTable[i].name);
    lilv_node_free(name);
    EXPECT_EQ(defaults[i], kParameterTable[i].defaultValue);
    EXPECT_EQ(minimum[i], 0.0f);
    EXPECT_EQ(maximum[i], 1.0f);
  }
  for (uint32_t i = Lv2Adapter::kAudioInLeft; i <= Lv2Adapter::kAudioOutRight; ++i)
    EXPECT_TRUE(lilv_port_is_a(plugin, lilv_plugin_get_port_by_index(plugin, i), audioPort));
  const LilvPort* midi = lilv_plugin_get_port_by_index(plugin, Lv2Adapter::kMidiIn);
  EXPECT_TRUE(lilv_port_is_a(plugin, midi, atomPort));
  EXPECT_TRUE(lilv_port_has_property(plugin, midi, optional));
  for (LilvNode* node : {controlPort, inputPort, audioPort, atomPort, optional})
    lilv_node_free(node);
}

TEST_F(Lv2Instance, RunsOnlyAtRatesItIsMadeFor) {
  struct RateCase {
    double rateHz;
    bool runs;
  };
  const RateCase cases[] = {{0.0, false},
                            {-44100.0, false},
                            {std::numeric_limits<double>::quiet_NaN(), false},
                            {std::numeric_limits<double>::infinity(), false},
                            {0.5, false},
                            {2.0e6, false},
                            {Lv2Adapter::kLowestRateHz, true},
                            {44100.0, true},
                            {Lv2Adapter::kHighestRateHz, true}};
  const std::vector<float> input = shortSignal();
  for (const RateCase& rate : cases) {
    SCOPED_TRACE(rate.rateHz);
    Lv2TestInstance instance(host, rate.rateHz);
    ASSERT_EQ(instance.valid(), rate.runs);
    if (rate.runs) {
      EXPECT_TRUE(allFinite(instance.render(input, kBlock)));
    }
  }
}

// A run with no port connected leaves the effect as it was: what follows sounds as from new.
TEST_F(Lv2Instance, RunWithoutPortsChangesNothing) {
  const std::vector<float> input = shortSignal();
  Lv2TestInstance fresh(host, kRateHz);
  const std::vector<float> expected = fresh.render(input, kBlock);

  const LV2_Feature* const none[] = {nullptr};
  LilvInstance* bare = lilv_plugin_instantiate(host.plugin(), kRateHz, none);
  ASSERT_NE(bare, nullptr);
  lilv_instance_activate(bare);
  lilv_instance_run(bare, kBlock);
  lilv_instance_deactivate(bare);
  lilv_instance_free(bare);

  Lv2TestInstance after(host, kRateHz);
  for (uint32_t port = 0; port < Lv2Adapter::kNumPorts; ++port)
    lilv_instance_connect_port(after.lilv(), port, nullptr);
  lilv_instance_run(after.lilv(), kBlock);
  after.connectAll();
  EXPECT_TRUE(sameBits(after.render(input, kBlock), expected));
}

enum class Heard { kSound, kSilence, kNotConnected };

// The peak of one channel of an interleaved render, or NaN when a sample is not finite.
float peakOf(const std::vector<float>& output, size_t channel) {
  float peak = 0.0f;
  for (size_t i = channel; i < output.size(); i += 2) {
    if (!std::isfinite(output[i])) return output[i];
    peak = std::max(peak, std::fabs(output[i]));
  }
  return peak;
}

TEST_F(Lv2Instance, PortLeftNullGivesSoundOrSilenceNeverGarbage) {
  const std::vector<float> input = shortSignal();
  struct NullCase {
    uint32_t port;
    Heard left, right;
  };
  const NullCase cases[] = {
      {Lv2Adapter::kAudioInLeft, Heard::kSilence, Heard::kSilence},
      {Lv2Adapter::kAudioInRight, Heard::kSound, Heard::kSound},  // the left input on both
      {Lv2Adapter::kAudioOutLeft, Heard::kNotConnected, Heard::kSilence},
      {Lv2Adapter::kAudioOutRight, Heard::kSound, Heard::kNotConnected},
      {Lv2Adapter::kMidiIn, Heard::kSound, Heard::kSound},
      {kCutoff, Heard::kSound, Heard::kSound}};
  for (const NullCase& null : cases) {
    SCOPED_TRACE(null.port);
    Lv2TestInstance instance(host, kRateHz);
    lilv_instance_connect_port(instance.lilv(), null.port, nullptr);
    const std::vector<float> output = instance.render(input, kBlock);
    const Heard heard[2] = {null.left, null.right};
    for (size_t channel = 0; channel < 2; ++channel) {
      const float peak = peakOf(output, channel);
      if (heard[channel] == Heard::kSilence) {
        EXPECT_EQ(peak, 0.0f) << "channel " << channel;
      } else if (heard[channel] == Heard::kSound) {
        EXPECT_GT(peak, 0.1f) << "channel " << channel;
      }
    }
  }
}

// Atom sequences written byte by byte, right or wrong.
class SequenceBytes {
 public:
  SequenceBytes(uint32_t type) : words(512, 0) { header().type = type; }
  // An event of `size` bytes claimed, holding `bytes`.
  void add(uint32_t type, uint32_t size, std::vector<uint8_t> bytes) {
    LV2_Atom_Event event{};
    event.body.type = type;
    event.body.size = size;
    std::memcpy(raw() + used, &event, sizeof event);
    if (!bytes.empty()) std::memcpy(raw() + used + sizeof event, bytes.data(), bytes.size());
    used += static_cast<uint32_t>(sizeof event + ((bytes.size() + 7) & ~size_t{7}));
    header().size = used - static_cast<uint32_t>(sizeof(LV2_Atom));
  }
  void fillWithNoise() {
    uint32_t noise = 7;
    for (size_t i = used; i < words.size() * 8; ++i) {
      noise = noise * 1664525u + 1013904223u;
      raw()[i] = static_cast<uint8_t>(noise >> 24);
    }
    header().size = static_cast<uint32_t>(words.size() * 8 - sizeof(LV2_Atom));
  }
  void* data() { return words.data(); }

 private:
  uint8_t* raw() { return reinterpret_cast<uint8_t*>(words.data()); }
  LV2_Atom& header() { return *reinterpret_cast<LV2_Atom*>(words.data()); }
  std::vector<uint64_t> words;
  uint32_t used = sizeof(LV2_Atom_Sequence);
};

// Events the reader cannot take are skipped, an event that claims more than the sequence holds
// ends it, and whatever the bytes, the output stays finite.
TEST_F(Lv2Instance, AtomSequenceGarbageIsSkipped) {
  const uint32_t sequenceType = host.map(LV2_ATOM__Sequence);
  const uint32_t midiType = host.map(LV2_MIDI__MidiEvent);
  const std::vector<uint8_t> noteOn = {0x90, 60, 100};
  struct GarbageCase {
    const char* what;
    std::function<void(SequenceBytes&)> write;
    bool noteHeard;  // sounds like a note-on of key 60; else like no MIDI at all
  };
  const std::vector<GarbageCase> cases = {
      {"a note-on", [&](SequenceBytes& s) { s.add(midiType, 3, noteOn); }, true},
      {"a note-on, then an event longer than the sequence",
       [&](SequenceBytes& s) {
         s.add(midiType, 3, noteOn);
         s.add(midiType, 0xfffffff0u, {0x90, 64, 100});
       },
       true},
      {"an event longer than the sequence, then a note-on",
       [&](SequenceBytes& s) {
         s.add(midiType, 0xfffffff0u, noteOn);
         s.add(midiType, 3, noteOn);
       },
       false},
      {"messages of 0, 4 and 200 bytes",
       [&](SequenceBytes& s) {
         s.add(midiType, 0, {});
         s.add(midiType, 4, {0x90, 60, 100, 0});
         s.add(midiType, 200, std::vector<uint8_t>(200, 0x90));
       },
       false},
      {"a note-on of another type", [&](SequenceBytes& s) { s.add(midiType + 100, 3, noteOn); },
       false},
      {"running status and a system message",
       [&](SequenceBytes& s) {
         s.add(midiType, 2, {60, 100});
         s.add(midiType, 3, {0xf2, 60, 100});
       },
       false},
      {"noise after a note-on",
       [&](SequenceBytes& s) {
         s.add(midiType, 3, noteOn);
         s.fillWithNoise();
       },
       true},
  };
  const std::vector<float> input = shortSignal();
  auto render = [&](SequenceBytes* sequence, const std::vector<MidiAt>& midi) {
    Lv2TestInstance instance(host, kRateHz);
    instance.set("fil_keytrack", 1.0f);
    instance.set("osc_keytrack", 1.0f);
    instance.set("osc_amt", 0.6f);
    if (sequence != nullptr)
      lilv_instance_connect_port(instance.lilv(), Lv2Adapter::kMidiIn, sequence->data());
    return instance.render(input, kBlock, midi);
  };
  const std::vector<float> silent = render(nullptr, {});
  const std::vector<float> withNote = render(nullptr, {{0, {0x90, 60, 100}}});
  ASSERT_FALSE(sameBits(silent, withNote));
  for (const GarbageCase& garbage : cases) {
    SCOPED_TRACE(garbage.what);
    SequenceBytes sequence(sequenceType);
    garbage.write(sequence);
    const std::vector<float> output = render(&sequence, {});
    ASSERT_TRUE(allFinite(output));
    EXPECT_TRUE(sameBits(output, garbage.noteHeard ? withNote : silent));
  }
  // A sequence whose own type is wrong is not read at all.
  SequenceBytes mistyped(midiType);
  mistyped.add(midiType, 3, noteOn);
  EXPECT_TRUE(sameBits(render(&mistyped, {}), silent));
}

// Without the URID map the plug-in runs and ignores MIDI.
TEST_F(Lv2Instance, RunsWithoutHostFeaturesAndIgnoresMidiThen) {
  const std::vector<float> input = shortSignal();
  Lv2TestInstance withNote(host, kRateHz, false);
  Lv2TestInstance without(host, kRateHz, false);
  ASSERT_TRUE(withNote.valid() && without.valid());
  withNote.set("fil_keytrack", 1.0f);
  without.set("fil_keytrack", 1.0f);
  const std::vector<float> output = withNote.render(input, kBlock, {{0, {0x90, 60, 100}}});
  EXPECT_TRUE(allFinite(output));
  EXPECT_TRUE(sameBits(output, without.render(input, kBlock)));
}

// Deactivated and activated again, an instance forgets its history (the followers, the
// filters' state, a held note) and sounds as a new one with the same port values.
TEST_F(Lv2Instance, ReactivatedInstanceSoundsAsNew) {
  const std::vector<float> input = shortSignal();
  Lv2TestInstance used(host, kRateHz);
  Lv2TestInstance fresh(host, kRateHz);
  for (Lv2TestInstance* instance : {&used, &fresh}) {
    instance->set("fil_keytrack", 1.0f);
    instance->set("resonance", 0.8f);
  }
  const std::vector<float> first = used.render(input, kBlock, {{0, {0x90, 72, 100}}});
  lilv_instance_deactivate(used.lilv());
  lilv_instance_activate(used.lilv());
  const std::vector<float> again = used.render(input, kBlock);
  EXPECT_FALSE(sameBits(first, again));  // the note no longer sounds
  EXPECT_TRUE(sameBits(again, fresh.render(input, kBlock)));
}

// A host saves the port values and restores them into a new instance, which then sounds as an
// instance given those values directly: the ports hold everything that shapes the sound.
TEST_F(Lv2Instance, RestoredPortValuesSoundTheSame) {
  const std::vector<float> input = shortSignal();
  Lv2TestInstance original(host, kRateHz);
  original.set("cutoff", 0.2f);
  original.render(input, kBlock);
  original.set("cutoff", 0.4f);
  original.set("resonance", 0.8f);
  original.set("osc_amt", 0.7f);

  LilvState* state = lilv_state_new_from_instance(
      host.plugin(), original.lilv(), host.uridMap(), nullptr, nullptr, nullptr, nullptr,
      [](const char* symbol, void* user, uint32_t* size, uint32_t* type) -> const void* {
        auto* instance = static_cast<Lv2TestInstance*>(user);
        *size = sizeof(float);
        *type = instance->floatType();
        return instance->control(symbol);
      },
      &original, 0, nullptr);
  ASSERT_NE(state, nullptr);

  Lv2TestInstance restored(host, kRateHz);
  int restoredPorts = 0;
  struct Target {
    Lv2TestInstance* instance;
    int* count;
  } target{&restored, &restoredPorts};
  lilv_state_restore(
      state, restored.lilv(),
      [](const char* symbol, void* user, const void* value, uint32_t size, uint32_t /*type*/) {
        auto* to = static_cast<Target*>(user);
        float* port = to->instance->control(symbol);
        if (port == nullptr || size != sizeof(float)) return;
        std::memcpy(port, value, sizeof(float));
        ++*to->count;
      },
      &target, 0, nullptr);
  lilv_state_free(state);
  EXPECT_EQ(restoredPorts, kNumParameters);

  Lv2TestInstance direct(host, kRateHz);
  direct.set("cutoff", 0.4f);
  direct.set("resonance", 0.8f);
  direct.set("osc_amt", 0.7f);
  EXPECT_TRUE(sameBits(restored.render(input, kBlock), direct.render(input, kBlock)));
}

}  // namespace

#include "Lv2TestInstance.h"

#include <algorithm>
#include <limits>

#include "Lv2Adapter.h"
#include "lv2/atom/forge.h"
#include "lv2/midi/midi.h"

namespace {

constexpr size_t kSequenceWords = 2048;

}  // namespace

Lv2TestInstance::Lv2TestInstance(Lv2TestHost& host, double rateHz, bool withFeatures)
    : host(host),
      controls(Lv2Adapter::kNumPorts, 0.0f),
      sequence(kSequenceWords, 0),
      atomFloat(host.map(LV2_ATOM__Float)),
      midiType(host.map(LV2_MIDI__MidiEvent)) {
  for (std::vector<float>& channel : audio) channel.assign(Lv2TestHost::kMaxBlock, 0.0f);
  if (host.plugin() == nullptr) return;
  std::vector<float> defaults(Lv2Adapter::kNumPorts, 0.0f);
  lilv_plugin_get_port_ranges_float(host.plugin(), nullptr, nullptr, defaults.data());
  for (uint32_t i = 0; i < kNumParameters; ++i) controls[i] = defaults[i];
  const LV2_Feature* const none[] = {nullptr};
  instance =
      lilv_plugin_instantiate(host.plugin(), rateHz, withFeatures ? host.everyFeature() : none);
  if (instance == nullptr) return;
  connectAll();
  lilv_instance_activate(instance);
}

Lv2TestInstance::~Lv2TestInstance() {
  if (instance == nullptr) return;
  lilv_instance_deactivate(instance);
  lilv_instance_free(instance);
}

void Lv2TestInstance::connectAll() {
  for (uint32_t i = 0; i < kNumParameters; ++i)
    lilv_instance_connect_port(instance, i, &controls[i]);
  for (uint32_t i = 0; i < 4; ++i)
    lilv_instance_connect_port(instance, Lv2Adapter::kAudioInLeft + i, audio[i].data());
  lilv_instance_connect_port(instance, Lv2Adapter::kMidiIn, sequence.data());
}

float* Lv2TestInstance::control(const char* symbol) {
  const int index = host.portIndex(symbol);
  return index >= 0 && index < kNumParameters ? &controls[index] : nullptr;
}

bool Lv2TestInstance::set(const char* symbol, float value) {
  float* port = control(symbol);
  if (port != nullptr) *port = value;
  return port != nullptr;
}

std::vector<float> Lv2TestInstance::render(const std::vector<float>& input, int block,
                                           const std::vector<MidiAt>& midi) {
  const long frames = static_cast<long>(input.size() / 2);
  std::vector<float> output(input.size(), 0.0f);
  for (long start = 0; start < frames; start += block) {
    const int count = static_cast<int>(std::min<long>(block, frames - start));
    for (int i = 0; i < count; ++i) {
      audio[0][i] = input[2 * (start + i)];
      audio[1][i] = input[2 * (start + i) + 1];
    }
    // A channel the plug-in leaves unwritten comes out as NaN.
    std::fill(audio[2].begin(), audio[2].end(), std::numeric_limits<float>::quiet_NaN());
    std::fill(audio[3].begin(), audio[3].end(), std::numeric_limits<float>::quiet_NaN());
    writeSequence(midi, start, count);
    lilv_instance_run(instance, static_cast<uint32_t>(count));
    for (int i = 0; i < count; ++i) {
      output[2 * (start + i)] = audio[2][i];
      output[2 * (start + i) + 1] = audio[3][i];
    }
  }
  return output;
}

void Lv2TestInstance::writeSequence(const std::vector<MidiAt>& midi, long from, int frames) {
  LV2_Atom_Forge forge;
  lv2_atom_forge_init(&forge, host.uridMap());
  lv2_atom_forge_set_buffer(&forge, atomBuffer(), atomBufferBytes());
  LV2_Atom_Forge_Frame frame;
  lv2_atom_forge_sequence_head(&forge, &frame, 0);
  for (const MidiAt& event : midi) {
    if (event.frame < from || event.frame >= from + frames) continue;
    lv2_atom_forge_frame_time(&forge, event.frame - from);
    lv2_atom_forge_atom(&forge, sizeof event.bytes, midiType);
    lv2_atom_forge_write(&forge, event.bytes, sizeof event.bytes);
  }
  lv2_atom_forge_pop(&forge, &frame);
}

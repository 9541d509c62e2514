#include "Lv2Adapter.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "lv2/midi/midi.h"
#include "lv2/urid/urid.h"

namespace {

const LV2_URID_Map* findUridMap(const LV2_Feature* const* features) {
  for (; features != nullptr && *features != nullptr; ++features)
    if (std::strcmp((*features)->URI, LV2_URID__map) == 0)
      return static_cast<const LV2_URID_Map*>((*features)->data);
  return nullptr;
}

LV2_URID mapped(const LV2_URID_Map* map, const char* uri) {
  return map != nullptr && map->map != nullptr ? map->map(map->handle, uri) : 0;
}

uint32_t bitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// The effect takes a block length as a signed 32-bit count.
constexpr uint32_t kLongestCall = 1u << 30;

}  // namespace

Lv2Adapter* Lv2Adapter::create(double rateHz, const LV2_Feature* const* features) {
  if (!(rateHz >= kLowestRateHz && rateHz <= kHighestRateHz)) return nullptr;
  return new (std::nothrow) Lv2Adapter(static_cast<float>(rateHz), features);
}

Lv2Adapter::Lv2Adapter(float rateHz, const LV2_Feature* const* features)
    : rateHz(rateHz),
      midi(mapped(findUridMap(features), LV2_ATOM__Sequence),
           mapped(findUridMap(features), LV2_MIDI__MidiEvent)) {
  renew();
}

void Lv2Adapter::renew() {
  effect.emplace(nullptr);
  effect->setSampleRate(rateHz);
  for (int i = 0; i < kNumParameters; ++i) appliedBits[i] = bitsOf(kParameterTable[i].defaultValue);
  hasRun = false;
}

void Lv2Adapter::connect(uint32_t port, void* data) {
  if (port < kAudioInLeft) {
    controls[port] = static_cast<const float*>(data);
  } else if (port <= kAudioInRight) {
    inputs[port - kAudioInLeft] = static_cast<const float*>(data);
  } else if (port <= kAudioOutRight) {
    outputs[port - kAudioOutLeft] = static_cast<float*>(data);
  } else if (port == kMidiIn) {
    midiIn = static_cast<const LV2_Atom_Sequence*>(data);
  }
}

void Lv2Adapter::activate() {
  if (hasRun) renew();
  effect->resume();
}

void Lv2Adapter::deactivate() { effect->suspend(); }

void Lv2Adapter::run(uint32_t frames) {
  hasRun = true;
  applyChangedControls();
  passMidi();
  for (uint32_t done = 0; done < frames;) {
    const uint32_t count = std::min(frames - done, kLongestCall);
    process(done, count);
    done += count;
  }
}

void Lv2Adapter::applyChangedControls() {
  for (int i = 0; i < kNumParameters; ++i) {
    if (controls[i] == nullptr) continue;
    const uint32_t bits = bitsOf(*controls[i]);
    if (bits == appliedBits[i]) continue;
    effect->setParameter(i, *controls[i]);
    appliedBits[i] = bits;
  }
}

void Lv2Adapter::passMidi() {
  midi.start(midiIn);
  while (VstEvents* batch = midi.nextBatch()) effect->processEvents(batch);
}

void Lv2Adapter::process(uint32_t offset, uint32_t frames) {
  float* out[2] = {outputs[0] ? outputs[0] + offset : nullptr,
                   outputs[1] ? outputs[1] + offset : nullptr};
  if (inputs[0] == nullptr || out[0] == nullptr) {
    // Without a left input or a left output the effect cannot run: what is connected is silent.
    for (float* channel : out)
      if (channel != nullptr) std::fill(channel, channel + frames, 0.0f);
    return;
  }
  // The effect reads both inputs before it writes, so the host may process in place.
  float* in[2] = {const_cast<float*>(inputs[0]) + offset,
                  inputs[1] ? const_cast<float*>(inputs[1]) + offset : nullptr};
  effect->processReplacing(in, out, static_cast<VstInt32>(frames));
}

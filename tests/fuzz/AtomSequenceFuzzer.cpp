// The LV2 adapter's atom-sequence reader on arbitrary sequence bodies: the input is the body of
// the MIDI port's sequence (its size the sequence's size), read before each of a few blocks
// with key tracking on; every output sample must stay finite.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Lv2Adapter.h"
#include "lv2/midi/midi.h"
#include "lv2/urid/urid.h"

namespace {

constexpr LV2_URID kSequenceType = 1;
constexpr LV2_URID kMidiType = 2;
constexpr LV2_URID kOtherType = 3;
constexpr uint32_t kFrames = 64;
constexpr int kBlocks = 4;

LV2_URID mapUri(LV2_URID_Map_Handle /*handle*/, const char* uri) {
  if (std::strcmp(uri, LV2_ATOM__Sequence) == 0) return kSequenceType;
  if (std::strcmp(uri, LV2_MIDI__MidiEvent) == 0) return kMidiType;
  return kOtherType;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LV2_URID_Map map{nullptr, mapUri};
  const LV2_Feature mapFeature{LV2_URID__map, &map};
  const LV2_Feature* const features[] = {&mapFeature, nullptr};
  Lv2Adapter* adapter = Lv2Adapter::create(44100.0, features);
  if (adapter == nullptr) __builtin_trap();

  // 64-bit words, aligned as a host's atom buffer is; the body follows the atom header.
  std::vector<uint64_t> words(1 + (size + 7) / 8, 0);
  auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(words.data());
  sequence->atom.type = kSequenceType;
  sequence->atom.size = static_cast<uint32_t>(size);
  if (size > 0) std::memcpy(&sequence->body, data, size);

  float keyTrack = 1.0f;
  std::vector<float> in(kFrames), outLeft(kFrames), outRight(kFrames);
  for (uint32_t i = 0; i < kFrames; ++i) in[i] = 0.5f * std::sin(0.1f * static_cast<float>(i));
  adapter->connect(kFilterKeyTrack, &keyTrack);
  adapter->connect(kOscKeyTrack, &keyTrack);
  adapter->connect(Lv2Adapter::kAudioInLeft, in.data());
  adapter->connect(Lv2Adapter::kAudioInRight, in.data());
  adapter->connect(Lv2Adapter::kAudioOutLeft, outLeft.data());
  adapter->connect(Lv2Adapter::kAudioOutRight, outRight.data());
  adapter->connect(Lv2Adapter::kMidiIn, sequence);
  adapter->activate();
  for (int block = 0; block < kBlocks; ++block) {
    adapter->run(kFrames);
    for (uint32_t i = 0; i < kFrames; ++i)
      if (!std::isfinite(outLeft[i]) || !std::isfinite(outRight[i])) __builtin_trap();
  }
  adapter->deactivate();
  delete adapter;
  return 0;
}

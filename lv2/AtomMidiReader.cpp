#include "AtomMidiReader.h"

#include <cstring>

namespace {

constexpr size_t kEventHeaderBytes = sizeof(LV2_Atom_Event);  // time stamp and body atom
constexpr uint32_t kLongestChannelMessage = 3;                // status and two data bytes
constexpr uint8_t kFirstSystemStatus = 0xf0;

// Atom events are padded to 64-bit boundaries.
constexpr uint64_t padded(uint64_t bytes) { return (bytes + 7u) & ~uint64_t{7}; }

}  // namespace

AtomMidiReader::AtomMidiReader(LV2_URID sequenceType, LV2_URID midiEventType)
    : sequenceType(sequenceType), midiEventType(midiEventType) {
  for (int i = 0; i < kBatchEvents; ++i) list.events[i] = reinterpret_cast<VstEvent*>(&records[i]);
}

void AtomMidiReader::start(const LV2_Atom_Sequence* sequence) {
  next = end = nullptr;
  if (sequence == nullptr || sequenceType == 0 || midiEventType == 0 ||
      sequence->atom.type != sequenceType || sequence->atom.size < sizeof(LV2_Atom_Sequence_Body))
    return;
  const auto* body = reinterpret_cast<const uint8_t*>(&sequence->body);
  next = body + sizeof(LV2_Atom_Sequence_Body);
  end = body + sequence->atom.size;
}

VstEvents* AtomMidiReader::nextBatch() {
  int count = 0;
  while (count < kBatchEvents && next != nullptr &&
         static_cast<size_t>(end - next) >= kEventHeaderBytes) {
    // The host's buffer need not be aligned for a direct read of a stray event.
    LV2_Atom_Event atomEvent;
    std::memcpy(&atomEvent, next, kEventHeaderBytes);
    const uint64_t available = static_cast<size_t>(end - next) - kEventHeaderBytes;
    if (atomEvent.body.size > available) {  // claims more than the sequence holds: stop here
      next = nullptr;
      break;
    }
    if (convert(atomEvent, next + kEventHeaderBytes, records[count])) ++count;
    const uint64_t step = padded(kEventHeaderBytes + atomEvent.body.size);
    next = step >= static_cast<uint64_t>(end - next) ? nullptr : next + step;
  }
  if (count == 0) return nullptr;
  list.numEvents = count;
  return reinterpret_cast<VstEvents*>(&list);
}

bool AtomMidiReader::convert(const LV2_Atom_Event& atomEvent, const uint8_t* data,
                             VstMidiEvent& event) const {
  const uint32_t size = atomEvent.body.size;
  if (atomEvent.body.type != midiEventType || size == 0 || size > kLongestChannelMessage)
    return false;
  uint8_t bytes[kLongestChannelMessage] = {};
  std::memcpy(bytes, data, size);
  if (bytes[0] < 0x80 || bytes[0] >= kFirstSystemStatus) return false;  // running status, system
  event = VstMidiEvent{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  // The effect acts on whole blocks; the offset is kept in range for any other reader.
  const int64_t frames = atomEvent.time.frames;
  event.deltaFrames =
      frames < 0 ? 0 : (frames > INT32_MAX ? INT32_MAX : static_cast<VstInt32>(frames));
  for (uint32_t i = 0; i < size; ++i) event.midiData[i] = static_cast<char>(bytes[i]);
  return true;
}

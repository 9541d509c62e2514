// Reads the MIDI channel messages of an LV2 atom sequence into the event lists the effect's
// processEvents takes, a batch at a time, checking every size against the sequence's own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "VstInterface.h"
#include "lv2/atom/atom.h"
#include "lv2/urid/urid.h"

class AtomMidiReader {
 public:
  static constexpr int kBatchEvents = 128;

  // Without the two types (0: the host offers no URID map) every sequence reads as empty.
  AtomMidiReader(LV2_URID sequenceType, LV2_URID midiEventType);

  // Starts on `sequence`, whose body the host promises holds `sequence->atom.size` bytes; null,
  // or an atom of another type, reads as empty.
  void start(const LV2_Atom_Sequence* sequence);
  // The next batch of up to kBatchEvents messages in sequence order, or null when none is left.
  // Valid until the next call.
  VstEvents* nextBatch();

 private:
  // VstEvents with room for a whole batch of pointers; the effect reads it as a VstEvents.
  struct EventList {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[kBatchEvents];
  };
  static_assert(offsetof(EventList, events) == offsetof(VstEvents, events),
                "the batch must read as a VstEvents record");

  // Fills `event` from an atom event and its `data` bytes when it is a channel message; false
  // otherwise.
  bool convert(const LV2_Atom_Event& atomEvent, const uint8_t* data, VstMidiEvent& event) const;

  LV2_URID sequenceType;
  LV2_URID midiEventType;
  const uint8_t* next = nullptr;  // the next atom event's first byte
  const uint8_t* end = nullptr;   // just past the sequence's body
  VstMidiEvent records[kBatchEvents] = {};
  EventList list = {};
};

#include "EventList.h"

#include <cstddef>
#include <cstring>

namespace {
constexpr size_t kSlotBytes = 64;
constexpr size_t kEventPointerBytes = sizeof(void*);
}  // namespace

void EventList::add(VstInt32 type, VstInt32 byteSize, VstInt32 deltaFrames, int status, int data1,
                    int data2) {
  VstMidiEvent event{};
  event.type = type;
  event.byteSize = byteSize;
  event.deltaFrames = deltaFrames;
  event.midiData[0] = static_cast<char>(status);
  event.midiData[1] = static_cast<char>(data1);
  event.midiData[2] = static_cast<char>(data2);
  events.push_back(event);
}

void EventList::send(PluginInstance& plugin) {
  slots.assign(events.size() * kSlotBytes, 0);
  list.assign(offsetof(VstEvents, events) + (events.size() + 2) * kEventPointerBytes, 0);
  auto* header = reinterpret_cast<VstEvents*>(list.data());
  header->numEvents = static_cast<VstInt32>(events.size());
  VstEvent** pointers = header->events;  // declared with two entries, really as many as events
  for (size_t i = 0; i < events.size(); ++i) {
    std::memcpy(&slots[i * kSlotBytes], &events[i], sizeof(VstMidiEvent));
    pointers[i] = reinterpret_cast<VstEvent*>(&slots[i * kSlotBytes]);
  }
  plugin.dispatch(effProcessEvents, 0, 0, header);
  events.clear();
}

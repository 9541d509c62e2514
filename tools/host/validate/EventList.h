// MIDI events handed to a plug-in as a host does. Every event record sits in a zeroed 64-byte
// slot, so a plug-in that reads a longer record than a MIDI event finds zeros, not another event.
#pragma once

#include <vector>

#include "PluginInstance.h"

class EventList {
 public:
  void add(VstInt32 type, VstInt32 byteSize, VstInt32 deltaFrames, int status, int data1,
           int data2);
  void midi(VstInt32 deltaFrames, int status, int data1, int data2) {
    add(kVstMidiType, sizeof(VstMidiEvent) - 8, deltaFrames, status, data1, data2);
  }
  // Hands the list to the plug-in and empties it.
  void send(PluginInstance& plugin);

 private:
  std::vector<VstMidiEvent> events;
  std::vector<unsigned char> slots;
  std::vector<unsigned char> list;
};

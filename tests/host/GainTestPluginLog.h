// What the gain test plug-in saw, kept process-wide in the plug-in library and read by tests
// through its exported function `gainTestPluginLog`.
#pragma once

#include <cstdint>

#include "VstInterface.h"

struct GainTestPluginLog {
  static constexpr VstInt32 kProcessCall = -1;  // pseudo-opcode of a processReplacing call
  static constexpr int kMaxCalls = 1024;
  static constexpr int kMaxEvents = 64;

  struct Call {
    VstInt32 opcode;  // dispatcher opcode, or kProcessCall
    VstIntPtr value;  // the dispatcher's value; the frame count of a process call
    float opt;
    bool distinctBuffers;  // process call: four different channel pointers
  };
  struct Event {
    int64_t blockStart;  // frames processed before the list arrived
    VstInt32 deltaFrames;
    unsigned char status;
    unsigned char key;
    unsigned char velocity;
  };

  int callCount;  // may exceed kMaxCalls; only the first ones are kept
  Call calls[kMaxCalls];
  int eventCount;
  Event events[kMaxEvents];
  int64_t framesProcessed;
};

using GainTestPluginLogProc = GainTestPluginLog* (*)();

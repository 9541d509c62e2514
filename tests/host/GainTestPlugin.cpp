// A minimal effect written directly against the interface record for the host's tests: two
// parameters, "LeftGain" and "RightGain" (gain = 2 × value, so 0.5 is unity), and a log of
// every dispatcher call, process call and MIDI event it receives.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "GainTestPluginLog.h"
#include "TestPluginExport.h"

namespace {

GainTestPluginLog theLog;
const char* const kNames[2] = {"LeftGain", "RightGain"};

struct GainEffect {
  AEffect record;
  float values[2] = {0.5f, 0.5f};
};

GainEffect* effectOf(AEffect* record) { return static_cast<GainEffect*>(record->object); }

void logCall(VstInt32 opcode, VstIntPtr value, float opt, bool distinct = false) {
  if (theLog.callCount < GainTestPluginLog::kMaxCalls)
    theLog.calls[theLog.callCount] = {opcode, value, opt, distinct};
  ++theLog.callCount;
}

void logEvents(const VstEvents* list) {
  for (VstInt32 i = 0; i < list->numEvents; ++i) {
    const VstEvent* event = list->events[i];
    // Only well-formed MIDI events are logged (24 bytes after the type and size fields): a
    // record that a host got wrong goes missing from the log.
    if (event->type != kVstMidiType || event->byteSize != 24 ||
        theLog.eventCount >= GainTestPluginLog::kMaxEvents)
      continue;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
    theLog.events[theLog.eventCount++] = {theLog.framesProcessed, midi->deltaFrames,
                                          static_cast<unsigned char>(midi->midiData[0]),
                                          static_cast<unsigned char>(midi->midiData[1]),
                                          static_cast<unsigned char>(midi->midiData[2])};
  }
}

VstIntPtr dispatch(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  logCall(opcode, value, opt);
  switch (opcode) {
    case effClose:
      delete effectOf(record);
      return 1;
    case effGetParamName:
      if (index < 0 || index > 1) return 0;
      // Hosts pass room for more than the nominal 8 characters; these names need 10.
      std::snprintf(static_cast<char*>(ptr), 16, "%s", kNames[index]);
      return 1;
    case effProcessEvents:
      logEvents(static_cast<const VstEvents*>(ptr));
      return 1;
    default:
      return 0;
  }
}

// With GAIN_TEST_PLUGIN_HOLD=PATH in the environment, the first block creates the file PATH
// and then waits (up to a minute) for the test to stop the process: a render caught midway.
void holdWhenAsked() {
  static bool held = false;
  const char* marker = std::getenv("GAIN_TEST_PLUGIN_HOLD");
  if (held || marker == nullptr) return;
  held = true;
  if (std::FILE* file = std::fopen(marker, "wb")) std::fclose(file);
  const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void processReplacing(AEffect* record, float** inputs, float** outputs, VstInt32 frames) {
  holdWhenAsked();
  const bool distinct = inputs[0] != inputs[1] && inputs[0] != outputs[0] &&
                        inputs[0] != outputs[1] && inputs[1] != outputs[0] &&
                        inputs[1] != outputs[1] && outputs[0] != outputs[1];
  logCall(GainTestPluginLog::kProcessCall, frames, 0.0f, distinct);
  const GainEffect& effect = *effectOf(record);
  for (int c = 0; c < 2; ++c) {
    const float gain = 2.0f * effect.values[c];
    for (VstInt32 i = 0; i < frames; ++i) outputs[c][i] = gain * inputs[c][i];
  }
  theLog.framesProcessed += frames;
}

void setParameter(AEffect* record, VstInt32 index, float value) {
  if (index >= 0 && index < 2) effectOf(record)->values[index] = value;
}

float getParameter(AEffect* record, VstInt32 index) {
  return index >= 0 && index < 2 ? effectOf(record)->values[index] : 0.0f;
}

}  // namespace

TEST_PLUGIN_EXPORT GainTestPluginLog* gainTestPluginLog() { return &theLog; }

TEST_PLUGIN_EXPORT AEffect* VSTPluginMain(audioMasterCallback /*host*/) {
  theLog = GainTestPluginLog{};
  auto* effect = new GainEffect{};
  AEffect& r = effect->record;
  r.magic = kEffectMagic;
  r.dispatcher = dispatch;
  r.setParameter = setParameter;
  r.getParameter = getParameter;
  r.numPrograms = 1;
  r.numParams = 2;
  r.numInputs = 2;
  r.numOutputs = 2;
  r.flags = effFlagsCanReplacing;
  r.object = effect;
  r.uniqueID = fourCharCode('G', 'a', 'i', 'n');
  r.version = 1;
  r.processReplacing = processReplacing;
  return &r;
}

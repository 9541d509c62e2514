#include "HostCallback.h"

#include <cstring>

namespace {
HostCallback* active = nullptr;  // one host per process, as in a real host's scanner
}

HostCallback::HostCallback() {
  recorded.reserve(1024);
  active = this;
}

HostCallback::~HostCallback() {
  if (active == this) active = nullptr;
}

VstIntPtr HostCallback::dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float opt) {
  return active ? active->answer(effect, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr HostCallback::answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float opt) {
  const std::lock_guard<std::mutex> lock(answering);
  // The time is asked for on the audio thread, often every block: it is recorded only while
  // that needs no allocation.
  if (opcode != audioMasterGetTime || recorded.size() < recorded.capacity())
    recorded.push_back({opcode, index, value, opt, effect != nullptr});
  switch (opcode) {
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(timeAnswer());
    case audioMasterGetVendorString:
    case audioMasterGetProductString:
      if (ptr == nullptr) return 0;
      std::strncpy(static_cast<char*>(ptr),
                   opcode == audioMasterGetVendorString ? kHostVendor : kHostProduct,
                   kVstMaxVendorStrLen);
      static_cast<char*>(ptr)[kVstMaxVendorStrLen - 1] = '\0';
      return 1;
    case audioMasterGetVendorVersion:
      return 1;
    case audioMasterVersion:
      return versionAnswer;
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(sampleRateHz);
    case audioMasterGetBlockSize:
      return blockSize;
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
    case audioMasterWantMidi:
      return 1;
    default:
      return 0;
  }
}

VstTimeInfo* HostCallback::timeAnswer() {
  // A transport playing from the start at a steady tempo in 4/4.
  constexpr int kBeatsPerBar = 4;
  const double quarterNotes = positionFrames / sampleRateHz * tempoBpm / 60.0;
  time = VstTimeInfo{};
  time.samplePos = positionFrames;
  time.sampleRate = sampleRateHz;
  time.ppqPos = quarterNotes;
  time.tempo = tempoBpm;
  time.barStartPos =
      kBeatsPerBar * static_cast<double>(static_cast<long>(quarterNotes / kBeatsPerBar));
  time.timeSigNumerator = kBeatsPerBar;
  time.timeSigDenominator = 4;
  time.flags =
      kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
  return &time;
}

size_t HostCallback::count(VstInt32 opcode) const {
  const std::lock_guard<std::mutex> lock(answering);
  size_t n = 0;
  for (const HostCall& call : recorded)
    if (call.opcode == opcode) ++n;
  return n;
}

std::string hostOpcodeName(VstInt32 opcode) {
  switch (opcode) {
    case audioMasterAutomate:
      return "automate";
    case audioMasterVersion:
      return "version";
    case audioMasterCurrentId:
      return "currentId";
    case audioMasterIdle:
      return "idle";
    case audioMasterPinConnected:
      return "pinConnected";
    case audioMasterWantMidi:
      return "wantMidi";
    case audioMasterGetTime:
      return "getTime";
    case audioMasterGetSampleRate:
      return "getSampleRate";
    case audioMasterGetBlockSize:
      return "getBlockSize";
    case audioMasterGetVendorString:
      return "getVendorString";
    case audioMasterGetProductString:
      return "getProductString";
    case audioMasterCanDo:
      return "canDo";
    case audioMasterBeginEdit:
      return "beginEdit";
    case audioMasterEndEdit:
      return "endEdit";
    case audioMasterUpdateDisplay:
      return "updateDisplay";
    case audioMasterSizeWindow:
      return "sizeWindow";
    default:
      return "opcode " + std::to_string(opcode);
  }
}

#include "HostCallback.h"

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
                               void* /*ptr*/, float opt) {
  recorded.push_back({opcode, index, value, opt, effect != nullptr});
  switch (opcode) {
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

size_t HostCallback::count(VstInt32 opcode) const {
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

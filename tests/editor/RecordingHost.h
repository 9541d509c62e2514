// A host callback for editor tests: answers the version query and records the calls that
// carry a user's gesture (begin, automate, end), in order.
#pragma once

#include <vector>

#include "VstInterface.h"

namespace editortest {

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  float value;
};

// Only the editor's thread makes these calls.
inline std::vector<HostCall> hostCalls;

inline VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                               float opt) {
  if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
      opcode == audioMasterEndEdit)
    hostCalls.push_back({opcode, index, opt});
  return opcode == audioMasterVersion ? 2400 : 0;
}

}  // namespace editortest

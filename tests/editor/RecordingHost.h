// A host callback for editor tests: answers the version query and records the calls that
// carry a user's gesture (begin, automate, end) and the requests to resize the window
// (index: width, value: height), in order. It refuses the resize, as some hosts do.
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

inline VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*,
                               float opt) {
  if (opcode == audioMasterSizeWindow)
    hostCalls.push_back({opcode, index, static_cast<float>(value)});
  if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
      opcode == audioMasterEndEdit)
    hostCalls.push_back({opcode, index, opt});
  return opcode == audioMasterVersion ? 2400 : 0;
}

}  // namespace editortest

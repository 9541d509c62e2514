#include "ValidationGroups.h"

#include <cstring>
#include <vector>

const ValidationGroup kValidationGroups[] = {
    {"opening", checkOpening},       {"identity", checkIdentity},   {"parameters", checkParameters},
    {"processing", checkProcessing}, {"sequences", checkSequences}, {"midi", checkMidi},
    {"state", checkState},           {"editor", checkEditor},       {"realtime", checkRealTime},
};
const int kValidationGroupCount = sizeof kValidationGroups / sizeof kValidationGroups[0];

namespace {
constexpr size_t kProbeBytes = 4096;
constexpr char kGuardByte = '\xa5';
}  // namespace

TextAnswer probeText(PluginInstance& plugin, VstInt32 opcode, VstInt32 index, size_t limitBytes) {
  std::vector<char> buffer(kProbeBytes, kGuardByte);
  buffer[0] = 0;
  TextAnswer answer;
  answer.result = plugin.dispatch(opcode, index, 0, buffer.data());
  for (size_t i = kProbeBytes; i > 1; --i)
    if (buffer[i - 1] != kGuardByte) {
      answer.written = i;
      break;
    }
  for (size_t i = 0; i < limitBytes && !answer.terminated; ++i) answer.terminated = buffer[i] == 0;
  answer.withinLimit = answer.written <= limitBytes;
  answer.text.assign(buffer.data(), strnlen(buffer.data(), kProbeBytes - 1));
  return answer;
}

std::string TextAnswer::figure(size_t limitBytes) const {
  if (!withinLimit)
    return "wrote " + std::to_string(written) + " bytes, limit " + std::to_string(limitBytes);
  if (!terminated) return "no terminator within " + std::to_string(limitBytes) + " bytes";
  return "\"" + text + "\" (" + std::to_string(text.size()) + " characters)";
}

std::string parameterName(PluginInstance& plugin, VstInt32 index) {
  return std::to_string(index) + " " + probeText(plugin, effGetParamName, index, 64).text;
}

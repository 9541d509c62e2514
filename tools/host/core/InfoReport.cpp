#include "InfoReport.h"

#include <cstdio>
#include <cstring>
#include <string>

const char* const kCommonCapabilities[] = {
    "receiveVstEvents", "receiveVstMidiEvent", "midiProgramNames", "sendVstEvents",
    "sendVstMidiEvent", "receiveVstTimeInfo",  "offline",          "bypass",
};
const int kCommonCapabilityCount = sizeof kCommonCapabilities / sizeof kCommonCapabilities[0];

namespace {

std::string hex(VstInt32 value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

std::string printable(const char* data, VstIntPtr size) {
  std::string text;
  for (VstIntPtr i = 0; i < size; ++i) {
    const unsigned char c = static_cast<unsigned char>(data[i]);
    if (c >= 32 && c < 127) {
      text += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      text += escaped;
    }
  }
  return text;
}

}  // namespace

void printInfo(std::ostream& out, PluginInstance& plugin, const HostCallback& host) {
  const AEffect& record = *plugin.record();
  out << "name: " << plugin.text(effGetEffectName, 0, kVstMaxEffectNameLen) << "\n";
  out << "vendor: " << plugin.text(effGetVendorString, 0, kVstMaxVendorStrLen) << "\n";
  out << "product: " << plugin.text(effGetProductString, 0, kVstMaxProductStrLen) << "\n";
  out << "vendor version: " << plugin.dispatch(effGetVendorVersion) << "\n";
  out << "interface version: " << plugin.dispatch(effGetVstVersion) << "\n";
  out << "category: " << plugin.dispatch(effGetPlugCategory) << "\n";
  out << "unique id: " << fourCharText(record.uniqueID) << "\n";
  out << "version: " << record.version << "\n";
  out << "programs: " << record.numPrograms << ", parameters: " << record.numParams
      << ", inputs: " << record.numInputs << ", outputs: " << record.numOutputs << "\n";
  out << "flags: " << hex(record.flags) << ", initial delay: " << record.initialDelay << "\n";
  out << "midi input channels: " << plugin.dispatch(effGetNumMidiInputChannels) << "\n";
  out << "program: " << plugin.text(effGetProgramName, 0, kVstMaxProgNameLen) << "\n";

  out << "parameters:\n";
  for (VstInt32 i = 0; i < record.numParams; ++i) {
    char line[160];
    std::snprintf(line, sizeof line, "  %2d %-13s %-9s %-7s %.6f\n", i,
                  plugin.text(effGetParamName, i, 64).c_str(),
                  plugin.text(effGetParamDisplay, i, kVstMaxParamStrLen + 1).c_str(),
                  plugin.text(effGetParamLabel, i, kVstMaxParamStrLen + 1).c_str(),
                  static_cast<double>(plugin.getParameter(i)));
    out << line;
  }

  out << "can do:\n";
  for (int i = 0; i < kCommonCapabilityCount; ++i)
    out << "  " << kCommonCapabilities[i] << ": " << plugin.canDo(kCommonCapabilities[i]) << "\n";

  void* chunk = nullptr;
  const VstIntPtr chunkBytes = plugin.dispatch(effGetChunk, 0, 0, &chunk);
  out << "chunk: " << chunkBytes << " bytes";
  if (chunk != nullptr && chunkBytes > 0)
    out << " \"" << printable(static_cast<const char*>(chunk), chunkBytes) << "\"";
  out << "\n";

  out << "host callbacks:";
  for (const HostCall& call : host.calls()) out << " " << hostOpcodeName(call.opcode);
  out << "\n";
}

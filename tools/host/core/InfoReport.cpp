#include "InfoReport.h"

#include <algorithm>
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

// A chunk can be megabytes: its first bytes in hex and as text are enough to recognise it.
constexpr VstIntPtr kPreviewBytes = 16;
// Longer texts are cut in the parameter table, so that its columns stay aligned.
constexpr size_t kNameColumn = 24;
constexpr size_t kDisplayColumn = 16;
constexpr size_t kLabelColumn = 8;

std::string preview(const char* data, VstIntPtr size) {
  std::string hexText;
  std::string text;
  for (VstIntPtr i = 0; i < std::min(size, kPreviewBytes); ++i) {
    const auto c = static_cast<unsigned char>(data[i]);
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02x", c);
    hexText += std::string(i ? " " : "") + digits;
    text += c >= 32 && c < 127 ? static_cast<char>(c) : '.';
  }
  return hexText + "  \"" + text + "\"" + (size > kPreviewBytes ? " ..." : "");
}

// `text` cut or padded to `width` characters; a cut shows as a final '~'.
std::string column(const std::string& text, size_t width) {
  if (text.size() > width) return text.substr(0, width - 1) + "~";
  return text + std::string(width - text.size(), ' ');
}

}  // namespace

void printInfo(std::ostream& out, PluginInstance& plugin, const HostCallback& host) {
  const AEffect& record = *plugin.record();
  out << "opened at " << host.sampleRateHz << " Hz, blocks of " << host.blockSize << " frames\n";
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
  if (record.numParams > 0)
    out << "     # " << column("name", kNameColumn) << " " << column("display", kDisplayColumn)
        << " " << column("label", kLabelColumn) << " value 0..1\n";
  for (VstInt32 i = 0; i < record.numParams; ++i) {
    char index[16];
    std::snprintf(index, sizeof index, "  %4d ", i);
    char value[32];
    std::snprintf(value, sizeof value, " %.6f\n", static_cast<double>(plugin.getParameter(i)));
    // Hosts give these texts up to 32 bytes, whatever the nominal 8.
    out << index << column(plugin.text(effGetParamName, i, 64), kNameColumn) << " "
        << column(plugin.text(effGetParamDisplay, i, 64), kDisplayColumn) << " "
        << column(plugin.text(effGetParamLabel, i, 64), kLabelColumn) << value;
  }

  out << "can do:\n";
  for (int i = 0; i < kCommonCapabilityCount; ++i)
    out << "  " << kCommonCapabilities[i] << ": " << plugin.canDo(kCommonCapabilities[i]) << "\n";

  void* chunk = nullptr;
  const VstIntPtr chunkBytes = plugin.dispatch(effGetChunk, 0, 0, &chunk);
  out << "chunk: " << chunkBytes << " bytes";
  if (chunk != nullptr && chunkBytes > 0)
    out << ", starting " << preview(static_cast<const char*>(chunk), chunkBytes);
  out << "\n";

  out << "host callbacks:";
  for (const HostCall& call : host.calls()) out << " " << hostOpcodeName(call.opcode);
  out << "\n";
}

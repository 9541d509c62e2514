#include "TurtleDescription.h"

#include <cstdio>
#include <cstdlib>

#include "Ferrowin.h"
#include "Lv2Adapter.h"
#include "ParameterTable.h"

namespace {

constexpr const char* kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

void writeAudioPort(std::ostream& out, uint32_t index, const char* direction, const char* symbol,
                    const char* name) {
  out << " , [\n    a lv2:" << direction << "Port , lv2:AudioPort ;\n    lv2:index " << index
      << " ;\n    lv2:symbol " << TurtleDescription::quoted(symbol) << " ;\n    lv2:name "
      << TurtleDescription::quoted(name) << " ;\n  ]";
}

}  // namespace

void TurtleDescription::writeManifest(std::ostream& out, const std::string& binaryName,
                                      const std::string& descriptionName) {
  out << kPrefixes << "<" << Lv2Adapter::kUri << ">\n  a lv2:Plugin ;\n  lv2:binary <" << binaryName
      << "> ;\n  rdfs:seeAlso <" << descriptionName << "> .\n";
}

void TurtleDescription::writePlugin(std::ostream& out) {
  Ferrowin effect(nullptr);
  char name[kVstMaxEffectNameLen + 1] = {};
  char vendor[kVstMaxVendorStrLen + 1] = {};
  effect.getEffectName(name);
  effect.getVendorString(vendor);

  out << kPrefixes << "<" << Lv2Adapter::kUri
      << ">\n  a lv2:Plugin , lv2:FilterPlugin , doap:Project ;\n"
      << "  doap:name " << quoted(name) << " ;\n"
      << "  doap:maintainer [ foaf:name " << quoted(vendor) << " ] ;\n"
      << "  lv2:optionalFeature lv2:hardRTCapable , urid:map ;\n  lv2:port";
  for (int i = 0; i < kNumParameters; ++i) {
    const ParameterInfo& parameter = kParameterTable[i];
    out << (i == 0 ? " [\n" : " , [\n") << "    a lv2:InputPort , lv2:ControlPort ;\n"
        << "    lv2:index " << i << " ;\n"
        << "    lv2:symbol " << quoted(symbolOf(parameter.name)) << " ;\n"
        << "    lv2:name " << quoted(parameter.name) << " ;\n"
        << "    lv2:default " << decimalOf(parameter.defaultValue) << " ;\n"
        << "    lv2:minimum 0.0 ;\n    lv2:maximum 1.0 ;\n  ]";
  }
  writeAudioPort(out, Lv2Adapter::kAudioInLeft, "Input", "in_left", "Input left");
  writeAudioPort(out, Lv2Adapter::kAudioInRight, "Input", "in_right", "Input right");
  writeAudioPort(out, Lv2Adapter::kAudioOutLeft, "Output", "out_left", "Output left");
  writeAudioPort(out, Lv2Adapter::kAudioOutRight, "Output", "out_right", "Output right");
  // Optional, so that a host without MIDI (or without a URID map) still runs the effect.
  out << " , [\n    a lv2:InputPort , atom:AtomPort ;\n    atom:bufferType atom:Sequence ;\n"
      << "    atom:supports midi:MidiEvent ;\n    lv2:designation lv2:control ;\n"
      << "    lv2:portProperty lv2:connectionOptional ;\n    lv2:index " << Lv2Adapter::kMidiIn
      << " ;\n    lv2:symbol \"midi_in\" ;\n    lv2:name \"MIDI in\" ;\n  ] .\n";
}

std::string TurtleDescription::symbolOf(const char* name) {
  std::string symbol;
  for (const char* c = name; *c != 0; ++c) {
    const char lower = (*c >= 'A' && *c <= 'Z') ? static_cast<char>(*c - 'A' + 'a') : *c;
    const bool kept = (lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9');
    symbol += kept ? lower : '_';
  }
  if (symbol.empty() || (symbol[0] >= '0' && symbol[0] <= '9')) symbol.insert(0, 1, '_');
  return symbol;
}

std::string TurtleDescription::decimalOf(float value) {
  char text[32];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(text, nullptr) == value) break;
  }
  std::string decimal = text;
  if (decimal.find_first_of(".eE") == std::string::npos) decimal += ".0";
  return decimal;
}

std::string TurtleDescription::quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

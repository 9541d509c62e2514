// Identity and capabilities: the record's sanity, its flags against what the plug-in answers,
// the identity texts within their limits, and the capability and automation answers.
#include "InfoReport.h"
#include "ValidationGroups.h"

namespace {

constexpr VstInt32 kKnownFlags = effFlagsHasEditor | effFlagsHasClip | effFlagsHasVu |
                                 effFlagsCanMono | effFlagsCanReplacing | effFlagsProgramChunks |
                                 effFlagsIsSynth | effFlagsNoSoundInStop | effFlagsExtIsAsync |
                                 effFlagsExtHasBuffer | effFlagsCanDoubleReplacing;
constexpr int kMaxChannels = 64;
constexpr int kMaxParameters = 100000;

std::string hex(VstInt32 value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

void checkRecord(PluginInstance& plugin, CheckReport& report) {
  const AEffect& r = *plugin.record();
  report.check(r.magic == kEffectMagic, "record magic", hex(r.magic));
  const bool counts = r.numPrograms >= 0 && r.numParams >= 0 && r.numParams <= kMaxParameters &&
                      r.numInputs >= 0 && r.numInputs <= kMaxChannels && r.numOutputs > 0 &&
                      r.numOutputs <= kMaxChannels;
  report.check(counts, "record counts",
               std::to_string(r.numPrograms) + " programs, " + std::to_string(r.numParams) +
                   " parameters, " + std::to_string(r.numInputs) + " inputs, " +
                   std::to_string(r.numOutputs) + " outputs");
  report.check(r.dispatcher && r.setParameter && r.getParameter, "record functions",
               "dispatcher, setParameter, getParameter present");
  report.check((r.flags & ~kKnownFlags) == 0, "flags are known bits", hex(r.flags));
  const bool replacing = (r.flags & effFlagsCanReplacing) != 0;
  report.check(replacing && r.processReplacing != nullptr, "processReplacing offered",
               std::string(replacing ? "flag set" : "flag not set") + ", function " +
                   (r.processReplacing ? "present" : "null"));
  if (r.flags & effFlagsCanDoubleReplacing)
    report.check(
        r.processDoubleReplacing != nullptr, "processDoubleReplacing offered",
        "flag set; function " + std::string(r.processDoubleReplacing ? "present" : "null"));
  report.check(r.initialDelay >= 0, "initial delay", std::to_string(r.initialDelay) + " frames");
}

void checkFlagAnswers(PluginInstance& plugin, CheckReport& report) {
  // The editor's size is the editor group's question: a plug-in may need a display to answer.
  const AEffect& r = *plugin.record();
  const VstIntPtr category = plugin.dispatch(effGetPlugCategory);
  const bool synth = (r.flags & effFlagsIsSynth) != 0;
  report.check(category >= 0 && category <= 11 && (!synth || category == 0 || category == 2),
               "category agrees with the synth flag",
               "category " + std::to_string(category) + (synth ? ", synth" : ", not a synth"));
  const VstIntPtr version = plugin.dispatch(effGetVstVersion);
  report.check(version >= 0 && version <= kVstVersion, "interface version",
               std::to_string(version));
}

void checkTexts(PluginInstance& plugin, CheckReport& report) {
  struct TextQuery {
    const char* what;
    VstInt32 opcode;
    size_t limit;
  };
  const TextQuery queries[] = {
      {"effect name", effGetEffectName, kVstMaxEffectNameLen},
      {"vendor", effGetVendorString, kVstMaxVendorStrLen},
      {"product", effGetProductString, kVstMaxProductStrLen},
      {"program name", effGetProgramName, kVstMaxProgNameLen},
  };
  for (const TextQuery& query : queries) {
    const TextAnswer answer = probeText(plugin, query.opcode, 0, query.limit);
    report.check(answer.fits(),
                 std::string(query.what) + " within " + std::to_string(query.limit) + " bytes",
                 answer.figure(query.limit));
  }
  int bad = 0;
  std::string first;
  for (VstInt32 i = 0; i < plugin.record()->numPrograms; ++i) {
    const TextAnswer answer = probeText(plugin, effGetProgramNameIndexed, i, kVstMaxProgNameLen);
    if (!answer.fits() && bad++ == 0)
      first = ", first: program " + std::to_string(i) + " " + answer.figure(kVstMaxProgNameLen);
  }
  report.check(bad == 0, "indexed program names within 24 bytes",
               std::to_string(plugin.record()->numPrograms) + " programs, " + std::to_string(bad) +
                   " too long" + first);
}

void checkAnswers(PluginInstance& plugin, CheckReport& report) {
  int odd = 0;
  std::string answers;
  for (int i = 0; i < kCommonCapabilityCount; ++i) {
    const VstIntPtr answer = plugin.canDo(kCommonCapabilities[i]);
    if (answer < -1 || answer > 1) ++odd;
    if (answer == 1) answers += std::string(answers.empty() ? "" : ", ") + kCommonCapabilities[i];
  }
  report.check(odd == 0, "effCanDo answers -1, 0 or 1",
               "yes to: " + (answers.empty() ? std::string("none") : answers));
  int automatable = 0;
  int oddAutomation = 0;
  const VstInt32 parameters = plugin.record()->numParams;
  for (VstInt32 i = 0; i < parameters; ++i) {
    const VstIntPtr answer = plugin.dispatch(effCanBeAutomated, i);
    if (answer == 1) ++automatable;
    if (answer != 0 && answer != 1) ++oddAutomation;
  }
  report.check(oddAutomation == 0, "effCanBeAutomated answers 0 or 1 for every parameter",
               std::to_string(automatable) + " of " + std::to_string(parameters) + " automatable");
}

}  // namespace

void checkIdentity(ValidationContext& context, CheckReport& report) {
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report);
  if (!plugin) return;
  checkRecord(*plugin, report);
  checkFlagAnswers(*plugin, report);
  checkTexts(*plugin, report);
  checkAnswers(*plugin, report);
}

// The 18 parameters: how a normalized value becomes a working value or a module setting, and
// what the host reads back as value, name, label and display text.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "AEffGUIEditor.h"
#include "Ferrowin.h"
#include "TextLimit.h"

namespace {

constexpr VstInt32 kDisplayChars = 8;
constexpr size_t kNameChars = 12;  // "Fil.KeyTrack": longer than the nominal 8

}  // namespace

void Ferrowin::setParameter(VstInt32 index, float x) {
  // A value that is not a number would poison the working values and the modules' states.
  if (!std::isfinite(x)) return;
  if (isParameterIndex(index)) {
    kParameterTable[index].apply(*this, x);
    if (ProgramRecord* record = currentProgram()) record->values[index] = x;
  }
  // Every change, from wherever it came and for any index, reaches the editor.
  if (auto* guiEditor = dynamic_cast<AEffGUIEditor*>(editor)) guiEditor->setParameter(index, x);
}

float Ferrowin::getParameter(VstInt32 index) {
  if (!isParameterIndex(index)) return 0.0f;
  if (kParameterTable[index].readBack) return kParameterTable[index].readBack(*this);
  const ProgramRecord* record = currentProgram();
  return record ? record->values[index] : 0.0f;
}

void Ferrowin::setProgram(VstInt32 program) {
  if (programs == nullptr || program < 0 || program >= kNumPrograms) return;
  curProgram = program;
  // Each stored value goes to its own parameter, in index order.
  for (VstInt32 i = 0; i < kNumParameters; ++i) setParameter(i, programs[program].values[i]);
}

void Ferrowin::setProgramName(char* name) {
  if (ProgramRecord* record = currentProgram())
    copyLimited(record->name, name, ProgramRecord::kNameBytes - 1);  // longer names are cut
}

void Ferrowin::getProgramName(char* name) {
  const ProgramRecord* record = currentProgram();
  if (record == nullptr) {
    *name = 0;
  } else if (std::strcmp(record->name, "Init") == 0) {
    // "Init" with the program's number, e.g. "Init 1".
    char numbered[ProgramRecord::kNameBytes + 16];
    std::snprintf(numbered, sizeof numbered, "%s %d", record->name, curProgram + 1);
    copyText(name, numbered, ProgramRecord::kNameBytes - 1);
  } else {
    copyText(name, record->name, ProgramRecord::kNameBytes - 1);
  }
}

bool Ferrowin::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) {
  if (index != 0 || programs == nullptr) return false;
  copyText(text, programs[0].name, ProgramRecord::kNameBytes - 1);
  return true;
}

void Ferrowin::getParameterName(VstInt32 index, char* text) {
  if (isParameterIndex(index)) copyText(text, kParameterTable[index].name, kNameChars);
}

void Ferrowin::getParameterLabel(VstInt32 index, char* label) {
  if (!isParameterIndex(index)) return;
  const char* text = kParameterTable[index].label;
  copyText(label, text ? text : oscillator.noteName, kDisplayChars);
}

void Ferrowin::getParameterDisplay(VstInt32 index, char* text) {
  if (!isParameterIndex(index)) return;  // the text stays untouched
  const ParameterInfo& parameter = kParameterTable[index];
  if (parameter.shownValue)
    float2string(parameter.shownValue(*this), text, kDisplayChars);
  else
    copyText(text, parameter.shownText(*this), kDisplayChars);
}

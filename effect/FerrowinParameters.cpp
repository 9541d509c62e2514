// The 18 parameters: how a normalized value becomes a working value or a module setting, and
// what the host reads back as value, name, label and display text.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "AEffEditor.h"
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
    if (ProgramRecord* record = currentProgram())
      record->values[index].store(x, std::memory_order_relaxed);
    parameterChanges.record(index, x);
    if (const auto shownValue = kParameterTable[index].shownValue)
      shownValues[index].store(shownValue(*this, x), std::memory_order_relaxed);
  }
  // Every change, from wherever it came and for any index, reaches the editor.
  if (editor) editor->setParameter(index, x);
}

void Ferrowin::applyParameterChanges() {
  parameterChanges.apply(
      [this](VstInt32 index, float x) { kParameterTable[index].apply(*this, x); },
      [this](VstInt32 index) { kParameterTable[index].apply(*this, valueOf(index)); });
}

float Ferrowin::valueOf(VstInt32 index) const {
  const ProgramRecord* record = currentProgram();
  return record ? record->values[index].load(std::memory_order_relaxed)
                : kParameterTable[index].defaultValue;
}

float Ferrowin::getParameter(VstInt32 index) {
  if (!isParameterIndex(index) || currentProgram() == nullptr) return 0.0f;
  return valueOf(index);
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
  copyText(label, text ? text : ParameterTable::noteNameOf(*this, valueOf(index)), kDisplayChars);
}

void Ferrowin::getParameterDisplay(VstInt32 index, char* text) {
  if (!isParameterIndex(index)) return;  // the text stays untouched
  const ParameterInfo& parameter = kParameterTable[index];
  if (parameter.shownValue) {
    float2string(shownValues[index].load(std::memory_order_relaxed), text, kDisplayChars);
  } else {
    char shown[8];
    parameter.shownText(valueOf(index), shown);
    copyText(text, shown, kDisplayChars);
  }
}

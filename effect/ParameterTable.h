// The effect's 18 parameters, each said once: index, name, label, default, how a normalized
// value becomes a working value or a module setting, and what the host reads back and sees.
#pragma once

#include "ParameterIndex.h"

class Ferrowin;

struct ParameterInfo {
  const char* name;    // up to 12 characters
  const char* label;   // unit shown beside the display; null: the note name of the value
  float defaultValue;  // normalized, 0..1, as a new program holds it
  // Sets the working value or module setting from a normalized value; on the audio side.
  void (*apply)(Ferrowin& effect, float x);
  // The number the display shows for the normalized value x (through the 8-character float
  // conversion); null when the display is a text. Asked when the value is set, on the setting
  // thread: it reads nothing the audio side writes while the host has processing running.
  float (*shownValue)(const Ferrowin& effect, float x);
  // The display text for x, for the parameters whose shownValue is null.
  void (*shownText)(float x, char (&text)[8]);
};

// Holds the rows; a friend of the effect, so that the rows reach its working values.
struct ParameterTable {
  static const ParameterInfo rows[kNumParameters];
  // The label of "OSC.Note" for the normalized value x: the name of its note.
  static const char* noteNameOf(const Ferrowin& effect, float x);
};

inline constexpr const ParameterInfo (&kParameterTable)[kNumParameters] = ParameterTable::rows;

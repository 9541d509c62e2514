// The effect's 18 parameters, each said once: index, name, label, default, how a normalized
// value becomes a working value or a module setting, and what the host reads back and sees.
#pragma once

class Ferrowin;

enum ParameterIndex : int {
  kOscAmount,       // "OSC.Amt"
  kOscNote,         // "OSC.Note"
  kOscWave,         // "OSC.Wave"
  kNoiseAmount,     // "Noise.Amt"
  kNoiseColor,      // "Noise.Color"
  kCutoff,          // "CutOff"
  kResonance,       // "Resonance"
  kFilterType,      // "FilterType"
  kEf1Smooth,       // "EF1.Smooth"
  kEf1OscAm,        // "EF1.Osc.AM"
  kEf1NoiseAm,      // "EF1.Noise.AM"
  kEf2Smooth,       // "EF2.Smooth"
  kEf2Cutoff,       // "EF2.Cutoff"
  kEf2OscFm,        // "EF2.OSC.FM"
  kDry2Filter,      // "Dry2Filter"
  kDry,             // "Dry"
  kFilterKeyTrack,  // "Fil.KeyTrack"
  kOscKeyTrack,     // "Osc.KeyTrack"
  kNumParameters
};

struct ParameterInfo {
  const char* name;    // up to 12 characters
  const char* label;   // unit shown beside the display; null: the oscillator's note name
  float defaultValue;  // normalized, 0..1, as a new program holds it
  // Sets the working value or module setting from a normalized value.
  void (*apply)(Ferrowin& effect, float x);
  // The number the display shows (through the 8-character float conversion); null when the
  // display is a text.
  float (*shownValue)(const Ferrowin& effect);
  // The display text, for the parameters whose shownValue is null.
  const char* (*shownText)(const Ferrowin& effect);
  // What the host reads back; null: the value stored in the current program.
  float (*readBack)(const Ferrowin& effect);
};

// Holds the rows; a friend of the effect, so that the rows reach its working values.
struct ParameterTable {
  static const ParameterInfo rows[kNumParameters];
};

inline constexpr const ParameterInfo (&kParameterTable)[kNumParameters] = ParameterTable::rows;

inline bool isParameterIndex(int index) { return index >= 0 && index < kNumParameters; }

// The effect's 18 parameters, each said once: index, name, label and default.
#pragma once

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
};

extern const ParameterInfo kParameterTable[kNumParameters];

inline bool isParameterIndex(int index) { return index >= 0 && index < kNumParameters; }

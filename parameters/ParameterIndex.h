// The effect's parameters by name, in the order of their indices: what the host numbers them
// by, and what the editor's controls are bound to.
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

inline bool isParameterIndex(int index) { return index >= 0 && index < kNumParameters; }

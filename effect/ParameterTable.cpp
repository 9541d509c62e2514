#include "ParameterTable.h"

const ParameterInfo kParameterTable[kNumParameters] = {
    {"OSC.Amt", "amount", 0.0f}, {"OSC.Note", nullptr, 0.2f},
    {"OSC.Wave", "shape", 0.0f}, {"Noise.Amt", "amount", 0.0f},
    {"Noise.Color", "", 0.0f},   {"CutOff", "Hz", 1.0f},
    {"Resonance", "", 0.1f},     {"FilterType", "", 0.0f},
    {"EF1.Smooth", "", 0.01f},   {"EF1.Osc.AM", "", 0.5f},
    {"EF1.Noise.AM", "", 0.5f},  {"EF2.Smooth", "", 0.01f},
    {"EF2.Cutoff", "-/+", 0.5f}, {"EF2.OSC.FM", "-/+", 0.5f},
    {"Dry2Filter", "", 0.5f},    {"Dry", "", 1.0f},
    {"Fil.KeyTrack", "", 0.0f},  {"Osc.KeyTrack", "", 0.0f},
};

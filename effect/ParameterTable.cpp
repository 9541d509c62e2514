#include "ParameterTable.h"

#include <cstdint>

#include "Ferrowin.h"
#include "RoundedMath.h"

namespace {

// A host may send any value and gets it back from getParameter, but the working values that
// scale levels, the cutoff and the feedback take it limited to 0..1: beyond that the maps
// overflow to infinity, the ladder's feedback turns unstable and the dry level overflows the
// output. Inside 0..1 the value passes unchanged.
float unit(float x) { return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x); }

// 0..1 onto 0..1 along an exponential: 0.5 gives about 0.0067, so most of the travel is quiet.
float exponentialAmount(float x) {
  return (rounded::exp(10.0f * x) - 1.0f) / (rounded::exp(10.0f) - 1.0f);
}

// "OSC.Note": x * 127 truncated, kept within the note table.
int keyOf(float x) {
  const float scaled = x * 127.0f;
  if (scaled >= 127.0f) return 127;
  return scaled > 0.0f ? static_cast<int>(scaled) : 0;
}

// "FilterType": (x - 0.1) * 3 truncated toward zero, in double: 0 low-pass, 1 high-pass,
// 2 band-pass. Values far outside 0..1 are held where the conversion stays defined.
int32_t filterTypeOf(float x) {
  const double t = (static_cast<double>(x) - 0.1) * 3.0;
  if (!(t > -1.0e9)) return t < 0.0 ? -1000000000 : 0;  // very negative, or NaN
  if (t > 1.0e9) return 1000000000;
  return static_cast<int32_t>(t);
}

const char* filterTypeName(int32_t type) {
  if (type == MoogFilter::kHighPass) return "HP";
  if (type == MoogFilter::kBandPass) return "BP";
  return "LP";
}

}  // namespace

// One row per parameter, in index order. The lambdas sit in the scope of this friend of the
// effect, so they may touch its working values.
const ParameterInfo ParameterTable::rows[kNumParameters] = {
    {"OSC.Amt", "amount", 0.0f,
     [](Ferrowin& e, float x) { e.oscAmount = exponentialAmount(unit(x)); },
     [](const Ferrowin& e) { return e.oscAmount; }, nullptr, nullptr},
    {"OSC.Note", nullptr, 0.2f,
     [](Ferrowin& e, float x) {
       const int key = keyOf(x);
       e.oscillator.baseFrequency = e.noteTable->frequency[key];
       e.oscillator.noteName = e.noteTable->name[key];
     },
     [](const Ferrowin& e) { return e.oscillator.baseFrequency; }, nullptr, nullptr},
    {"OSC.Wave", "shape", 0.0f, [](Ferrowin& e, float x) { e.oscillator.setWaveform(x); }, nullptr,
     [](const Ferrowin& e) -> const char* { return e.oscillator.waveName; },
     [](const Ferrowin& e) { return e.oscillator.waveformValue; }},
    {"Noise.Amt", "amount", 0.0f,
     [](Ferrowin& e, float x) { e.noiseAmount = 0.25f * exponentialAmount(unit(x)); },
     [](const Ferrowin& e) { return e.noiseAmount; }, nullptr, nullptr},
    {"Noise.Color", "", 0.0f, [](Ferrowin& e, float x) { e.noise.color = x; },
     [](const Ferrowin& e) { return e.noise.color; }, nullptr,
     [](const Ferrowin& e) { return e.noise.color; }},
    {"CutOff", "Hz", 1.0f,
     [](Ferrowin& e, float x) {
       e.filterLeft.setCutoff(unit(x));
       e.filterRight.setCutoff(unit(x));
     },
     [](const Ferrowin& e) { return e.filterLeft.cutoffHz; }, nullptr, nullptr},
    {"Resonance", "", 0.1f,
     [](Ferrowin& e, float x) {
       const float r = rounded::log10(unit(x) * 0.8f * 9.0f + 1.0f);
       e.filterLeft.setResonance(r);
       e.filterRight.setResonance(r);
     },
     [](const Ferrowin& e) { return e.filterLeft.resonance; }, nullptr, nullptr},
    {"FilterType", "", 0.0f,
     [](Ferrowin& e, float x) {
       e.filterLeft.filterType = e.filterRight.filterType = filterTypeOf(x);
     },
     nullptr, [](const Ferrowin& e) { return filterTypeName(e.filterLeft.filterType); }, nullptr},
    {"EF1.Smooth", "", 0.01f, [](Ferrowin& e, float x) { e.follower1.setSmoothing(x); },
     [](const Ferrowin& e) { return e.follower1.smoothing; }, nullptr, nullptr},
    {"EF1.Osc.AM", "", 0.5f, [](Ferrowin& e, float x) { e.ef1OscDepth = x; },
     [](const Ferrowin& e) { return e.ef1OscDepth; }, nullptr, nullptr},
    {"EF1.Noise.AM", "", 0.5f, [](Ferrowin& e, float x) { e.ef1NoiseDepth = x; },
     [](const Ferrowin& e) { return e.ef1NoiseDepth; }, nullptr, nullptr},
    {"EF2.Smooth", "", 0.01f, [](Ferrowin& e, float x) { e.follower2.setSmoothing(x); },
     [](const Ferrowin& e) { return e.follower2.smoothing; }, nullptr, nullptr},
    {"EF2.Cutoff", "-/+", 0.5f,
     [](Ferrowin& e, float x) { e.ef2CutoffDepth = 2.0f * unit(x) - 1.0f; },
     [](const Ferrowin& e) { return e.ef2CutoffDepth; }, nullptr, nullptr},
    {"EF2.OSC.FM", "-/+", 0.5f, [](Ferrowin& e, float x) { e.ef2FmDepth = (x - 0.5f) * 2000.0f; },
     [](const Ferrowin& e) { return e.ef2FmDepth; }, nullptr, nullptr},
    {"Dry2Filter", "", 0.5f, [](Ferrowin& e, float x) { e.dry2Filter = x; },
     [](const Ferrowin& e) { return e.dry2Filter; }, nullptr, nullptr},
    {"Dry", "", 1.0f, [](Ferrowin& e, float x) { e.dryLevel = unit(x); },
     [](const Ferrowin& e) { return e.dryLevel; }, nullptr, nullptr},
    {"Fil.KeyTrack", "", 0.0f, [](Ferrowin& e, float x) { e.filterKeyTrack = unit(x); },
     [](const Ferrowin& e) { return e.filterKeyTrack; }, nullptr, nullptr},
    {"Osc.KeyTrack", "", 0.0f, [](Ferrowin& e, float x) { e.oscKeyTrack = x; },
     [](const Ferrowin& e) { return e.oscKeyTrack; }, nullptr, nullptr},
};

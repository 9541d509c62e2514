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

void nameFilterType(float x, char (&text)[8]) {
  const int32_t type = filterTypeOf(x);
  const char* name = type == MoogFilter::kHighPass   ? "HP"
                     : type == MoogFilter::kBandPass ? "BP"
                                                     : "LP";
  for (int i = 0; i < 3; ++i) text[i] = name[i];
}

// The working values of the rows whose display shows them.
float oscAmountOf(float x) { return exponentialAmount(unit(x)); }
float noiseAmountOf(float x) { return 0.25f * exponentialAmount(unit(x)); }
float resonanceOf(float x) { return rounded::log10(unit(x) * 0.8f * 9.0f + 1.0f); }
float ef2CutoffDepthOf(float x) { return 2.0f * unit(x) - 1.0f; }
float ef2FmDepthOf(float x) { return (x - 0.5f) * 2000.0f; }
float itself(const Ferrowin& /*effect*/, float x) { return x; }
float unitOf(const Ferrowin& /*effect*/, float x) { return unit(x); }

}  // namespace

const char* ParameterTable::noteNameOf(const Ferrowin& e, float x) {
  return e.noteTable->name[keyOf(x)];
}

// One row per parameter, in index order. The lambdas sit in the scope of this friend of the
// effect, so they may touch its working values.
const ParameterInfo ParameterTable::rows[kNumParameters] = {
    {"OSC.Amt", "amount", 0.0f, [](Ferrowin& e, float x) { e.oscAmount = oscAmountOf(x); },
     [](const Ferrowin&, float x) { return oscAmountOf(x); }, nullptr},
    {"OSC.Note", nullptr, 0.2f,
     [](Ferrowin& e, float x) { e.oscillator.baseFrequency = e.noteTable->frequency[keyOf(x)]; },
     [](const Ferrowin& e, float x) { return e.noteTable->frequency[keyOf(x)]; }, nullptr},
    {"OSC.Wave", "shape", 0.0f, [](Ferrowin& e, float x) { e.oscillator.setWaveform(x); }, nullptr,
     FMOscilator::nameWaveform},
    {"Noise.Amt", "amount", 0.0f, [](Ferrowin& e, float x) { e.noiseAmount = noiseAmountOf(x); },
     [](const Ferrowin&, float x) { return noiseAmountOf(x); }, nullptr},
    {"Noise.Color", "", 0.0f, [](Ferrowin& e, float x) { e.noise.color = x; }, itself, nullptr},
    {"CutOff", "Hz", 1.0f,
     [](Ferrowin& e, float x) {
       e.filterLeft.setCutoff(unit(x));
       e.filterRight.setCutoff(unit(x));
     },
     // The Hz at the rate in force now; the rate and the map change only while the host has
     // processing stopped.
     [](const Ferrowin& e, float x) { return e.filterLeft.hzOf(e.filterLeft.cutoffOf(unit(x))); },
     nullptr},
    {"Resonance", "", 0.1f,
     [](Ferrowin& e, float x) {
       const float r = resonanceOf(x);
       e.filterLeft.setResonance(r);
       e.filterRight.setResonance(r);
     },
     [](const Ferrowin&, float x) { return resonanceOf(x); }, nullptr},
    {"FilterType", "", 0.0f,
     [](Ferrowin& e, float x) {
       e.filterLeft.filterType = e.filterRight.filterType = filterTypeOf(x);
     },
     nullptr, nameFilterType},
    {"EF1.Smooth", "", 0.01f, [](Ferrowin& e, float x) { e.follower1.setSmoothing(x); }, itself,
     nullptr},
    {"EF1.Osc.AM", "", 0.5f, [](Ferrowin& e, float x) { e.ef1OscDepth = x; }, itself, nullptr},
    {"EF1.Noise.AM", "", 0.5f, [](Ferrowin& e, float x) { e.ef1NoiseDepth = x; }, itself, nullptr},
    {"EF2.Smooth", "", 0.01f, [](Ferrowin& e, float x) { e.follower2.setSmoothing(x); }, itself,
     nullptr},
    {"EF2.Cutoff", "-/+", 0.5f,
     [](Ferrowin& e, float x) { e.ef2CutoffDepth = ef2CutoffDepthOf(x); },
     [](const Ferrowin&, float x) { return ef2CutoffDepthOf(x); }, nullptr},
    {"EF2.OSC.FM", "-/+", 0.5f, [](Ferrowin& e, float x) { e.ef2FmDepth = ef2FmDepthOf(x); },
     [](const Ferrowin&, float x) { return ef2FmDepthOf(x); }, nullptr},
    {"Dry2Filter", "", 0.5f, [](Ferrowin& e, float x) { e.dry2Filter = x; }, itself, nullptr},
    {"Dry", "", 1.0f, [](Ferrowin& e, float x) { e.dryLevel = unit(x); }, unitOf, nullptr},
    {"Fil.KeyTrack", "", 0.0f, [](Ferrowin& e, float x) { e.filterKeyTrack = unit(x); }, unitOf,
     nullptr},
    {"Osc.KeyTrack", "", 0.0f, [](Ferrowin& e, float x) { e.oscKeyTrack = x; }, itself, nullptr},
};

// The 18 parameters: how a normalized value becomes a working value or a module setting, and
// what the host reads back as value, name, label and display text.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Ferrowin.h"
#include "RoundedMath.h"
#include "TextLimit.h"

namespace {

constexpr VstInt32 kDisplayChars = 8;
constexpr size_t kNameChars = 12;  // "Fil.KeyTrack": longer than the nominal 8

// 0..1 onto 0..1 along an exponential: 0.5 gives about 0.0067, so most of the travel is quiet.
float exponentialAmount(float x) {
  return (rounded::exp(10.0f * x) - 1.0f) / (rounded::exp(10.0f) - 1.0f);
}

// "OSC.Note": x * 127 truncated, kept within the note table (a NaN chooses key 0).
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

void Ferrowin::setParameter(VstInt32 index, float x) {
  // A value that is not a number would poison the working values and the modules' states.
  if (!std::isfinite(x)) return;
  switch (index) {
    case kOscAmount:
      oscAmount = exponentialAmount(x);
      break;
    case kOscNote: {
      const int key = keyOf(x);
      oscillator.baseFrequency = noteTable->frequency[key];
      oscillator.noteName = noteTable->name[key];
      break;
    }
    case kOscWave:
      oscillator.setWaveform(x);
      break;
    case kNoiseAmount:
      noiseAmount = 0.25f * exponentialAmount(x);
      break;
    case kNoiseColor:
      noise.color = x;
      break;
    case kCutoff:
      filterLeft.setCutoff(x);
      filterRight.setCutoff(x);
      break;
    case kResonance: {
      const float r = rounded::log10(x * 0.8f * 9.0f + 1.0f);
      filterLeft.setResonance(r);
      filterRight.setResonance(r);
      break;
    }
    case kFilterType:
      filterLeft.filterType = filterRight.filterType = filterTypeOf(x);
      break;
    case kEf1Smooth:
      follower1.setSmoothing(x);
      break;
    case kEf1OscAm:
      ef1OscDepth = x;
      break;
    case kEf1NoiseAm:
      ef1NoiseDepth = x;
      break;
    case kEf2Smooth:
      follower2.setSmoothing(x);
      break;
    case kEf2Cutoff:
      ef2CutoffDepth = 2.0f * x - 1.0f;
      break;
    case kEf2OscFm:
      ef2FmDepth = (x - 0.5f) * 2000.0f;
      break;
    case kDry2Filter:
      dry2Filter = x;
      break;
    case kDry:
      dryLevel = x;
      break;
    case kFilterKeyTrack:
      filterKeyTrack = x;
      break;
    case kOscKeyTrack:
      oscKeyTrack = x;
      break;
    default:
      break;
  }
  if (isParameterIndex(index) && currentProgram()) currentProgram()->values[index] = x;
  // Every change, from wherever it came, reaches the open editor here once the editor exists.
}

float Ferrowin::getParameter(VstInt32 index) {
  switch (index) {
    case kOscWave:
      return oscillator.waveformValue;
    case kNoiseColor:
      return noise.color;
    case kDry:
      return dryLevel;
    default:
      return isParameterIndex(index) && currentProgram() ? currentProgram()->values[index] : 0.0f;
  }
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
    copyLimited(name, numbered, ProgramRecord::kNameBytes - 1);
  } else {
    copyLimited(name, record->name, ProgramRecord::kNameBytes - 1);
  }
}

bool Ferrowin::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) {
  if (index != 0 || programs == nullptr) return false;
  copyLimited(text, programs[0].name, ProgramRecord::kNameBytes - 1);
  return true;
}

void Ferrowin::getParameterName(VstInt32 index, char* text) {
  if (isParameterIndex(index)) copyLimited(text, kParameterTable[index].name, kNameChars);
}

void Ferrowin::getParameterLabel(VstInt32 index, char* label) {
  if (!isParameterIndex(index)) return;
  const char* text = kParameterTable[index].label;
  copyLimited(label, text ? text : oscillator.noteName, kDisplayChars);
}

void Ferrowin::getParameterDisplay(VstInt32 index, char* text) {
  float value = 0.0f;
  switch (index) {
    case kOscAmount:
      value = oscAmount;
      break;
    case kOscNote:
      value = oscillator.baseFrequency;
      break;
    case kOscWave:
      copyLimited(text, oscillator.waveName, kDisplayChars);
      return;
    case kNoiseAmount:
      value = noiseAmount;
      break;
    case kNoiseColor:
      value = noise.color;
      break;
    case kCutoff:
      value = filterLeft.cutoffHz;
      break;
    case kResonance:
      value = filterLeft.resonance;
      break;
    case kFilterType:
      copyLimited(text, filterTypeName(filterLeft.filterType), kDisplayChars);
      return;
    case kEf1Smooth:
      value = follower1.smoothing;
      break;
    case kEf1OscAm:
      value = ef1OscDepth;
      break;
    case kEf1NoiseAm:
      value = ef1NoiseDepth;
      break;
    case kEf2Smooth:
      value = follower2.smoothing;
      break;
    case kEf2Cutoff:
      value = ef2CutoffDepth;
      break;
    case kEf2OscFm:
      value = ef2FmDepth;
      break;
    case kDry2Filter:
      value = dry2Filter;
      break;
    case kDry:
      value = dryLevel;
      break;
    case kFilterKeyTrack:
      value = filterKeyTrack;
      break;
    case kOscKeyTrack:
      value = oscKeyTrack;
      break;
    default:
      return;  // unknown index: the text stays untouched
  }
  float2string(value, text, kDisplayChars);
}

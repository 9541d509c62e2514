// Parameter mapping, display texts, labels, names and program names, seen through the
// dispatcher as a host sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "Ferrowin.h"
#include "FerrowinProbe.h"

namespace {

constexpr float kMapTolerance = 1e-6f;  // single-precision maps against their closed forms
constexpr float kHzTolerance = 0.01f;   // a frequency carried through single-precision fractions

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

class FerrowinParameters : public ::testing::Test {
 protected:
  std::string text(VstInt32 opcode, VstInt32 index) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    buffer[sizeof buffer - 1] = 0;
    effect.dispatcher(opcode, index, 0, buffer, 0.0f);
    return buffer;
  }
  std::string display(VstInt32 index) { return text(effGetParamDisplay, index); }
  std::string label(VstInt32 index) { return text(effGetParamLabel, index); }
  std::string name(VstInt32 index) { return text(effGetParamName, index); }
  std::string programName() { return text(effGetProgramName, 0); }
  void set(VstInt32 index, float value) {
    effect.getAeffect()->setParameter(effect.getAeffect(), index, value);
  }
  float get(VstInt32 index) {
    return effect.getAeffect()->getParameter(effect.getAeffect(), index);
  }

  Ferrowin effect{host};
  const FerrowinProbe probe{effect};
};

TEST_F(FerrowinParameters, NamesAndDefaultsOfANewEffect) {
  const char* names[] = {"OSC.Amt",      "OSC.Note",     "OSC.Wave",    "Noise.Amt",  "Noise.Color",
                         "CutOff",       "Resonance",    "FilterType",  "EF1.Smooth", "EF1.Osc.AM",
                         "EF1.Noise.AM", "EF2.Smooth",   "EF2.Cutoff",  "EF2.OSC.FM", "Dry2Filter",
                         "Dry",          "Fil.KeyTrack", "Osc.KeyTrack"};
  const float defaults[] = {0.0f, 0.2f, 0.0f,  0.0f, 0.0f, 1.0f, 0.1f, 0.0f, 0.01f,
                            0.5f, 0.5f, 0.01f, 0.5f, 0.5f, 0.5f, 1.0f, 0.0f, 0.0f};
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(name(i), names[i]);
    EXPECT_EQ(get(i), defaults[i]) << names[i];
  }
  EXPECT_EQ(display(kFilterType), "LP");
  EXPECT_EQ(display(kOscNote), "34.64782");
  EXPECT_EQ(label(kOscNote), "C#1");
  EXPECT_EQ(display(kOscAmount), "0.000000");
  EXPECT_EQ(display(kDry), "1.000000");
  EXPECT_EQ(display(kOscWave), "sin");
  EXPECT_EQ(display(kCutoff), "22050.00");
  EXPECT_EQ(programName(), "Init 1");
}

// Names, labels and display texts are written with their terminator and nothing behind it:
// a host's buffer may be only as long as the nominal 8 characters.
TEST_F(FerrowinParameters, TextsEndAtTheirTerminator) {
  for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
    for (VstInt32 index = 0; index < kNumParameters; ++index) {
      char buffer[64];
      std::memset(buffer, '#', sizeof buffer);
      effect.dispatcher(opcode, index, 0, buffer, 0.0f);
      const size_t length = strnlen(buffer, sizeof buffer);
      ASSERT_LT(length, sizeof buffer - 1);
      EXPECT_EQ(buffer[length + 1], '#') << "opcode " << opcode << ", parameter " << index;
    }
  }
}

TEST_F(FerrowinParameters, LabelsAndUnknownIndices) {
  EXPECT_EQ(label(kOscAmount), "amount");
  EXPECT_EQ(label(kNoiseAmount), "amount");
  EXPECT_EQ(label(kOscWave), "shape");
  EXPECT_EQ(label(kCutoff), "Hz");
  EXPECT_EQ(label(kEf2Cutoff), "-/+");
  EXPECT_EQ(label(kEf2OscFm), "-/+");
  EXPECT_EQ(label(kResonance), "");
  EXPECT_EQ(label(kDry), "");
  // Outside 0..17 the host's buffer stays as it was and nothing is stored.
  for (VstInt32 index : {-1, 18, 1000}) {
    EXPECT_EQ(label(index).substr(0, 4), "####");
    EXPECT_EQ(display(index).substr(0, 4), "####");
    EXPECT_EQ(name(index).substr(0, 4), "####");
    EXPECT_EQ(get(index), 0.0f);
  }
  set(18, 0.7f);
  EXPECT_EQ(get(18), 0.0f);
  EXPECT_EQ(name(kFilterKeyTrack), "Fil.KeyTrack");  // all 12 characters
}

TEST_F(FerrowinParameters, NoteChoice) {
  set(kOscNote, 1.0f);
  EXPECT_EQ(probe.oscillator().baseFrequency, probe.noteTable().frequency[127]);
  EXPECT_EQ(label(kOscNote), "G9");
  EXPECT_EQ(display(kOscNote), "12543.85");
  set(kOscNote, 0.0f);
  EXPECT_EQ(label(kOscNote), "C-1");
  set(kOscNote, 5.0f);  // beyond 1: limited to key 127
  EXPECT_EQ(label(kOscNote), "G9");
  set(kOscNote, -0.5f);
  EXPECT_EQ(label(kOscNote), "C-1");
}

TEST_F(FerrowinParameters, FilterTypeBoundaries) {
  const std::pair<float, const char*> cases[] = {
      {0.0f, "LP"},  {0.43f, "LP"}, {0.44f, "HP"}, {0.76f, "HP"},
      {0.77f, "BP"}, {1.0f, "BP"},  {1.2f, "LP"},  // type 3 shows as low-pass
  };
  for (const auto& [value, shown] : cases) {
    set(kFilterType, value);
    EXPECT_EQ(display(kFilterType), shown) << value;
    EXPECT_EQ(probe.filterLeft().filterType, probe.filterRight().filterType);
  }
}

TEST_F(FerrowinParameters, MapsAgainstTheirClosedForms) {
  set(kOscAmount, 0.5f);
  EXPECT_NEAR(probe.oscAmount(), (std::exp(5.0) - 1) / (std::exp(10.0) - 1), kMapTolerance);
  set(kOscAmount, 1.0f);
  EXPECT_FLOAT_EQ(probe.oscAmount(), 1.0f);
  set(kNoiseAmount, 1.0f);
  EXPECT_FLOAT_EQ(probe.noiseAmount(), 0.25f);
  set(kResonance, 1.0f);
  EXPECT_NEAR(probe.filterLeft().resonance, std::log10(8.2), kMapTolerance);
  EXPECT_EQ(probe.filterRight().resonance, probe.filterLeft().resonance);
  set(kResonance, 0.0f);
  EXPECT_EQ(probe.filterLeft().resonance, 0.0f);
  set(kEf2Cutoff, 0.0f);
  EXPECT_EQ(probe.ef2CutoffDepth(), -1.0f);
  set(kCutoff, 0.5f);
  EXPECT_EQ(probe.filterLeft().cutoff, probe.filterRight().cutoff);
  EXPECT_NEAR(probe.filterLeft().cutoffHz, probe.filterLeft().cutoff * 22050.0f, 1e-3f);
  set(kOscWave, 0.5f);
  EXPECT_EQ(display(kOscWave), "tri-saw");
  EXPECT_EQ(get(kOscWave), 0.5f);
}

// A display shows what its value meant when it was set: a later rate change leaves the
// cutoff's Hz, as it leaves the filter's.
TEST_F(FerrowinParameters, DisplaysOfValuesSetAtARate) {
  struct Row {
    VstInt32 index;
    float value;
    float rateAtSetHz;
    float rateAfterHz;
    const char* shown;
  };
  const Row rows[] = {
      {kEf2OscFm, 0.5f, 44100.0f, 44100.0f, "0.000000"},
      {kEf2OscFm, 1.0f, 44100.0f, 44100.0f, "1000.000"},
      {kEf2OscFm, 0.0f, 44100.0f, 44100.0f, "-1000.00"},
      {kCutoff, 1.0f, 44100.0f, 88200.0f, "22050.00"},
      {kCutoff, 1.0f, 88200.0f, 44100.0f, "44100.00"},
      {kCutoff, 1.0f, 22050.0f, 96000.0f, "11025.00"},
      {kEf1Smooth, 0.3f, 44100.0f, 88200.0f, "0.300000"},
      {kOscNote, 1.0f, 44100.0f, 88200.0f, "12543.85"},
      {kResonance, 0.0f, 44100.0f, 88200.0f, "0.000000"},
  };
  for (const Row& row : rows) {
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, row.rateAtSetHz);
    set(row.index, row.value);
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, row.rateAfterHz);
    EXPECT_EQ(display(row.index), row.shown) << row.index << " at " << row.rateAfterHz;
  }
  // The filter still runs at the Hz it was last set to, three rate changes later.
  EXPECT_NEAR(probe.filterLeft().hzOf(probe.filterLeft().cutoff), 11025.0f, kHzTolerance);
}

TEST_F(FerrowinParameters, ProgramRecordKeepsTheLastValues) {
  set(kNoiseColor, 0.3f);
  probe.noise().color = 0.9f;  // something else moved the module
  effect.dispatcher(effSetProgram, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(get(kNoiseColor), 0.3f);
  EXPECT_EQ(probe.noise().color, 0.3f);
}

TEST_F(FerrowinParameters, ValuesThatAreNotNumbersAreRefused) {
  set(kDry, std::numeric_limits<float>::quiet_NaN());
  set(kCutoff, std::numeric_limits<float>::infinity());
  EXPECT_EQ(get(kDry), 1.0f);
  EXPECT_EQ(probe.dryLevel(), 1.0f);
  EXPECT_EQ(display(kCutoff), "22050.00");
}

TEST_F(FerrowinParameters, ProgramNames) {
  EXPECT_EQ(programName(), "Init 1");
  char init[] = "Init";
  effect.dispatcher(effSetProgramName, 0, 0, init, 0.0f);
  EXPECT_EQ(programName(), "Init 1");
  char other[] = "Growl";
  effect.dispatcher(effSetProgramName, 0, 0, other, 0.0f);
  EXPECT_EQ(programName(), "Growl");
  char indexed[64] = {};
  EXPECT_EQ(effect.dispatcher(effGetProgramNameIndexed, 0, 0, indexed, 0.0f), 1);
  EXPECT_STREQ(indexed, "Growl");
  EXPECT_EQ(effect.dispatcher(effGetProgramNameIndexed, 1, 0, indexed, 0.0f), 0);
  // A name longer than the record keeps its first 23 characters.
  char longName[] = "An extraordinarily long program name";
  effect.dispatcher(effSetProgramName, 0, 0, longName, 0.0f);
  EXPECT_EQ(programName(), std::string(longName, 23));
  effect.dispatcher(effSetProgramName, 0, 0, init, 0.0f);
  EXPECT_EQ(effect.dispatcher(effGetProgramNameIndexed, 0, 0, indexed, 0.0f), 1);
  EXPECT_STREQ(indexed, "Init");  // the bare stored name, without the number
}

}  // namespace

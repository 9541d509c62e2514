#include "FMOscilator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <future>
#include <initializer_list>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kLength = FMWavetables::kLength;
constexpr double kPi = 3.14159265358979323846;
// A table entry against its closed form in double: the tables are built with up to three float
// roundings of values up to 2 (2^-24 each), and the float step constants.
constexpr double kTableTolerance = 4e-7;
// Weights and morph values are float arithmetic on x * 3.
constexpr float kWeightTolerance = 1e-6f;
// Measured frequency against the quantised one, relative: the crossings are located to a frame
// over about three seconds of signal.
constexpr double kMeasureRelativeTolerance = 2e-5;
// At the frame of a saw or square jump the output is the old value give or take one
// increment of the new waveform (296 steps of the saw: 0.024).
constexpr float kDeclickTolerance = 0.03f;

// Closed forms of the three tables, in double.
double sineAt(int j) { return std::sin(static_cast<double>(static_cast<float>(j) * 0.0002513272f)); }
double rampAt(int j) { return 1.0 - j * 0.00008; }
double triangleAt(int j) {
  const int k = (j + kLength / 4) % kLength;  // the table is moved back a quarter period
  return k < kLength / 2 ? k * 0.00016 - 1.0 : 1.0 - (k - kLength / 2) * 0.00016;
}

// Runs one frame on silence and returns the left value (the right one is checked equal).
float step(FMOscilator& osc) {
  float frame[2] = {0.0f, 0.0f};
  osc.process(frame);
  EXPECT_EQ(frame[0], frame[1]);
  return frame[0];
}

struct TableCopy {
  const FMWavetables* address = nullptr;
  std::vector<float> sine, ramp, triangle;
};

TableCopy copyTables(const FMOscilator& osc) {
  const FMWavetables& t = *osc.wavetables;
  return {&t, std::vector<float>(t.sineTable, t.sineTable + kLength),
          std::vector<float>(t.rampTable, t.rampTable + kLength),
          std::vector<float>(t.triangleTable, t.triangleTable + kLength)};
}

void expectClosedForms(const TableCopy& t) {
  for (int j = 0; j < kLength; ++j) {
    ASSERT_NEAR(t.sine[j], sineAt(j), kTableTolerance) << "sine " << j;
    ASSERT_NEAR(t.ramp[j], rampAt(j), kTableTolerance) << "ramp " << j;
    ASSERT_NEAR(t.triangle[j], triangleAt(j), kTableTolerance) << "triangle " << j;
  }
}

TEST(FMOscilatorTest, TablesHoldTheirWaveforms) {
  FMOscilator osc;
  const TableCopy t = copyTables(osc);
  expectClosedForms(t);

  EXPECT_EQ(t.sine[0], 0.0f);
  EXPECT_NEAR(t.sine[6250], 1.0, kTableTolerance);
  EXPECT_NEAR(t.sine[18750], -1.0, kTableTolerance);
  // A little short of a full turn: the last entry is just below 0, by about 0.000257.
  EXPECT_LT(t.sine[kLength - 1], -0.0002f);
  EXPECT_GT(t.sine[kLength - 1], -0.0003f);

  EXPECT_EQ(t.ramp[0], 1.0f);
  EXPECT_NEAR(t.ramp[kLength - 1], -0.99992, kTableTolerance);

  // The triangle starts at 0 rising, peaks where the sine does.
  EXPECT_NEAR(t.triangle[0], 0.0, kTableTolerance);
  EXPECT_GT(t.triangle[1], t.triangle[0]);
  EXPECT_EQ(t.triangle[6250], 1.0f);
  EXPECT_EQ(t.triangle[18750], -1.0f);
  EXPECT_NEAR(t.triangle[kLength - 1], -0.00016, kTableTolerance);
  for (int j = 1; j < kLength; ++j) {
    if (j == kLength / 2) continue;  // both cross zero here
    ASSERT_EQ(t.triangle[j] > 0.0f, t.sine[j] > 0.0f) << "phase " << j;
  }
}

TEST(FMOscilatorTest, OscillatorsOnTwoThreadsSeeOneCompleteSetOfTables) {
  // Nothing has built the tables in this process yet when this test runs alone.
  std::promise<void> startGun;
  std::shared_future<void> start = startGun.get_future().share();
  auto construct = [start] {
    start.wait();
    FMOscilator osc;
    return copyTables(osc);
  };
  std::future<TableCopy> first = std::async(std::launch::async, construct);
  std::future<TableCopy> second = std::async(std::launch::async, construct);
  startGun.set_value();
  const TableCopy a = first.get();
  const TableCopy b = second.get();

  EXPECT_EQ(a.address, b.address);
  EXPECT_EQ(a.sine, b.sine);
  EXPECT_EQ(a.ramp, b.ramp);
  EXPECT_EQ(a.triangle, b.triangle);
  expectClosedForms(a);
}

TEST(FMOscilatorTest, ConstructorDefaults) {
  FMOscilator osc;
  EXPECT_EQ(osc.channelCount, 2);
  EXPECT_EQ(osc.phase, 0);
  EXPECT_EQ(osc.pulseWidth, 12500);
  EXPECT_EQ(osc.waveA, 0);
  EXPECT_EQ(osc.waveB, 0);
  EXPECT_EQ(osc.weightA, 1.0f);
  EXPECT_EQ(osc.weightB, 0.0f);
  EXPECT_STREQ(osc.waveName, "");
  EXPECT_EQ(osc.baseFrequency, 523.25f);
  EXPECT_STREQ(osc.noteName, "Hz");
  EXPECT_EQ(osc.noteName, osc.noteTable->name[NoteTable::kKeys]);
  EXPECT_EQ(osc.amplitude, 0.1f);
  EXPECT_EQ(osc.frequencyOffset, 0.0f);
  EXPECT_EQ(osc.stepsPerHz, 25000.0f / 44100.0f);
  EXPECT_EQ(FMOscilator::clickLength, 2);
  EXPECT_EQ(osc.clickCounter, 2);
  EXPECT_EQ(osc.clickTable[0], -0.5f);
  EXPECT_NEAR(osc.clickTable[1], 0.0, 1e-7);
}

TEST(FMOscilatorTest, MorphNamesAndWeights) {
  struct Case {
    float x;
    int waveA, waveB;
    float weightB;
    const char* name;
  };
  const Case cases[] = {
      {0.0f, 0, 0, 0.0f, "sin"},       {0.25f, 0, 1, 0.75f, "sin-tri"},
      {0.5f, 1, 2, 0.5f, "tri-saw"},   {0.335f, 1, 1, 0.005f, "tri"},  // m = 1.005
      {2.0f / 3.0f, 2, 2, 0.0f, "saw"}, {0.9f, 2, 3, 0.7f, "saw-sqr"},
      {1.0f, 3, 3, 0.0f, "sqr"},
      // Outside 0..1 the morph is taken at the nearer end.
      {1.5f, 3, 3, 0.0f, "sqr"},       {-0.5f, 0, 0, 0.0f, "sin"},
  };
  for (const Case& c : cases) {
    FMOscilator osc;
    osc.setWaveform(c.x);
    EXPECT_EQ(osc.waveformValue, c.x);
    EXPECT_EQ(osc.waveA, c.waveA) << c.x;
    EXPECT_EQ(osc.waveB, c.waveB) << c.x;
    EXPECT_NEAR(osc.weightB, c.weightB, kWeightTolerance) << c.x;
    EXPECT_NEAR(osc.weightA, 1.0f - c.weightB, kWeightTolerance) << c.x;
    EXPECT_STREQ(osc.waveName, c.name) << c.x;
  }

  FMOscilator osc;
  osc.setWaveform(std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(std::isnan(osc.waveformValue));
  EXPECT_STREQ(osc.waveName, "sin");
}

TEST(FMOscilatorTest, MorphedValueIsTheWeightedSum) {
  const FMWavetables& t = FMWavetables::instance();
  for (int phase : {0, 3000, 9000, 17000, 24000}) {
    FMOscilator osc;  // a fresh oscillator's first frame is never de-clicked
    osc.setWaveform(0.5f);
    osc.amplitude = 0.5f;
    osc.phase = phase;
    const float expected = (t.triangleTable[phase] * 0.5f + t.rampTable[phase] * 0.5f) * 0.5f;
    EXPECT_FLOAT_EQ(step(osc), expected) << "phase " << phase;
  }
}

TEST(FMOscilatorTest, AddsTheSameValueToBothChannels) {
  FMOscilator osc;
  osc.phase = 6250;  // sine at its peak
  float frame[2] = {0.25f, -0.5f};
  osc.process(frame);
  const float out = FMWavetables::instance().sineTable[6250] * 0.1f;
  EXPECT_FLOAT_EQ(frame[0], 0.25f + out);
  EXPECT_FLOAT_EQ(frame[1], -0.5f + out);
}

TEST(FMOscilatorTest, PhaseAdvancesByWholeSteps) {
  FMOscilator osc;  // 523.25 Hz at 44100 Hz: 296.6 steps, played as 296
  step(osc);
  EXPECT_EQ(osc.phase, 296);
  step(osc);
  EXPECT_EQ(osc.phase, 592);

  // Below the lowest key the frequency stops at key 0: 8.175799 Hz, 4.6 steps.
  FMOscilator low;
  low.frequencyOffset = -1000.0f;
  step(low);
  EXPECT_EQ(low.phase, 4);
  low.frequencyOffset = std::numeric_limits<float>::quiet_NaN();
  step(low);
  EXPECT_EQ(low.phase, 8);

  // A frequency above the sample rate: 28344 steps wrap to 3344.
  FMOscilator high;
  high.baseFrequency = 50000.0f;
  step(high);
  EXPECT_EQ(high.phase, 3344);
  step(high);
  EXPECT_EQ(high.phase, 6688);

  FMOscilator rate;
  rate.setSampleRate(48000.0f);
  EXPECT_EQ(rate.sampleRate, 48000.0f);
  EXPECT_EQ(rate.stepsPerHz, 25000.0f / 48000.0f);
  step(rate);
  EXPECT_EQ(rate.phase, 272);  // 272.5 steps
}

TEST(FMOscilatorTest, PhaseStaysInTableForWildSettings) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  FMOscilator osc;
  osc.setWaveform(0.9f);
  for (float rate : {0.0f, -48000.0f, nan, 1e-30f, 8000.0f}) {
    osc.setSampleRate(rate);
    EXPECT_GT(osc.stepsPerHz, 0.0f) << rate;
    for (float offset : {inf, -inf, nan, 1e30f, -1e30f, 1e9f, 0.0f}) {
      osc.frequencyOffset = offset;
      for (int i = 0; i < 10; ++i) {
        step(osc);
        ASSERT_GE(osc.phase, 0) << rate << " " << offset;
        ASSERT_LT(osc.phase, kLength) << rate << " " << offset;
      }
    }
  }
}

TEST(FMOscilatorTest, SquareFollowsPulseWidth) {
  struct Case {
    int pulseWidth, phase;
    float value;
  };
  const Case cases[] = {{12500, 0, 1.0f},     {12500, 12499, 1.0f}, {12500, 12500, -1.0f},
                        {12500, 24999, -1.0f}, {5000, 4999, 1.0f},   {5000, 5000, -1.0f}};
  for (const Case& c : cases) {
    FMOscilator osc;
    osc.setWaveform(1.0f);
    osc.amplitude = 1.0f;
    osc.pulseWidth = c.pulseWidth;
    osc.phase = c.phase;
    EXPECT_EQ(step(osc), c.value) << "width " << c.pulseWidth << " phase " << c.phase;
  }
}

// Plays the given waveform at 523.25 Hz for frames and checks every jump's de-click: the jump's
// frame gives about the old value, the next the midpoint, then the new value follows. Returns
// the number of jumps seen.
int expectDeclickedJumps(float waveform, int frames) {
  FMOscilator osc;
  osc.setWaveform(waveform);
  osc.amplitude = 1.0f;
  const FMWavetables& t = *osc.wavetables;
  auto raw = [&](int phase) {
    if (osc.waveA == 2) return t.rampTable[phase];
    return phase < osc.pulseWidth ? 1.0f : -1.0f;
  };
  std::vector<float> rawValues, outputs;
  for (int i = 0; i < frames; ++i) {
    rawValues.push_back(raw(osc.phase));
    outputs.push_back(step(osc));
  }
  int jumps = 0;
  float largestOutputStep = 0.0f;
  for (int i = 1; i + 2 < frames; ++i) {
    largestOutputStep = std::max(largestOutputStep, std::fabs(outputs[i] - outputs[i - 1]));
    const float before = rawValues[i - 1];
    const float after = rawValues[i];
    if (std::fabs(after - before) <= 0.1f) {
      // Two frames after the last jump the waveform plays unaltered.
      if (i >= 2 && std::fabs(rawValues[i - 1] - rawValues[i - 2]) <= 0.1f) {
        EXPECT_EQ(outputs[i], rawValues[i]) << "frame " << i;
      }
      continue;
    }
    ++jumps;
    EXPECT_NEAR(outputs[i], before, kDeclickTolerance) << "jump frame " << i;
    EXPECT_NEAR(outputs[i + 1], (before + after) * 0.5f, kDeclickTolerance) << "frame " << i + 1;
    EXPECT_EQ(outputs[i + 2], rawValues[i + 2]) << "frame " << i + 2;
  }
  // Jumps of about 2 come out in steps of about 1.
  EXPECT_LT(largestOutputStep, 1.0f + kDeclickTolerance);
  return jumps;
}

TEST(FMOscilatorTest, SawResetIsDeclicked) {
  // 2000 frames of 296 steps wrap 23 times.
  EXPECT_EQ(expectDeclickedJumps(2.0f / 3.0f, 2000), 23);
}

TEST(FMOscilatorTest, SquareEdgesAreDeclicked) {
  // Two edges per period.
  EXPECT_EQ(expectDeclickedJumps(1.0f, 2000), 47);
}

TEST(FMOscilatorTest, SineIsNeverDeclicked) {
  FMOscilator osc;
  osc.setWaveform(0.0f);
  osc.amplitude = 1.0f;
  for (int i = 0; i < 5000; ++i) {
    const float expected = osc.wavetables->sineTable[osc.phase];
    ASSERT_EQ(step(osc), expected) << "frame " << i;
  }
}

TEST(FMOscilatorTest, MorphChangeIsDeclicked) {
  FMOscilator osc;
  osc.setWaveform(0.0f);
  osc.amplitude = 1.0f;
  osc.baseFrequency = 0.0f;  // at the floor, 4 steps a frame
  osc.phase = 2083;          // sine about 0.5; a fresh oscillator's first frame detects no jump
  const float old = step(osc);
  ASSERT_NEAR(old, 0.5f, 0.01f);
  osc.setWaveform(1.0f);  // square: +1
  const float jumpFrame = step(osc);
  const float next = step(osc);
  const float settled = step(osc);
  EXPECT_NEAR(jumpFrame, old, kDeclickTolerance);
  EXPECT_NEAR(next, (old + 1.0f) * 0.5f, kDeclickTolerance);
  EXPECT_EQ(settled, 1.0f);
}

TEST(FMOscilatorTest, ClickCounterStaysBounded) {
  FMOscilator osc;
  osc.setWaveform(0.0f);
  osc.setSampleRate(384000.0f);  // the lowest frequency plays 0 steps: the phase never wraps
  osc.frequencyOffset = -1000.0f;
  for (int i = 0; i < 100000; ++i) step(osc);
  EXPECT_EQ(osc.phase, 0);
  EXPECT_EQ(osc.clickCounter, FMOscilator::clickLength + 1);
}

// Frequency from upward zero crossings of a sine: crossings counted between the first and the
// last one, over the frames between them.
double measureFrequency(FMOscilator& osc, float rateHz, int frames) {
  int first = -1, last = -1, crossings = 0;
  float previous = step(osc);
  for (int i = 1; i < frames; ++i) {
    const float value = step(osc);
    if (previous < 0.0f && value >= 0.0f) {
      if (first < 0) first = i;
      last = i;
      ++crossings;
    }
    previous = value;
  }
  if (crossings < 2) return 0.0;
  return (crossings - 1) * static_cast<double>(rateHz) / (last - first);
}

TEST(FMOscilatorTest, PlaysTheNoteFrequency) {
  for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
    const double quantumHz = rate / 25000.0;
    for (int key : {21, 45, 69, 93, 117}) {
      FMOscilator osc;
      osc.setSampleRate(rate);
      osc.setWaveform(0.0f);
      osc.amplitude = 1.0f;
      const float noteHz = osc.noteTable->frequency[key];
      osc.baseFrequency = noteHz;
      const double measured = measureFrequency(osc, rate, static_cast<int>(rate) * 3);
      const double playedHz = std::floor(noteHz * (25000.0f / rate)) * quantumHz;
      EXPECT_NEAR(measured, playedHz, playedHz * kMeasureRelativeTolerance) << "key " << key << " at " << rate;
      EXPECT_LE(std::fabs(measured - noteHz), quantumHz) << "key " << key << " at " << rate;
    }
  }
}

TEST(FMOscilatorTest, FrequencyOffsetShiftsThePitch) {
  FMOscilator osc;
  osc.setWaveform(0.0f);
  osc.amplitude = 1.0f;
  osc.baseFrequency = 440.0f;
  osc.frequencyOffset = 110.0f;
  const double measured = measureFrequency(osc, 44100.0f, 44100 * 3);
  EXPECT_LE(std::fabs(measured - 550.0), 44100.0 / 25000.0);
}

}  // namespace

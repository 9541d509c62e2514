#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

#include "FMOscilator.h"

namespace {

constexpr int kLength = FMWavetables::kLength;
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
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Runs one frame on silence and returns the left value (the right one is checked equal).
float step(FMOscilator& osc) {
  float frame[2] = {0.0f, 0.0f};
  osc.process(frame);
  EXPECT_EQ(frame[0], frame[1]);
  return frame[0];
}

// An oscillator at full amplitude on the given waveform.
FMOscilator playing(float waveform) {
  FMOscilator osc;
  osc.setWaveform(waveform);
  osc.amplitude = 1.0f;
  return osc;
}

// Entries of the three tables away from their closed forms: a sine a little short of a full
// turn, a falling saw from 1, and a triangle that starts at 0 rising like the sine.
int tableMismatches(const FMWavetables& t) {
  int mismatches = 0;
  for (int j = 0; j < kLength; ++j) {
    const double sine = std::sin(static_cast<double>(static_cast<float>(j) * 0.0002513272f));
    const int k = (j + kLength / 4) % kLength;  // the triangle is moved back a quarter period
    const double triangle = k < kLength / 2 ? k * 0.00016 - 1.0 : 1.0 - (k - kLength / 2) * 0.00016;
    mismatches += std::fabs(t.sineTable[j] - sine) > kTableTolerance;
    mismatches += std::fabs(t.rampTable[j] - (1.0 - j * 0.00008)) > kTableTolerance;
    mismatches += std::fabs(t.triangleTable[j] - triangle) > kTableTolerance;
  }
  return mismatches;
}

// The tables are built by whichever of two threads gets there first; both must find the one,
// complete set.
TEST(FMOscilatorTest, OscillatorsOnTwoThreadsSeeOneCompleteSetOfTables) {
  // Nothing has built the tables in this process yet when this test runs alone.
  std::promise<void> startGun;
  std::shared_future<void> start = startGun.get_future().share();
  auto construct = [start] {
    start.wait();
    FMOscilator osc;
    return std::make_pair(osc.wavetables, tableMismatches(*osc.wavetables));
  };
  std::future<std::pair<const FMWavetables*, int>> first =
      std::async(std::launch::async, construct);
  std::future<std::pair<const FMWavetables*, int>> second =
      std::async(std::launch::async, construct);
  startGun.set_value();
  const auto a = first.get();
  const auto b = second.get();
  EXPECT_EQ(a.first, b.first);
  EXPECT_EQ(a.second, 0);
  EXPECT_EQ(b.second, 0);
}

// Within 0.01 above a whole multiple of 1/3 the morph stays on one waveform (0.335: m =
// 1.005); outside 0..1 it is taken at the nearer end.
TEST(FMOscilatorTest, MorphNamesWeightsAndOutput) {
  const struct {
    float x;
    int waveA, waveB;
    float weightB;
    const char* name;
  } cases[] = {{0.0f, 0, 0, 0.0f, "sin"},        {0.25f, 0, 1, 0.75f, "sin-tri"},
               {0.5f, 1, 2, 0.5f, "tri-saw"},    {0.335f, 1, 1, 0.005f, "tri"},
               {2.0f / 3.0f, 2, 2, 0.0f, "saw"}, {0.9f, 2, 3, 0.7f, "saw-sqr"},
               {1.0f, 3, 3, 0.0f, "sqr"},        {1.5f, 3, 3, 0.0f, "sqr"},
               {-0.5f, 0, 0, 0.0f, "sin"},       {kNaN, 0, 0, 0.0f, "sin"}};
  for (const auto& c : cases) {
    FMOscilator osc;
    osc.setWaveform(c.x);
    EXPECT_EQ(osc.waveA, c.waveA) << c.x;
    EXPECT_EQ(osc.waveB, c.waveB) << c.x;
    EXPECT_NEAR(osc.weightB, c.weightB, kWeightTolerance) << c.x;
    EXPECT_NEAR(osc.weightA, 1.0f - c.weightB, kWeightTolerance) << c.x;
    EXPECT_STREQ(osc.waveName, c.name) << c.x;
  }

  // The output is the weighted sum of the two waveforms times the amplitude, added to both
  // channels; a square is +1 below the pulse width and -1 from it on.
  FMOscilator osc;  // a fresh oscillator's first frame is never de-clicked
  osc.setWaveform(0.5f);
  osc.amplitude = 0.5f;
  osc.phase = 17000;
  float frame[2] = {0.25f, -0.5f};
  osc.process(frame);
  const FMWavetables& t = *osc.wavetables;
  const float out = (t.triangleTable[17000] * 0.5f + t.rampTable[17000] * 0.5f) * 0.5f;
  EXPECT_FLOAT_EQ(frame[0], 0.25f + out);
  EXPECT_FLOAT_EQ(frame[1], -0.5f + out);
  const struct {
    int pulseWidth, phase;
    float value;
  } squares[] = {
      {12500, 12499, 1.0f}, {12500, 12500, -1.0f}, {5000, 4999, 1.0f}, {5000, 5000, -1.0f}};
  for (const auto& c : squares) {
    FMOscilator square = playing(1.0f);
    square.pulseWidth = c.pulseWidth;
    square.phase = c.phase;
    EXPECT_EQ(step(square), c.value) << "width " << c.pulseWidth << " phase " << c.phase;
  }
}

// The phase advances by the truncated number of table steps (523.25 Hz at 44100 Hz: 296.6),
// with the frequency (also NaN) floored at the lowest key, 8.175799 Hz (4.6 steps), and
// wrapped by the remainder when the step exceeds the table (50000 Hz: 28344 steps).
TEST(FMOscilatorTest, PhaseAdvancesByWholeStepsWithinTheTable) {
  const struct {
    float rateHz, baseHz, offsetHz;
    int afterOne, afterTwo;
  } cases[] = {{44100.0f, 523.25f, 0.0f, 296, 592},
               {44100.0f, 523.25f, -1000.0f, 4, 8},
               {44100.0f, 523.25f, kNaN, 4, 8},
               {44100.0f, 50000.0f, 0.0f, 3344, 6688},
               {48000.0f, 523.25f, 0.0f, 272, 544}};
  for (const auto& c : cases) {
    FMOscilator osc;
    osc.setSampleRate(c.rateHz);
    osc.baseFrequency = c.baseHz;
    osc.frequencyOffset = c.offsetHz;
    step(osc);
    EXPECT_EQ(osc.phase, c.afterOne) << c.baseHz << " + " << c.offsetHz << " at " << c.rateHz;
    step(osc);
    EXPECT_EQ(osc.phase, c.afterTwo) << c.baseHz << " + " << c.offsetHz << " at " << c.rateHz;
  }
  // Wild settings keep the phase within the table.
  const float inf = std::numeric_limits<float>::infinity();
  FMOscilator osc = playing(0.9f);
  for (float rate : {0.0f, -48000.0f, kNaN, 1e-30f, 8000.0f}) {
    osc.setSampleRate(rate);
    EXPECT_GT(osc.stepsPerHz, 0.0f) << rate;
    for (float offset : {inf, -inf, kNaN, 1e30f, -1e30f, 1e9f, 0.0f}) {
      osc.frequencyOffset = offset;
      for (int i = 0; i < 10; ++i) {
        step(osc);
        ASSERT_GE(osc.phase, 0) << rate << " " << offset;
        ASSERT_LT(osc.phase, kLength) << rate << " " << offset;
      }
    }
  }
  // At the floor and a high rate the step is 0: the phase never wraps, and the frames since
  // the last jump stop counting at clickLength + 1.
  FMOscilator still = playing(0.0f);
  still.setSampleRate(384000.0f);
  still.frequencyOffset = -1000.0f;
  for (int i = 0; i < 100000; ++i) step(still);
  EXPECT_EQ(still.phase, 0);
  EXPECT_EQ(still.clickCounter, FMOscilator::clickLength + 1);
}

// Jumps of more than 0.1 (the saw's reset, the square's edges) are softened: the jump's frame
// gives about the old value, the next the midpoint, then the new value follows; elsewhere the
// waveform plays unaltered. The sine never jumps.
TEST(FMOscilatorTest, JumpsAreDeclickedOverTwoFrames) {
  const struct {
    float waveform;
    int jumps;  // in 2000 frames of 296 steps
  } cases[] = {{0.0f, 0}, {2.0f / 3.0f, 23}, {1.0f, 47}};
  for (const auto& c : cases) {
    FMOscilator osc = playing(c.waveform);
    const FMWavetables& t = *osc.wavetables;
    std::vector<float> raw, out;
    for (int i = 0; i < 2000; ++i) {
      raw.push_back(osc.waveA == 0   ? t.sineTable[osc.phase]
                    : osc.waveA == 2 ? t.rampTable[osc.phase]
                                     : (osc.phase < osc.pulseWidth ? 1.0f : -1.0f));
      out.push_back(step(osc));
    }
    int jumps = 0;
    float largestStep = 0.0f;
    for (size_t i = 2; i + 2 < raw.size(); ++i) {
      largestStep = std::max(largestStep, std::fabs(out[i] - out[i - 1]));
      const bool jump = std::fabs(raw[i] - raw[i - 1]) > 0.1f;
      if (!jump) {
        if (std::fabs(raw[i - 1] - raw[i - 2]) <= 0.1f) {
          ASSERT_EQ(out[i], raw[i]) << "frame " << i;
        }
        continue;
      }
      ++jumps;
      EXPECT_NEAR(out[i], raw[i - 1], kDeclickTolerance) << "jump frame " << i;
      EXPECT_NEAR(out[i + 1], (raw[i - 1] + raw[i]) * 0.5f, kDeclickTolerance) << i + 1;
      EXPECT_EQ(out[i + 2], raw[i + 2]) << "frame " << i + 2;
    }
    EXPECT_EQ(jumps, c.jumps) << "waveform " << c.waveform;
    EXPECT_LT(largestStep, 1.0f + kDeclickTolerance) << "jumps of 2 come out in steps of 1";
  }

  // A morph change from a sine at about 0.7 to the square's +1, a jump of only 0.3, at the
  // floor (4 steps a frame).
  FMOscilator osc = playing(0.0f);
  osc.baseFrequency = 0.0f;
  osc.phase = 3085;
  const float old = step(osc);
  ASSERT_NEAR(old, 0.7f, 0.01f);
  osc.setWaveform(1.0f);
  EXPECT_NEAR(step(osc), old, kDeclickTolerance);
  EXPECT_NEAR(step(osc), (old + 1.0f) * 0.5f, kDeclickTolerance);
  EXPECT_EQ(step(osc), 1.0f);
}

// Pitch measured from upward zero crossings of the sine over three seconds: the note's
// frequency plus the offset, quantised down to a multiple of sampleRate / 25000.
TEST(FMOscilatorTest, PlaysTheNoteFrequency) {
  for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
    const double quantumHz = rate / 25000.0;
    for (int key : {21, 45, 69, 93, 117, -1}) {
      FMOscilator osc = playing(0.0f);
      osc.setSampleRate(rate);
      osc.baseFrequency = key < 0 ? 440.0f : osc.noteTable->frequency[key];
      osc.frequencyOffset = key < 0 ? 110.0f : 0.0f;
      const float wantedHz = osc.baseFrequency + osc.frequencyOffset;
      int first = -1, last = -1, crossings = 0;
      float previous = step(osc);
      for (int i = 1; i < static_cast<int>(rate) * 3; ++i) {
        const float value = step(osc);
        if (previous < 0.0f && value >= 0.0f) {
          if (first < 0) first = i;
          last = i;
          ++crossings;
        }
        previous = value;
      }
      ASSERT_GE(crossings, 2);
      const double measured = (crossings - 1) * static_cast<double>(rate) / (last - first);
      const double playedHz = std::floor(wantedHz * (25000.0f / rate)) * quantumHz;
      EXPECT_NEAR(measured, playedHz, playedHz * kMeasureRelativeTolerance)
          << wantedHz << " Hz at " << rate;
    }
  }
}

}  // namespace

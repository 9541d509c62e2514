#include "MoogFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <initializer_list>
#include <limits>

namespace {

const float kRate = 44100.0f;
const double kPi = 3.14159265358979323846;

// The cutoff map in double precision: x in 0..1 to a fraction of the Nyquist frequency.
double mappedCutoff(double x, double offset, double slope) {
  return (std::exp(10.0 * (x * slope + offset)) - 1.0) / (std::exp(10.0) - 1.0);
}

// A filter at the effect's level scale whose smoother already sits at cutoffHz.
MoogFilter settledFilter(float cutoffHz, float resonance, int type) {
  MoogFilter filter;
  filter.levelScale = 3.0f;
  filter.setResonance(resonance);
  filter.filterType = type;
  filter.cutoff = cutoffHz * 2.0f / kRate;
  filter.smoothedCutoff = filter.cutoff;
  return filter;
}

// RMS gain for a sine tone once the filter's transient has died away. By default the tone
// enters the ladder at 0.1, where the last stage's cubic clip bends an unresonant signal by
// well under 1 %.
double toneGain(MoogFilter filter, double toneHz, double amplitude = 0.3) {
  const int kSettleFrames = 8192;
  const int kMeasureFrames = 16384;
  double inSquares = 0.0;
  double outSquares = 0.0;
  for (int n = 0; n < kSettleFrames + kMeasureFrames; ++n) {
    const float in = static_cast<float>(amplitude * std::sin(2.0 * kPi * toneHz * n / kRate));
    float value = in;
    filter.process(&value);
    if (n >= kSettleFrames) {
      inSquares += double(in) * in;
      outSquares += double(value) * value;
    }
  }
  return std::sqrt(outSquares / inSquares);
}

TEST(MoogFilterTest, NewFilterIsOpenAndGlidesFromClosed) {
  MoogFilter filter;
  EXPECT_EQ(filter.channelCount, 1);
  EXPECT_EQ(filter.cutoff, 1.0f);
  EXPECT_EQ(filter.cutoffHz, 22050.0f);
  EXPECT_FLOAT_EQ(filter.smoothedCutoff, 0.01f);  // one smoother step from 0
  EXPECT_EQ(filter.filterType, MoogFilter::kLowPass);
}

TEST(MoogFilterTest, CutoffMapIsExponential) {
  const double kRelativeTolerance = 1e-5;  // single-precision exp
  MoogFilter filter;
  for (float x : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
    filter.setCutoff(x);
    const double expected = mappedCutoff(x, 0.28, 0.72);
    EXPECT_NEAR(filter.cutoff, expected, expected * kRelativeTolerance) << "x " << x;
    EXPECT_FLOAT_EQ(filter.cutoffHz, filter.cutoff * 22050.0f) << "x " << x;
  }
  filter.setCutoff(0.0f);
  EXPECT_NEAR(filter.cutoff, 0.0007, 0.00005);
  EXPECT_NEAR(filter.cutoffHz, 15.46, 0.01);
  filter.setCutoff(1.0f);
  EXPECT_EQ(filter.cutoff, 1.0f);
  EXPECT_EQ(filter.cutoffHz, 22050.0f);
}

// The smoother is a one-pole glide with a time constant of 100 frames: the constructor's
// step plus n frames leave 0.99^(n+1) of the way still to go.
TEST(MoogFilterTest, CutoffSmootherGlidesTowardTheTarget) {
  const double kTolerance = 1e-5;  // accumulated rounding over 1000 steps
  MoogFilter filter;
  float silence = 0.0f;
  int frames = 0;
  for (int checkpoint : {1, 100, 300, 1000}) {
    for (; frames < checkpoint; ++frames) filter.process(&silence);
    EXPECT_NEAR(filter.smoothedCutoff, 1.0 - std::pow(0.99, checkpoint + 1), kTolerance)
        << checkpoint << " frames";
  }

  const float before = filter.smoothedCutoff;
  filter.setCutoff(0.5f);  // a setting moves the smoother by exactly one step
  EXPECT_FLOAT_EQ(filter.smoothedCutoff, filter.cutoff * 0.01f + 0.99f * before);
}

// The target is smoothed before it is clamped: the smoother may run outside 0..1 while the
// coefficients stay those of the range's ends.
TEST(MoogFilterTest, ModulationIsSmoothedThenClamped) {
  MoogFilter filter;
  filter.setResonance(0.5f);
  float silence = 0.0f;

  filter.cutoffOffset = -3.0f;  // target -2
  for (int i = 0; i < 1000; ++i) filter.process(&silence);
  EXPECT_LT(filter.smoothedCutoff, -1.9f);
  EXPECT_EQ(filter.stageGain, 0.0f);
  EXPECT_EQ(filter.stageFeedback, -1.0f);
  EXPECT_FLOAT_EQ(filter.feedback, 3.8f * 0.5f);  // fully closed: 3.8 x resonance

  filter.cutoffOffset = 2.0f;  // target 3
  for (int i = 0; i < 1000; ++i) filter.process(&silence);
  EXPECT_GT(filter.smoothedCutoff, 2.9f);
  EXPECT_EQ(filter.stageGain, 1.0f);
  EXPECT_EQ(filter.stageFeedback, 1.0f);
  EXPECT_EQ(filter.feedback, 0.5f);  // fully open: resonance itself
}

TEST(MoogFilterTest, SampleRateChangeKeepsTheCutoffInHertz) {
  const double kMapTolerance = 1e-5;
  MoogFilter filter;
  filter.setSampleRate(kRate);
  EXPECT_NEAR(filter.mapOffset, 0.2888903, kMapTolerance);
  EXPECT_NEAR(filter.mapSlope, 1.0 - 0.2888903, kMapTolerance);

  filter.setCutoff(0.5f);
  const float cutoff = filter.cutoff;
  const float cutoffHz = filter.cutoffHz;
  const float smoothed = filter.smoothedCutoff;
  filter.setSampleRate(2.0f * kRate);
  EXPECT_EQ(filter.sampleRate, 2.0f * kRate);
  EXPECT_FLOAT_EQ(filter.cutoff, cutoff * 0.5f);
  EXPECT_EQ(filter.cutoffHz, cutoffHz);  // left as it was
  EXPECT_FLOAT_EQ(filter.smoothedCutoff, filter.cutoff * 0.01f + 0.99f * smoothed);
  EXPECT_NEAR(filter.mapOffset, 100.0 * std::log10(1.0 + 9.0 * 32.70318 / 88200.0),
              kMapTolerance);
  EXPECT_FLOAT_EQ(filter.mapSlope, 1.0f - filter.mapOffset);

  // Later settings use the new map.
  filter.setCutoff(0.0f);
  const double expected = mappedCutoff(0.0, filter.mapOffset, filter.mapSlope);
  EXPECT_NEAR(filter.cutoff, expected, expected * 1e-5);
  EXPECT_FLOAT_EQ(filter.cutoffHz, filter.cutoff * 44100.0f);
}

TEST(MoogFilterTest, CutoffAboveTheNewNyquistFrequencyIsLimited) {
  MoogFilter filter;  // open at 22050 Hz
  filter.setSampleRate(22050.0f);
  EXPECT_EQ(filter.cutoff, 1.0f);
  EXPECT_EQ(filter.sampleRate, 22050.0f);
}

// A rate of zero, below zero or not finite would poison the map and the ladder's state for
// good; such rates leave the filter as it was.
TEST(MoogFilterTest, ImpossibleSampleRatesAreIgnored) {
  MoogFilter filter;
  filter.setCutoff(0.5f);
  const float cutoff = filter.cutoff;
  const float mapOffset = filter.mapOffset;
  for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::infinity(),
                     std::numeric_limits<float>::quiet_NaN()}) {
    filter.setSampleRate(rate);
    EXPECT_EQ(filter.sampleRate, kRate) << rate;
    EXPECT_EQ(filter.cutoff, cutoff) << rate;
    EXPECT_EQ(filter.mapOffset, mapOffset) << rate;
  }
  float value = 0.5f;
  filter.process(&value);
  EXPECT_TRUE(std::isfinite(value));
}

TEST(MoogFilterTest, UnknownTypesActAsLowPass) {
  MoogFilter lowPass = settledFilter(2000.0f, 0.5f, MoogFilter::kLowPass);
  MoogFilter three = settledFilter(2000.0f, 0.5f, 3);
  MoogFilter minusOne = settledFilter(2000.0f, 0.5f, -1);
  MoogFilter highPass = settledFilter(2000.0f, 0.5f, MoogFilter::kHighPass);
  bool highPassDiffers = false;
  for (int n = 0; n < 2000; ++n) {
    const float in = (n % 37) * 0.05f - 0.9f;
    float a = in, b = in, c = in, d = in;
    lowPass.process(&a);
    three.process(&b);
    minusOne.process(&c);
    highPass.process(&d);
    ASSERT_EQ(b, a) << "frame " << n;
    ASSERT_EQ(c, a) << "frame " << n;
    highPassDiffers = highPassDiffers || d != a;
  }
  EXPECT_TRUE(highPassDiffers);
}

// With levelScale 3 an input of 3 enters the ladder as 1 and the output is scaled back up:
// the same filter at levelScale 1 fed a third of the signal gives a third of the output.
TEST(MoogFilterTest, LevelScaleDividesTheInputAndMultipliesTheOutput) {
  for (int type : {0, 1, 2}) {
    MoogFilter scaled = settledFilter(3000.0f, 0.7f, type);
    MoogFilter unit = settledFilter(3000.0f, 0.7f, type);
    unit.levelScale = 1.0f;
    for (int n = 0; n < 500; ++n) {
      const float in = static_cast<float>((n * 7) % 17 - 8) * 0.125f;  // exact in thirds
      float a = in * 3.0f;
      float b = in;
      scaled.process(&a);
      unit.process(&b);
      ASSERT_FLOAT_EQ(a, b * 3.0f) << "type " << type << " frame " << n;
    }
  }
}

// At DC every stage has unity gain, so the loop settles at in / (1 + q); with no resonance
// the four stages are a plain cascade that passes DC unchanged.
TEST(MoogFilterTest, DirectCurrentGainFollowsTheFeedback) {
  const double kRelativeTolerance = 1e-3;  // the cubic clip at this small level
  for (float resonance : {0.0f, 0.3f, 0.9f}) {
    MoogFilter filter = settledFilter(1000.0f, resonance, MoogFilter::kLowPass);
    filter.levelScale = 1.0f;
    float value = 0.0f;
    for (int n = 0; n < 20000; ++n) {
      value = 0.03f;
      filter.process(&value);
    }
    const double expected = 0.03 / (1.0 + filter.feedback);
    EXPECT_NEAR(value, expected, expected * kRelativeTolerance) << "resonance " << resonance;
  }
}

// Small signals (here entering the ladder at 0.01, so that even a resonant peak stays clear
// of the cubic clip) see a linear system: each stage is H(z) = p (1 + z^-1) / (1 + f z^-1), the
// feedback reaches the input one frame late, so with L = H^4 the outputs are
// L / (1 + q z^-1 L), (1 - L) / (1 + q z^-1 L) and 4 (H^2 - L) / (1 + q z^-1 L).
double ladderGain(const MoogFilter& filter, double toneHz) {
  using Complex = std::complex<double>;
  const Complex zInverse = std::polar(1.0, -2.0 * kPi * toneHz / kRate);
  const Complex h = double(filter.stageGain) * (1.0 + zInverse) /
                    (1.0 + double(filter.stageFeedback) * zInverse);
  const Complex h2 = h * h;
  const Complex h4 = h2 * h2;
  const Complex loop = 1.0 + double(filter.feedback) * zInverse * h4;
  switch (filter.filterType) {
    case MoogFilter::kHighPass:
      return std::abs((1.0 - h4) / loop);
    case MoogFilter::kBandPass:
      return std::abs(4.0 * (h2 - h4) / loop);
    default:
      return std::abs(h4 / loop);
  }
}

TEST(MoogFilterTest, SmallSignalsFollowTheLadderTransferFunction) {
  const double kRelativeTolerance = 0.005;  // the cubic clip and the finite measurement
  const double kSmallAmplitude = 0.03;
  for (int type : {0, 1, 2}) {
    for (float resonance : {0.0f, 0.6f}) {
      MoogFilter filter = settledFilter(1500.0f, resonance, type);
      filter.updateCoefficients(filter.cutoff);  // the coefficients the tones will see
      for (double hz : {100.0, 700.0, 1500.0, 4000.0}) {
        const double expected = ladderGain(filter, hz);
        EXPECT_NEAR(toneGain(filter, hz, kSmallAmplitude), expected, expected * kRelativeTolerance)
            << "type " << type << " resonance " << resonance << " tone " << hz << " Hz";
      }
    }
  }
}

TEST(MoogFilterTest, LowPassPassesLowTonesAndStopsHighOnes) {
  const double kPassMin = 0.95;   // three octaves below cutoff
  const double kStopMax = 0.003;  // three octaves above: four poles, about -72 dB ideal
  const MoogFilter filter = settledFilter(1000.0f, 0.0f, MoogFilter::kLowPass);
  EXPECT_GT(toneGain(filter, 125.0), kPassMin);
  EXPECT_LT(toneGain(filter, 8000.0), kStopMax);
}

// The high-pass output is the ladder's input minus its low-pass output, so below cutoff it
// falls at 6 dB per octave only; two decades below leaves a few per cent.
TEST(MoogFilterTest, HighPassPassesHighTonesAndStopsLowOnes) {
  const double kPassMin = 0.95;
  const double kStopMax = 0.1;
  const MoogFilter filter = settledFilter(1000.0f, 0.0f, MoogFilter::kHighPass);
  EXPECT_GT(toneGain(filter, 10000.0), kPassMin);
  EXPECT_LT(toneGain(filter, 10.0), kStopMax);
}

TEST(MoogFilterTest, BandPassPeaksNearCutoff) {
  const double kSkirtRatio = 0.25;  // the ends of the sweep, relative to the peak
  const float cutoffHz = 1000.0f;
  const MoogFilter filter = settledFilter(cutoffHz, 0.3f, MoogFilter::kBandPass);
  double peakGain = 0.0;
  double peakHz = 0.0;
  for (double hz = cutoffHz / 16.0; hz <= cutoffHz * 16.0; hz *= std::sqrt(2.0)) {
    const double gain = toneGain(filter, hz);
    if (gain > peakGain) {
      peakGain = gain;
      peakHz = hz;
    }
  }
  EXPECT_GE(peakHz, cutoffHz / 2.0);
  EXPECT_LE(peakHz, cutoffHz * 2.0);
  EXPECT_LT(toneGain(filter, cutoffHz / 16.0), peakGain * kSkirtRatio);
  EXPECT_LT(toneGain(filter, cutoffHz * 16.0), peakGain * kSkirtRatio);
}

TEST(MoogFilterTest, ResonanceRaisesTheResponseAtCutoff) {
  const double kStrongOverNone = 2.0;  // resonance 0.9 against none, at the cutoff
  const float cutoffHz = 1000.0f;
  double previous = 0.0;
  double none = 0.0;
  for (float resonance : {0.0f, 0.3f, 0.6f, 0.9f}) {
    const double gain =
        toneGain(settledFilter(cutoffHz, resonance, MoogFilter::kLowPass), cutoffHz);
    if (resonance == 0.0f) none = gain;
    EXPECT_GT(gain, previous) << "resonance " << resonance;
    previous = gain;
  }
  EXPECT_GT(previous, none * kStrongOverNone);
  // Resonance lifts the cutoff region, not the whole band: far below cutoff the loop's
  // feedback lowers the gain instead.
  EXPECT_LT(toneGain(settledFilter(cutoffHz, 0.9f, MoogFilter::kLowPass), 60.0),
            toneGain(settledFilter(cutoffHz, 0.0f, MoogFilter::kLowPass), 60.0));
}

}  // namespace

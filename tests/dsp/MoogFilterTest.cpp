#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <initializer_list>
#include <limits>

#include "MoogFilter.h"

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

// The map sends 1 to exactly the Nyquist frequency and 0 to about 15.5 Hz, exponentially.
TEST(MoogFilterTest, CutoffMapIsExponentialAndSmoothed) {
  const double kRelativeTolerance = 1e-5;  // single-precision exp
  MoogFilter filter;
  for (float x : {0.0f, 0.25f, 0.5f, 0.75f}) {
    filter.setCutoff(x);
    const double expected = mappedCutoff(x, 0.28, 0.72);
    EXPECT_NEAR(filter.cutoff, expected, expected * kRelativeTolerance) << "x " << x;
    EXPECT_FLOAT_EQ(filter.cutoffHz, filter.cutoff * 22050.0f) << "x " << x;
  }
  filter.setCutoff(0.0f);
  EXPECT_NEAR(filter.cutoffHz, 15.46, 0.01);
  filter.setCutoff(1.0f);
  EXPECT_EQ(filter.cutoff, 1.0f);
  EXPECT_EQ(filter.cutoffHz, 22050.0f);

  // The smoother is a one-pole glide with a time constant of 100 frames: the constructor's
  // step plus n frames leave 0.99^(n+1) of the way still to go; a setting is one more step.
  const double kTolerance = 1e-5;  // accumulated rounding over 1000 steps
  MoogFilter glide;
  float silence = 0.0f;
  int frames = 0;
  for (int checkpoint : {1, 100, 300, 1000}) {
    for (; frames < checkpoint; ++frames) glide.process(&silence);
    EXPECT_NEAR(glide.smoothedCutoff, 1.0 - std::pow(0.99, checkpoint + 1), kTolerance)
        << checkpoint << " frames";
  }
  const float before = glide.smoothedCutoff;
  glide.setCutoff(0.5f);
  EXPECT_FLOAT_EQ(glide.smoothedCutoff, glide.cutoff * 0.01f + 0.99f * before);
}

// The target is smoothed before it is clamped: the smoother may run outside 0..1 while the
// coefficients stay those of the range's ends.
TEST(MoogFilterTest, ModulationIsSmoothedThenClamped) {
  const struct {
    float offset;
    float smoothedBeyond;  // the smoother passes it
    float stageGain, stageFeedback, feedbackPerResonance;
  } cases[] = {{-3.0f, -1.9f, 0.0f, -1.0f, 3.8f}, {2.0f, 2.9f, 1.0f, 1.0f, 1.0f}};
  for (const auto& c : cases) {
    MoogFilter filter;
    filter.setResonance(0.5f);
    filter.cutoffOffset = c.offset;
    float silence = 0.0f;
    for (int i = 0; i < 1000; ++i) filter.process(&silence);
    EXPECT_GT(std::fabs(filter.smoothedCutoff), std::fabs(c.smoothedBeyond)) << c.offset;
    EXPECT_EQ(filter.stageGain, c.stageGain) << c.offset;
    EXPECT_EQ(filter.stageFeedback, c.stageFeedback) << c.offset;
    EXPECT_FLOAT_EQ(filter.feedback, c.feedbackPerResonance * 0.5f) << c.offset;
  }
}

// A new rate keeps the cutoff in Hz (limited to the new Nyquist frequency) and moves the map's
// floor; rates that are zero, negative or not finite leave the filter as it was.
TEST(MoogFilterTest, SampleRateChangeKeepsTheCutoffInHertz) {
  const double kMapTolerance = 1e-5;
  MoogFilter filter;
  filter.setCutoff(0.5f);
  const float cutoff = filter.cutoff;
  const float smoothed = filter.smoothedCutoff;
  filter.setSampleRate(2.0f * kRate);
  EXPECT_FLOAT_EQ(filter.cutoff, cutoff * 0.5f);
  EXPECT_FLOAT_EQ(filter.smoothedCutoff, filter.cutoff * 0.01f + 0.99f * smoothed);
  EXPECT_NEAR(filter.mapOffset, 100.0 * std::log10(1.0 + 9.0 * 32.70318 / 88200.0), kMapTolerance);
  EXPECT_FLOAT_EQ(filter.mapSlope, 1.0f - filter.mapOffset);
  filter.setCutoff(0.0f);  // later settings use the new map
  const double expected = mappedCutoff(0.0, filter.mapOffset, filter.mapSlope);
  EXPECT_NEAR(filter.cutoff, expected, expected * 1e-5);
  const float mapped = filter.cutoff;

  for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::infinity(),
                     std::numeric_limits<float>::quiet_NaN()}) {
    const float mapOffset = filter.mapOffset;
    filter.setSampleRate(rate);
    EXPECT_EQ(filter.sampleRate, 2.0f * kRate) << rate;
    EXPECT_EQ(filter.cutoff, mapped) << rate;
    EXPECT_EQ(filter.mapOffset, mapOffset) << rate;
  }
  float value = 0.5f;
  filter.process(&value);
  EXPECT_TRUE(std::isfinite(value));

  MoogFilter open;  // 22050 Hz lies above the Nyquist frequency of 22050 Hz / 2
  open.setSampleRate(kRate / 2.0f);
  EXPECT_EQ(open.cutoff, 1.0f);
}

// Types other than high-pass and band-pass act as low-pass. With levelScale 3 an input of 3
// enters the ladder as 1 and the output is scaled back up: the same filter at levelScale 1 fed
// a third of the signal gives a third of the output.
TEST(MoogFilterTest, UnknownTypesActAsLowPassAndLevelScaleIsUndone) {
  const int types[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}};  // type, the type it acts as
  for (const auto& type : types) {
    MoogFilter scaled = settledFilter(3000.0f, 0.7f, type[0]);
    MoogFilter unit = settledFilter(3000.0f, 0.7f, type[1]);
    unit.levelScale = 1.0f;
    for (int n = 0; n < 500; ++n) {
      float b = static_cast<float>((n * 7) % 17 - 8) * 0.125f;  // exact in thirds
      float a = b * 3.0f;
      scaled.process(&a);
      unit.process(&b);
      ASSERT_FLOAT_EQ(a, b * 3.0f) << "type " << type[0] << " frame " << n;
    }
  }
}

// Small signals (here entering the ladder at 0.01, so that even a resonant peak stays clear
// of the cubic clip) see a linear system: each stage is H(z) = p (1 + z^-1) / (1 + f z^-1), the
// feedback reaches the input one frame late, so with L = H^4 the outputs are
// L / (1 + q z^-1 L), (1 - L) / (1 + q z^-1 L) and 4 (H^2 - L) / (1 + q z^-1 L).
double ladderGain(const MoogFilter& filter, double toneHz) {
  using Complex = std::complex<double>;
  const Complex zInverse = std::polar(1.0, -2.0 * kPi * toneHz / kRate);
  const Complex h =
      double(filter.stageGain) * (1.0 + zInverse) / (1.0 + double(filter.stageFeedback) * zInverse);
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

// Each output at a cutoff of 1000 Hz: the low-pass falls 24 dB per octave above it; the
// high-pass, the input minus the low-pass, falls only 6 dB per octave below it; the band-pass
// peaks at the cutoff. Resonance lifts the cutoff region more than twofold and lowers the
// band far below it, where the loop's feedback reduces the gain.
TEST(MoogFilterTest, OutputsPassAndStopTheirBands) {
  const struct {
    int type;
    float resonance;
    double toneHz, minGain, maxGain;
  } cases[] = {{MoogFilter::kLowPass, 0.0f, 125.0, 0.95, 1.0},
               {MoogFilter::kLowPass, 0.0f, 8000.0, 0.0, 0.003},
               {MoogFilter::kLowPass, 0.0f, 1000.0, 0.3, 0.45},
               {MoogFilter::kLowPass, 0.9f, 1000.0, 1.0, 1.5},
               {MoogFilter::kLowPass, 0.9f, 62.5, 0.2, 0.3},
               {MoogFilter::kHighPass, 0.0f, 10000.0, 0.95, 1.05},
               {MoogFilter::kHighPass, 0.0f, 10.0, 0.0, 0.1},
               {MoogFilter::kBandPass, 0.3f, 1000.0, 3.0, 5.0},
               {MoogFilter::kBandPass, 0.3f, 62.5, 0.0, 0.5},
               {MoogFilter::kBandPass, 0.3f, 16000.0, 0.0, 0.5}};
  for (const auto& c : cases) {
    const double gain = toneGain(settledFilter(1000.0f, c.resonance, c.type), c.toneHz);
    EXPECT_GE(gain, c.minGain) << "type " << c.type << " resonance " << c.resonance << " at "
                               << c.toneHz << " Hz";
    EXPECT_LE(gain, c.maxGain) << "type " << c.type << " resonance " << c.resonance << " at "
                               << c.toneHz << " Hz";
  }
}

}  // namespace

// Peak and RMS of the output, against closed forms, and the summary line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "OutputMeter.h"

namespace {

constexpr double kLevelTolerance = 1e-6;
constexpr double kPi = 3.14159265358979323846;

TEST(OutputMeter, SquareAndSineLevelsOverSeveralBlocks) {
  OutputMeter meter;
  EXPECT_EQ(meter.summary(), "frames: 0, peak: -inf -inf dBFS, rms: -inf -inf dBFS, non-finite: 0");
  // Left: a square wave of amplitude 0.5 (RMS 0.5). Right: a sine of amplitude 0.8 over whole
  // periods (RMS 0.8 / sqrt 2).
  const int frames = 1000;
  const int period = 100;
  std::vector<float> samples(2 * frames);
  for (int i = 0; i < frames; ++i) {
    samples[2 * i] = (i / (period / 2)) % 2 ? -0.5f : 0.5f;
    samples[2 * i + 1] = static_cast<float>(0.8 * std::sin(2.0 * kPi * i / period + 0.3));
  }
  meter.add(samples.data(), 300);
  meter.add(samples.data() + 600, frames - 300);
  EXPECT_EQ(meter.frames(), frames);
  EXPECT_NEAR(meter.peak(0), 0.5, kLevelTolerance);
  EXPECT_NEAR(meter.rms(0), 0.5, kLevelTolerance);
  EXPECT_NEAR(meter.peak(1), 0.8, 1e-3);  // the sampled sine comes close to its crest
  EXPECT_NEAR(meter.rms(1), 0.8 / std::sqrt(2.0), kLevelTolerance);

  // The right channel's peak is a negative value: 0.25 is -12.04 dBFS, 1.5 is +3.52 dBFS. NaN and
  // infinity are counted apart from the levels, but their frame still counts in the RMS.
  OutputMeter small;
  const float three[] = {0.25f, -1.5f, -0.25f, 0.0f, std::nanf(""), -INFINITY};
  small.add(three, 3);
  EXPECT_EQ(small.summary(),
            "frames: 3, peak: -12.04 3.52 dBFS, rms: -13.80 -1.25 dBFS, non-finite: 2");
  // A subnormal sample is counted too (it is far below any level shown).
  OutputMeter tiny;
  const float one[] = {1e-40f, 0.5f};
  tiny.add(one, 1);
  const std::string summary = tiny.summary();
  EXPECT_EQ(summary.substr(summary.find(", non-finite")), ", non-finite: 0, subnormal: 1");
}

}  // namespace

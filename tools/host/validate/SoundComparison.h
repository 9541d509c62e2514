// The state checks' comparisons of two outputs: the same noise rendered through two instances, or
// through one before and after a change, must agree within a tolerance.
#pragma once

#include <string>
#include <vector>

#include "CheckReport.h"
#include "PluginInstance.h"

// Blocks of 512 frames compared, about 0.19 s at 44100 Hz.
inline constexpr int kCompareBlocks = 16;
// Largest difference between two outputs counted as the same: well below any audible change,
// well above the rounding of a plug-in that sums in a different order.
inline constexpr float kSameOutput = 1e-5f;

// The output of `blocks` blocks of the noise that `seed` draws, with processing switched on and,
// for an instrument, a chord held.
std::vector<float> renderNoise(PluginInstance& plugin, unsigned seed, int blocks = kCompareBlocks);

// The largest difference of two samples at the same place; infinite when the lengths differ or
// either holds NaN.
float largestDifference(const std::vector<float>& a, const std::vector<float>& b);

// "largest difference 0.000002, tolerance 0.000010"
std::string differenceFigure(float difference);

// A state brought back in one instance (`found`: a chunk restored, a program chosen after
// another) against the same state reached the plain way (`expected`). The sound decides, where
// `control`, brought to the state as `found` was, sounds as `found` does: a plug-in may round
// values through its own mapping, and may draw on a random source of its own (a noise
// oscillator), so differing values, or a sound that is not repeatable, only warn.
struct StateComparison {
  CheckStatus status = CheckStatus::Pass;
  std::string figure;  // "2 parameters differ, first 0 Gain 0.2500 instead of 0.5000, ..."
};
StateComparison compareStates(PluginInstance& expected, PluginInstance& found,
                              PluginInstance& control);

#include "SoundComparison.h"

#include <cmath>

#include "AudioBench.h"
#include "ValidationGroups.h"

namespace {
constexpr int kBlockFrames = 512;
}  // namespace

std::vector<float> renderNoise(PluginInstance& plugin, unsigned seed, int blocks) {
  AudioBench bench(*plugin.record(), kBlockFrames);
  std::mt19937 random(seed);
  std::vector<float> output;
  BlockScan scan;
  setProcessing(plugin, true);
  holdChord(plugin);
  for (int i = 0; i < blocks; ++i) {
    bench.run(plugin, kBlockFrames, false, random, &scan);
    bench.appendOutput(kBlockFrames, &output);
  }
  setProcessing(plugin, false);
  return output;
}

float largestDifference(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size()) return INFINITY;
  float largest = 0.0f;
  for (size_t i = 0; i < a.size(); ++i) {
    const float difference = std::fabs(a[i] - b[i]);
    // NaN differs from everything, itself included.
    if (!(difference <= largest)) largest = std::isnan(difference) ? INFINITY : difference;
  }
  return largest;
}

std::string differenceFigure(float difference) {
  return "largest difference " + fixed(difference, 6) + ", tolerance " + fixed(kSameOutput, 6);
}

StateComparison compareStates(PluginInstance& expected, PluginInstance& found,
                              PluginInstance& control) {
  int differing = 0;
  std::string first;
  for (VstInt32 i = 0; i < expected.record()->numParams; ++i) {
    const float want = expected.getParameter(i);
    const float got = found.getParameter(i);
    if (std::fabs(want - got) <= kSameParameterValue) continue;
    if (differing++ == 0)
      first = ", first " + parameterName(expected, i) + " " + fixed(got, 4) + " instead of " +
              fixed(want, 4);
  }
  StateComparison comparison;
  comparison.status = differing == 0 ? CheckStatus::Pass : CheckStatus::Warn;
  comparison.figure = std::to_string(differing) + " parameters differ" + first + ", ";
  const std::vector<float> foundSound = renderNoise(found, 7);
  if (largestDifference(foundSound, renderNoise(control, 7)) > 0.0f) {
    comparison.figure += "sound not repeatable in this state";
    return comparison;
  }
  const float difference = largestDifference(renderNoise(expected, 7), foundSound);
  if (difference > kSameOutput) comparison.status = CheckStatus::Fail;
  comparison.figure += differenceFigure(difference);
  return comparison;
}

// A module told to read more channels than a frame holds stays inside the frame (the
// sanitizer build reports any read or write past it) and keeps its output finite.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "EnvelopeFollover.h"
#include "WaveShaper.h"

namespace {

TEST(FrameBounds, ModulesNeverReachPastTheTwoValuesOfAFrame) {
  for (int channels : {3, 64}) {
    EnvelopeFollover follower;
    WaveShaper shaper;
    AudioModule* modules[] = {&follower, &shaper};
    for (AudioModule* module : modules) {
      module->channelCount = channels;
      // On the heap, exactly two values, so that a third read is caught.
      const auto frame = std::make_unique<float[]>(2);
      frame[0] = 0.5f;
      frame[1] = -0.25f;
      module->process(frame.get());
      EXPECT_TRUE(std::isfinite(frame[0]) && std::isfinite(frame[1])) << channels;
    }
    EXPECT_TRUE(follower.envelope >= 0.0f && follower.envelope <= 1.0f) << channels;
  }
}

}  // namespace

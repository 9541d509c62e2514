// A host thread that sets every parameter (and reads them back) while the audio thread
// processes blocks and notes. Run in the ThreadSanitizer build, where any data race between
// the two fails the test; in every build the host reads back each value it set at once, and
// the output stays finite.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "Ferrowin.h"

namespace {

constexpr int kBlockFrames = 256;
constexpr int kMinimumRounds = 1000;  // of all 18 parameters, on the host thread
constexpr int kMinimumBlocks = 1000;  // on the audio thread
constexpr auto kTimeLimit = std::chrono::seconds(20);

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

void sendNote(Ferrowin& effect, bool on, char key) {
  VstMidiEvent midi{};
  midi.type = kVstMidiType;
  midi.byteSize = sizeof(VstMidiEvent);
  midi.midiData[0] = static_cast<char>(on ? 0x90 : 0x80);
  midi.midiData[1] = key;
  midi.midiData[2] = 100;
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&midi);
  effect.processEvents(&events);
}

// The value round r gives parameter i, 0..1.
float valueOf(int round, int index) {
  return static_cast<float>((round * 7 + index * 13) % 101) / 100.0f;
}

TEST(FerrowinThreads, ParametersSetOnAHostThreadWhileBlocksRun) {
  Ferrowin effect(host);
  effect.setSampleRate(48000.0f);
  std::atomic<bool> stop{false};
  std::atomic<int> rounds{0};
  std::thread automation([&] {
    char text[kVstMaxParamStrLen + 1];
    for (int round = 0; !stop.load(std::memory_order_relaxed); ++round) {
      for (int i = 0; i < Ferrowin::kNumParams; ++i) {
        effect.setParameter(i, valueOf(round, i));
        // What the host reads back is the value just set, whatever the audio thread does.
        ASSERT_EQ(effect.getParameter(i), valueOf(round, i));
        effect.getParameterDisplay(i, text);
        effect.getParameterLabel(i, text);
      }
      rounds.store(round + 1, std::memory_order_relaxed);
    }
  });

  std::vector<float> left(kBlockFrames), right(kBlockFrames), outLeft(kBlockFrames),
      outRight(kBlockFrames);
  float* in[2] = {left.data(), right.data()};
  float* out[2] = {outLeft.data(), outRight.data()};
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  int blocks = 0;
  bool allFinite = true;
  while ((blocks < kMinimumBlocks || rounds.load(std::memory_order_relaxed) < kMinimumRounds) &&
         std::chrono::steady_clock::now() < deadline) {
    for (int n = 0; n < kBlockFrames; ++n) {
      left[static_cast<size_t>(n)] = 0.5f * std::sin(0.05f * static_cast<float>(n + blocks));
      right[static_cast<size_t>(n)] = -left[static_cast<size_t>(n)];
    }
    sendNote(effect, blocks % 2 == 0, static_cast<char>(40 + blocks % 40));
    effect.processReplacing(in, out, kBlockFrames);
    for (int n = 0; n < kBlockFrames; ++n)
      allFinite = allFinite && std::isfinite(outLeft[static_cast<size_t>(n)]) &&
                  std::isfinite(outRight[static_cast<size_t>(n)]);
    ++blocks;
  }
  stop.store(true, std::memory_order_relaxed);
  automation.join();

  EXPECT_GE(blocks, kMinimumBlocks);
  EXPECT_GE(rounds.load(), kMinimumRounds);
  EXPECT_TRUE(allFinite);
}

}  // namespace

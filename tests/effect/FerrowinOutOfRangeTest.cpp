// Whatever values a host sends, the output stays finite and the filter stable, and once every
// parameter is back in 0..1 the effect sounds as a fresh one with the same settings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "EveryModulation.h"
#include "Ferrowin.h"

namespace {

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

constexpr int kBlock = 64;
constexpr int kHostileFrames = 2048;   // the value in force, ordinary input
constexpr int kBurstFrames = 256;      // the value in force, inputs far beyond full scale
constexpr int kSettleFrames = 8192;    // back in range: the smoothers and followers settle
constexpr int kCompareFrames = 4096;   // then the two must agree
constexpr float kStableBound = 20.0f;  // no output beyond it from full-scale input
constexpr float kSameSound = 1e-4f;    // -80 dB

const float kHostileValues[] = {-1e6f, -1.0f, 2.0f, 20.0f, 1e6f};

void sendNote(Ferrowin& effect, int status, int key) {
  VstMidiEvent midi{};
  midi.type = kVstMidiType;
  midi.byteSize = sizeof midi;
  midi.midiData[0] = static_cast<char>(status);
  midi.midiData[1] = static_cast<char>(key);
  midi.midiData[2] = 100;
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&midi);
  effect.processEvents(&events);
}

// Two instances with every path busy, fed alike. The oscillator stays silent: its phase
// depends on the frequencies it played, so the two would play shifted but equal tones.
struct Pair {
  Ferrowin probed{host}, fresh{host};
  uint32_t seed = 12345u;

  Pair() {
    for (Ferrowin* e : {&probed, &fresh}) {
      setEveryModulation(*e);
      e->setParameter(kOscAmount, 0.0f);
      e->setParameter(kEf1OscAm, 0.5f);
      e->setParameter(kEf2Smooth, 0.05f);  // the second follower settles within kSettleFrames
    }
  }
  float nextInput() {  // full-scale noise
    seed = seed * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<int32_t>(seed)) / 2147483648.0f;
  }
  void note(int status, int key) {
    sendNote(probed, status, key);
    sendNote(fresh, status, key);
  }
  // Runs both instances on the same input; calls check(probedOut, freshOut, input) per sample.
  template <typename Check>
  void run(int frames, float burst, Check check) {
    float in[2][kBlock], out[2][2][kBlock];
    for (int done = 0; done < frames; done += kBlock) {
      for (int n = 0; n < kBlock; ++n) {
        in[0][n] = nextInput();
        in[1][n] = nextInput();
      }
      if (burst != 0.0f) {
        in[0][3] = burst;
        in[1][7] = -burst;
        in[0][20] = 100.0f;
      }
      float* inputs[2] = {in[0], in[1]};
      float* probedOut[2] = {out[0][0], out[0][1]};
      float* freshOut[2] = {out[1][0], out[1][1]};
      probed.processReplacing(inputs, probedOut, kBlock);
      fresh.processReplacing(inputs, freshOut, kBlock);
      for (int c = 0; c < 2; ++c)
        for (int n = 0; n < kBlock; ++n) check(out[0][c][n], out[1][c][n], in[c][n]);
    }
  }
};

TEST(FerrowinOutOfRange, AnyValueKeepsTheOutputFiniteAndTheEffectRecovers) {
  for (int index = 0; index < kNumParameters; ++index) {
    for (const float hostile : kHostileValues) {
      SCOPED_TRACE(std::string(kParameterTable[index].name) + " = " + std::to_string(hostile));
      Pair pair;
      pair.note(0x90, 60);
      pair.run(kBlock * 8, 0.0f, [](float, float, float) {});

      pair.probed.setParameter(index, hostile);
      EXPECT_EQ(pair.probed.getParameter(index), hostile);  // stored as sent
      char text[64];
      pair.probed.getParameterDisplay(index, text);
      // A key played and released while the value is in force, with key tracking on.
      pair.note(0x90, 64);
      int notFinite = 0;
      pair.run(kBurstFrames, 3.0e38f, [&](float out, float, float) {
        if (!std::isfinite(out)) ++notFinite;
      });
      float peak = 0.0f;
      pair.run(kHostileFrames, 0.0f, [&](float out, float, float) {
        if (!std::isfinite(out)) ++notFinite;
        if (std::fabs(out) > peak) peak = std::fabs(out);
      });
      EXPECT_EQ(notFinite, 0);
      EXPECT_LE(peak, kStableBound);
      pair.note(0x80, 64);

      pair.probed.setParameter(index, pair.fresh.getParameter(index));
      pair.run(kSettleFrames, 0.0f, [](float, float, float) {});
      float difference = 0.0f, level = 0.0f;
      const float dry = pair.fresh.getParameter(kDry);
      pair.run(kCompareFrames, 0.0f, [&](float out, float expected, float in) {
        difference = std::fmax(difference, std::fabs(out - expected));
        level = std::fmax(level, std::fabs(expected - in * dry));  // the generator path
      });
      EXPECT_LE(difference, kSameSound);
      EXPECT_GT(level, 0.01f);  // the comparison covers a sounding generator path
    }
  }
}

// The parameters that scale levels, the cutoff, the feedback and the key tracking act beyond
// their range as at its nearest end, while the host reads back what it sent.
TEST(FerrowinOutOfRange, LimitedParametersSoundAsAtTheNearestEnd) {
  const std::pair<float, float> valueAndEnd[] = {{-1.0f, 0.0f}, {20.0f, 1.0f}};
  for (const int index :
       {kOscAmount, kNoiseAmount, kCutoff, kResonance, kEf2Cutoff, kDry, kFilterKeyTrack}) {
    for (const auto& [value, end] : valueAndEnd) {
      Pair pair;
      for (Ferrowin* e : {&pair.probed, &pair.fresh}) {
        e->setParameter(kEf1OscAm, 0.0f);  // the first follower pulls both levels down
        e->setParameter(kEf1NoiseAm, 0.0f);
        e->setParameter(kOscAmount, 0.5f);
      }
      pair.probed.setParameter(index, value);
      pair.fresh.setParameter(index, end);
      EXPECT_EQ(pair.probed.getParameter(index), value);
      pair.note(0x90, 72);
      int differing = 0;
      pair.run(kHostileFrames, 0.0f, [&](float out, float expected, float) {
        if (out != expected) ++differing;
      });
      EXPECT_EQ(differing, 0) << kParameterTable[index].name << " = " << value;
    }
  }
}

// With the filter wide open, a resonance far beyond its range used to drive the ladder from
// full-scale noise to 1e5 within a hundred frames.
TEST(FerrowinOutOfRange, ResonanceBeyondItsRangeKeepsTheLadderStable) {
  for (const float resonance : {6.0f, 20.0f, 1e6f}) {
    Pair pair;
    pair.probed.setParameter(kCutoff, 1.0f);
    pair.probed.setParameter(kResonance, resonance);
    float peak = 0.0f;
    pair.run(44100, 0.0f, [&](float out, float, float) { peak = std::fmax(peak, std::fabs(out)); });
    EXPECT_LE(peak, kStableBound) << resonance;
  }
}

}  // namespace

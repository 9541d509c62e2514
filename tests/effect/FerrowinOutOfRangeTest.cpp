// Whatever values a host sends, the output stays finite and the filter stable, and once every
// parameter is back in 0..1 the effect sounds as a fresh one with the same settings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

// Every path busy, the oscillator left silent: its phase depends on the frequencies it played,
// so a fresh instance would be compared with a shifted but equal tone.
const std::pair<int, float> kSaneSettings[] = {
    {kOscAmount, 0.0f},      {kOscNote, 0.45f},   {kOscWave, 0.6f},    {kNoiseAmount, 0.7f},
    {kNoiseColor, 0.4f},     {kCutoff, 0.55f},    {kResonance, 0.7f},  {kFilterType, 0.0f},
    {kEf1Smooth, 0.05f},     {kEf1OscAm, 0.5f},   {kEf1NoiseAm, 0.2f}, {kEf2Smooth, 0.05f},
    {kEf2Cutoff, 0.8f},      {kEf2OscFm, 0.7f},   {kDry2Filter, 0.6f}, {kDry, 0.7f},
    {kFilterKeyTrack, 1.0f}, {kOscKeyTrack, 0.5f}};

const float kHostileValues[] = {-1e6f, -1.0f, 2.0f, 20.0f, 1e6f};

// Full-scale noise from a fixed seed, the same for both instances.
class Input {
 public:
  float next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<int32_t>(state)) / 2147483648.0f;
  }

 private:
  uint32_t state = 12345u;
};

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

struct Pair {
  Ferrowin probed{host}, fresh{host};
  Input input;

  Pair() {
    for (Ferrowin* e : {&probed, &fresh})
      for (const auto& [index, value] : kSaneSettings) e->setParameter(index, value);
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
        in[0][n] = input.next();
        in[1][n] = input.next();
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
  for (const auto& [index, sane] : kSaneSettings) {
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

      pair.probed.setParameter(index, sane);
      pair.run(kSettleFrames, 0.0f, [](float, float, float) {});
      float difference = 0.0f, level = 0.0f;
      pair.run(kCompareFrames, 0.0f, [&](float out, float expected, float in) {
        difference = std::fmax(difference, std::fabs(out - expected));
        level = std::fmax(level, std::fabs(expected - in * 0.7f));  // the generator path's
      });
      EXPECT_LE(difference, kSameSound);
      EXPECT_GT(level, 0.01f);  // the comparison covers a sounding generator path
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

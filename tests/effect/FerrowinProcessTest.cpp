// The signal chain end to end, key tracking, sample-rate changes and what a careless host
// may hand the effect.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "EveryModulation.h"
#include "Ferrowin.h"
#include "FerrowinProbe.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

namespace {

constexpr double kPi = 3.14159265358979323846;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// A test signal with level changes, so that both followers move: a 220 Hz tone under a
// 3 Hz envelope on the left, a 330 Hz tone on the right.
std::vector<float> testSignal(int frames, double hz, double phase = 0.0) {
  std::vector<float> s(static_cast<size_t>(frames));
  for (int n = 0; n < frames; ++n) {
    const double t = n / 44100.0;
    s[static_cast<size_t>(n)] = static_cast<float>(0.8 * std::fabs(std::sin(2 * kPi * 3 * t)) *
                                                   std::sin(2 * kPi * hz * t + phase));
  }
  return s;
}

struct Stereo {
  std::vector<float> left, right;
};

Stereo run(Ferrowin& effect, const std::vector<float>& left, const std::vector<float>* right,
           bool rightOutput = true, int block = 64) {
  Stereo out{std::vector<float>(left.size(), 0.0f), std::vector<float>(left.size(), -7.0f)};
  for (size_t start = 0; start < left.size(); start += static_cast<size_t>(block)) {
    const int frames =
        static_cast<int>(std::min<size_t>(static_cast<size_t>(block), left.size() - start));
    float* in[2] = {const_cast<float*>(left.data() + start),
                    right ? const_cast<float*>(right->data() + start) : nullptr};
    float* o[2] = {out.left.data() + start, rightOutput ? out.right.data() + start : nullptr};
    effect.processReplacing(in, o, frames);
  }
  return out;
}

TEST(FerrowinChain, FollowsTheModulesInTheirOrder) {
  Ferrowin effect(host);
  const FerrowinProbe probe(effect);
  setEveryModulation(effect);
  // Copies of the modules as they stand, stepped by hand in the chain's order.
  EnvelopeFollover f1 = probe.follower1(), f2 = probe.follower2();
  NoiseOscilator noise = probe.noise();
  FMOscilator osc = probe.oscillator();
  WaveShaper shaper = probe.shaper();
  MoogFilter fl = probe.filterLeft(), fr = probe.filterRight();

  const auto left = testSignal(3000, 220.0), right = testSignal(3000, 330.0, 1.0);
  const Stereo out = run(effect, left, &right);
  auto clamp = [](float x) { return x < 0 ? 0.0f : (x > 1 ? 1.0f : x); };
  for (size_t n = 0; n < left.size(); ++n) {
    float d[2] = {left[n], right[n]};
    float g[2] = {probe.dry2Filter() * d[0], probe.dry2Filter() * d[1]};
    f1.process(d);
    f2.process(d);
    const float e1 = f1.envelope, e2 = f2.envelope;
    noise.amount = clamp((probe.ef1NoiseDepth() - 0.5f) * (e1 * 4.0f) + probe.noiseAmount());
    noise.gain = noise.intScale * noise.amount;
    noise.side = (d[1] - d[0]) * 0.5f;
    noise.process(g);
    osc.amplitude = clamp((probe.ef1OscDepth() - 0.5f) * (e1 * 4.0f) + probe.oscAmount());
    osc.frequencyOffset = e2 * probe.ef2FmDepth() + probe.oscKeyOffset();
    osc.process(g);
    shaper.process(g);
    fl.cutoffOffset = fr.cutoffOffset = probe.ef2CutoffDepth() * e2 + probe.filterKeyOffset();
    fl.process(&g[0]);
    fr.process(&g[1]);
    ASSERT_EQ(out.left[n], d[0] * probe.dryLevel() + g[0]) << "frame " << n;
    ASSERT_EQ(out.right[n], d[1] * probe.dryLevel() + g[1]) << "frame " << n;
  }
  // The test is only worth something if the voice was audible.
  EXPECT_GT(std::fabs(out.left[2000] - left[2000] * probe.dryLevel()), 1e-3f);
}

TEST(FerrowinChain, WithoutVoiceOrFilterPathTheOutputIsTheScaledInput) {
  Ferrowin effect(host);
  effect.setParameter(kDry2Filter, 0.0f);
  effect.setParameter(kOscAmount, 0.0f);
  effect.setParameter(kNoiseAmount, 0.0f);
  effect.setParameter(kDry, 0.75f);
  const auto left = testSignal(2000, 220.0), right = testSignal(2000, 330.0);
  const Stereo out = run(effect, left, &right);
  for (size_t n = 0; n < left.size(); ++n) {
    ASSERT_EQ(out.left[n], left[n] * 0.75f);
    ASSERT_EQ(out.right[n], right[n] * 0.75f);
  }
}

TEST(FerrowinChain, MonoInputMissingOutputAndInPlaceBuffers) {
  const auto left = testSignal(1500, 220.0), right = testSignal(1500, 330.0);
  Ferrowin reference(host), mono(host), leftOnly(host), inPlace(host);
  for (Ferrowin* e : {&reference, &mono, &leftOnly, &inPlace}) setEveryModulation(*e);

  // A missing second input is the first input on both channels.
  const Stereo both = run(reference, left, &left);
  const Stereo fromMono = run(mono, left, nullptr);
  EXPECT_EQ(fromMono.left, both.left);
  EXPECT_EQ(fromMono.right, both.right);

  // A missing second output: the left is the same, nothing else is touched.
  Ferrowin stereoRef(host);
  setEveryModulation(stereoRef);
  const Stereo full = run(stereoRef, left, &right);
  const Stereo onlyLeft = run(leftOnly, left, &right, false);
  EXPECT_EQ(onlyLeft.left, full.left);

  // The host passes the same buffers as inputs and outputs.
  std::vector<float> l = left, r = right;
  for (size_t start = 0; start < l.size(); start += 64) {
    const int frames = static_cast<int>(std::min<size_t>(64, l.size() - start));
    float* channels[2] = {l.data() + start, r.data() + start};
    inPlace.processReplacing(channels, channels, frames);
  }
  EXPECT_EQ(l, full.left);
  EXPECT_EQ(r, full.right);
}

TEST(FerrowinChain, NullBuffersAndEmptyBlocksDoNothing) {
  Ferrowin effect(host);
  const FerrowinProbe probe(effect);
  float sample[1] = {0.5f};
  float* channels[2] = {sample, nullptr};
  float* none[2] = {nullptr, nullptr};
  effect.processReplacing(nullptr, channels, 1);
  effect.processReplacing(channels, nullptr, 1);
  effect.processReplacing(none, channels, 1);
  effect.processReplacing(channels, none, 1);
  effect.processReplacing(channels, channels, 0);
  effect.processReplacing(channels, channels, -5);
  EXPECT_EQ(sample[0], 0.5f);
  EXPECT_EQ(probe.follower1().envelope, 0.0f);  // no frame ran
}

TEST(FerrowinChain, OutputStaysFiniteWhateverComesIn) {
  Ferrowin dirty(host), zeroed(host);
  for (Ferrowin* e : {&dirty, &zeroed}) {
    setEveryModulation(*e);
    e->setParameter(kResonance, 50.0f);  // far beyond the range: an unstable ladder
  }
  auto left = testSignal(4000, 220.0);
  auto right = testSignal(4000, 330.0);
  std::vector<float> dirtyLeft = left, dirtyRight = right;
  dirtyLeft[100] = std::numeric_limits<float>::quiet_NaN();
  dirtyRight[200] = std::numeric_limits<float>::infinity();
  dirtyLeft[300] = -std::numeric_limits<float>::infinity();
  dirtyRight[400] = 1e30f;
  const Stereo out = run(dirty, dirtyLeft, &dirtyRight);
  for (size_t n = 0; n < out.left.size(); ++n) {
    ASSERT_TRUE(std::isfinite(out.left[n])) << n;
    ASSERT_TRUE(std::isfinite(out.right[n])) << n;
  }
  // A non-finite sample is read as 0: the same as a clean run with a 0 there.
  left[100] = 0.0f;
  const Stereo expect = run(zeroed, left, &right);
  EXPECT_EQ(std::vector<float>(out.left.begin(), out.left.begin() + 200),
            std::vector<float>(expect.left.begin(), expect.left.begin() + 200));
}

#if defined(__x86_64__) || defined(_M_X64)
TEST(FerrowinChain, TheCallersFloatingPointStateComesBack) {
  Ferrowin effect(host);
  const unsigned before = _mm_getcsr();
  float samples[16] = {};
  float* channels[2] = {samples, samples};
  effect.processReplacing(channels, channels, 16);
  EXPECT_EQ(_mm_getcsr(), before);
}

TEST(FerrowinChain, SilenceAfterASignalSettlesOnZeroNotOnDenormals) {
  Ferrowin effect(host);
  const FerrowinProbe probe(effect);
  setEveryModulation(effect);
  effect.setParameter(kOscAmount, 0.0f);
  effect.setParameter(kNoiseAmount, 0.0f);
  effect.setParameter(kEf1OscAm, 0.5f);
  effect.setParameter(kEf1NoiseAm, 0.5f);
  const auto signal = testSignal(2000, 220.0);
  run(effect, signal, &signal);
  const std::vector<float> silence(200000, 0.0f);
  run(effect, silence, &silence);
  for (float s : {probe.filterLeft().s1, probe.filterLeft().s4, probe.filterRight().s4})
    EXPECT_TRUE(s == 0.0f || std::fabs(s) >= std::numeric_limits<float>::min()) << s;
}
#endif

// Key tracking through MIDI events, as a host sends them.
class KeyTracking : public ::testing::Test {
 protected:
  void send(std::initializer_list<std::array<unsigned char, 3>> messages) {
    std::vector<VstMidiEvent> midi(messages.size());
    std::vector<VstEvent*> pointers;
    size_t i = 0;
    for (const auto& bytes : messages) {
      VstMidiEvent& e = midi[i++];
      e = VstMidiEvent{};
      e.type = kVstMidiType;
      e.byteSize = sizeof(VstMidiEvent) - 8;
      for (int b = 0; b < 3; ++b) e.midiData[b] = static_cast<char>(bytes[static_cast<size_t>(b)]);
      pointers.push_back(reinterpret_cast<VstEvent*>(&e));
    }
    std::vector<char> list(sizeof(VstEvents) + sizeof(VstEvent*) * pointers.size());
    auto* events = reinterpret_cast<VstEvents*>(list.data());
    events->numEvents = static_cast<VstInt32>(pointers.size());
    VstEvent** slots = events->events;
    for (size_t k = 0; k < pointers.size(); ++k) slots[k] = pointers[k];
    EXPECT_EQ(effect.dispatcher(effProcessEvents, 0, 0, events, 0.0f), 1);
  }
  bool offsetsAreZero() { return probe.filterKeyOffset() == 0.0f && probe.oscKeyOffset() == 0.0f; }

  Ferrowin effect{host};
  const FerrowinProbe probe{effect};
};

TEST_F(KeyTracking, OffsetsFollowTheKey) {
  effect.setParameter(kOscKeyTrack, 1.0f);
  effect.setParameter(kFilterKeyTrack, 1.0f);
  probe.oscillator().baseFrequency = 523.25f;
  send({{0x90, 69, 100}});
  EXPECT_NEAR(probe.oscKeyOffset(), 440.0f - 523.25f, 1e-3f);
  // With full tracking the cutoff moves to the key's frequency.
  const float cutoffHz = probe.filterLeft().cutoffHz;
  EXPECT_NEAR(probe.filterKeyOffset(), (440.0f - cutoffHz) * 2.0f / 44100.0f, 1e-6f);
  EXPECT_EQ(probe.trackedNote(), 69);
}

TEST_F(KeyTracking, ReleaseOrderAndVelocityZero) {
  effect.setParameter(kOscKeyTrack, 1.0f);
  send({{0x90, 60, 100}, {0x90, 64, 100}, {0x80, 60, 0}});
  EXPECT_EQ(probe.trackedNote(), 64);
  EXPECT_NEAR(probe.oscKeyOffset(),
              probe.noteTable().frequency[64] - probe.oscillator().baseFrequency, 1e-3f);
  send({{0x80, 64, 0}});
  EXPECT_TRUE(offsetsAreZero());
  send({{0x93, 62, 90}});  // any channel
  EXPECT_FALSE(offsetsAreZero());
  send({{0x90, 62, 0}});  // velocity 0 is a release
  EXPECT_TRUE(offsetsAreZero());
}

TEST_F(KeyTracking, ControllersAndOtherEvents) {
  effect.setParameter(kOscKeyTrack, 1.0f);
  send({{0x90, 50, 100}});
  send({{0xB5, 121, 0}, {0xE0, 0, 64}, {0xA0, 50, 10}});  // reset controllers, bend, pressure
  EXPECT_FALSE(offsetsAreZero());
  send({{0xBF, 123, 0}});
  EXPECT_TRUE(offsetsAreZero());
  send({{0x90, 50, 100}});
  send({{0xB0, 126, 0}});
  EXPECT_TRUE(offsetsAreZero());
}

TEST_F(KeyTracking, BrokenEventListsAreSurvived) {
  VstEvents empty{};
  empty.numEvents = -3;
  EXPECT_EQ(effect.dispatcher(effProcessEvents, 0, 0, &empty, 0.0f), 1);
  VstEvents withNull{};
  withNull.numEvents = 1;
  withNull.events[0] = nullptr;
  EXPECT_EQ(effect.dispatcher(effProcessEvents, 0, 0, &withNull, 0.0f), 1);
  EXPECT_EQ(effect.dispatcher(effProcessEvents, 0, 0, nullptr, 0.0f), 0);
}

TEST(FerrowinSampleRate, ReachesTheModulesAndRefusesNonsense) {
  Ferrowin effect(host);
  const FerrowinProbe probe(effect);
  effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  EXPECT_EQ(effect.getSampleRate(), 96000.0f);
  EXPECT_EQ(probe.filterLeft().sampleRate, 96000.0f);
  EXPECT_EQ(probe.filterRight().sampleRate, 96000.0f);
  EXPECT_EQ(probe.oscillator().sampleRate, 96000.0f);
  EXPECT_EQ(probe.follower1().sampleRate, 96000.0f);
  EXPECT_EQ(probe.follower2().sampleRate, 96000.0f);
  EXPECT_EQ(probe.noise().sampleRate, 44100.0f);  // rate-independent modules are not told
  for (float bad : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity()}) {
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, bad);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(probe.filterLeft().sampleRate, 96000.0f);
  }
}

}  // namespace

// The fast path against the module-by-module chain: the same random host calls on two
// effects, outputs and every module field compared bit for bit after every block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "DenormalGuard.h"
#include "EveryModulation.h"
#include "Ferrowin.h"
#include "FerrowinProbe.h"

namespace {

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

using Snapshot = std::vector<std::pair<std::string, std::uint32_t>>;

template <typename T>
std::uint32_t bitsOf(T value) {
  static_assert(sizeof(T) <= sizeof(std::uint32_t), "one word per field");
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  return bits;
}

// Adds the fields named in `names` (separated by spaces), in that order.
template <typename... T>
void add(Snapshot& s, const std::string& prefix, const char* names, T... values) {
  std::istringstream in(names);
  const auto next = [&in] {
    std::string name;
    in >> name;
    return name;
  };
  (s.emplace_back(prefix + next(), bitsOf(values)), ...);
}

// A module's running state whole, word by word: "noise.state[3]" names its fourth word.
template <typename State>
void addState(Snapshot& s, const std::string& prefix, const State& state) {
  static_assert(sizeof(State) % sizeof(std::uint32_t) == 0, "whole words, no padding");
  std::uint32_t words[sizeof(State) / sizeof(std::uint32_t)];
  std::memcpy(words, &state, sizeof state);
  for (size_t i = 0; i < std::size(words); ++i)
    s.emplace_back(prefix + "state[" + std::to_string(i) + "]", words[i]);
}

// Every field of every module, as bits: the running state whole, the settings by name.
Snapshot snapshot(Ferrowin& effect) {
  const FerrowinProbe e(effect);
  Snapshot s;
  for (const auto* f : {&e.follower1(), &e.follower2()}) {
    const std::string prefix = f == &e.follower1() ? "follower1." : "follower2.";
    addState<EnvelopeFolloverState>(s, prefix, *f);
    add(s, prefix, "riseCoefficient fallCoefficient smoothing sampleRate", f->riseCoefficient,
        f->fallCoefficient, f->smoothing, f->sampleRate);
  }
  const NoiseOscilator& z = e.noise();
  addState<NoiseOscilatorState>(s, "noise.", z);
  add(s, "noise.", "intScale color", z.intScale, z.color);
  const FMOscilator& o = e.oscillator();
  addState<FMOscilatorState>(s, "oscillator.", o);
  add(s, "oscillator.",
      "pulseWidth waveA waveB weightA weightB baseFrequency stepsPerHz waveformValue", o.pulseWidth,
      o.waveA, o.waveB, o.weightA, o.weightB, o.baseFrequency, o.stepsPerHz, o.waveformValue);
  const WaveShaper& w = e.shaper();
  addState<WaveShaperState>(s, "shaper.", w);
  add(s, "shaper.", "driveTarget smoothIn smoothKeep outputGain foldThreshold foldEnabled",
      w.driveTarget, w.smoothIn, w.smoothKeep, w.outputGain, w.foldThreshold, w.foldEnabled);
  for (const MoogFilter* f : {&e.filterLeft(), &e.filterRight()}) {
    const std::string prefix = f == &e.filterLeft() ? "filterLeft." : "filterRight.";
    addState<MoogFilterState>(s, prefix, *f);
    add(s, prefix,
        "cutoff cutoffHz mapOffset mapSlope resonance levelScale smoothIn smoothKeep sampleRate "
        "filterType",
        f->cutoff, f->cutoffHz, f->mapOffset, f->mapSlope, f->resonance, f->levelScale, f->smoothIn,
        f->smoothKeep, f->sampleRate, f->filterType);
  }
  return s;
}

// The first field whose bits differ, or an empty text.
std::string firstDifference(const Snapshot& a, const Snapshot& b) {
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].second != b[i].second) return a[i].first;
  return {};
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b, size_t frames,
              size_t* where) {
  for (size_t n = 0; n < frames; ++n) {
    if (bitsOf(a[n]) != bitsOf(b[n])) {
      *where = n;
      return false;
    }
  }
  return true;
}

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine(seed) {}
  std::uint32_t below(std::uint32_t n) { return engine() % n; }
  bool percent(std::uint32_t p) { return below(100) < p; }
  float unit() { return static_cast<float>(engine() >> 8) * (1.0f / 16777216.0f); }

 private:
  std::mt19937 engine;  // its sequence is fixed by the standard: the same run everywhere
};

constexpr float kSpecialSamples[] = {std::numeric_limits<float>::quiet_NaN(),
                                     std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(),
                                     1e30f,
                                     -3e38f,
                                     std::numeric_limits<float>::max(),
                                     -0.0f,
                                     1e-40f};

// A parameter value: mostly within 0..1, now and then an edge, and for the parameters that
// can push the chain off the finite numbers (an unstable ladder, a huge generator level) far
// beyond the range.
float parameterValue(Random& random, int index) {
  if (random.percent(10)) return static_cast<float>(random.below(3)) * 0.5f;
  if (random.percent(10) && (index == kResonance || index == kDry2Filter))
    return random.unit() * 60.0f;
  if (random.percent(5) && index == kFilterType) return random.unit() * 3.0f - 1.0f;
  return random.unit();
}

void fillBlock(Random& random, std::vector<float>& channel, size_t frames, bool silent) {
  const float level = 0.02f * static_cast<float>(1 + random.below(100));
  const float step = 0.001f + random.unit() * 0.2f;
  float angle = random.unit() * 6.0f;
  for (size_t n = 0; n < frames; ++n) {
    if (silent) {
      channel[n] = 0.0f;
    } else {
      angle += step;
      channel[n] = level * (0.7f * std::sin(angle) + 0.3f * (random.unit() * 2.0f - 1.0f));
    }
  }
  if (!silent && random.percent(15)) {
    for (std::uint32_t k = random.below(4); k-- > 0;)
      channel[random.below(static_cast<std::uint32_t>(frames))] =
          kSpecialSamples[random.below(std::size(kSpecialSamples))];
  }
}

void hostEvents(Random& random, Ferrowin& a, Ferrowin& b) {
  VstMidiEvent midi{};
  midi.type = kVstMidiType;
  midi.byteSize = sizeof(VstMidiEvent);
  const unsigned char statuses[] = {0x90, 0x90, 0x80, 0xB0};
  midi.midiData[0] = static_cast<char>(statuses[random.below(4)] | random.below(16));
  midi.midiData[1] = static_cast<char>(random.percent(30) ? 123 : random.below(128));
  midi.midiData[2] = static_cast<char>(random.below(128));
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&midi);
  a.processEvents(&events);
  b.processEvents(&events);
}

// Drives both effects for at least the given number of frames; returns the frames run.
size_t runDifferential(std::uint32_t seed, size_t frameTarget, InstructionSet set) {
  Random random(seed);
  Ferrowin fast(host), reference(host);
  FerrowinProbe(fast).instructionSet() = set;
  setEveryModulation(fast);
  setEveryModulation(reference);
  std::vector<float> inLeft(4096), inRight(4096);
  std::vector<float> fastLeft(4096), fastRight(4096), refLeft(4096), refRight(4096);
  size_t frames = 0;
  for (int block = 0; frames < frameTarget; ++block) {
    // Between blocks: settings, notes, now and then a new rate or a variant of the modules.
    for (std::uint32_t k = random.percent(40) ? random.below(4) : 0; k-- > 0;) {
      const int index = static_cast<int>(random.below(kNumParameters));
      const float value = parameterValue(random, index);
      fast.setParameter(index, value);
      reference.setParameter(index, value);
    }
    if (random.percent(10)) hostEvents(random, fast, reference);
    if (random.percent(1)) {
      const float rates[] = {22050.0f, 44100.0f, 48000.0f, 96000.0f};
      const float rate = rates[random.below(4)];
      fast.setSampleRate(rate);
      reference.setSampleRate(rate);
    }
    if (random.percent(4)) {
      const bool fold = random.percent(50);
      FerrowinProbe(fast).shaper().foldEnabled = fold;
      FerrowinProbe(reference).shaper().foldEnabled = fold;
    }

    const std::uint32_t shape = random.below(100);
    const size_t length = 1 + random.below(shape < 30 ? 16 : (shape < 75 ? 512 : 4096));
    const bool silent = random.percent(20);
    fillBlock(random, inLeft, length, silent);
    fillBlock(random, inRight, length, silent);
    const bool mono = random.percent(15), leftOnly = random.percent(15);
    const bool inPlace = !mono && random.percent(25);
    std::copy_n(inLeft.begin(), length, fastLeft.begin());
    std::copy_n(inRight.begin(), length, fastRight.begin());
    std::copy_n(inLeft.begin(), length, refLeft.begin());
    std::copy_n(inRight.begin(), length, refRight.begin());
    // In place, each effect reads and writes its own copy; otherwise both read inLeft/inRight.
    float* fastIn[2] = {inPlace ? fastLeft.data() : inLeft.data(),
                        mono ? nullptr : (inPlace ? fastRight.data() : inRight.data())};
    float* refIn[2] = {inPlace ? refLeft.data() : inLeft.data(),
                       mono ? nullptr : (inPlace ? refRight.data() : inRight.data())};
    float* fastOut[2] = {fastLeft.data(), leftOnly ? nullptr : fastRight.data()};
    float* refOut[2] = {refLeft.data(), leftOnly ? nullptr : refRight.data()};
    fast.processReplacing(fastIn, fastOut, static_cast<VstInt32>(length));
    reference.processModuleChain(refIn, refOut, static_cast<VstInt32>(length));

    const std::string where = "block " + std::to_string(block) + " of " + std::to_string(length) +
                              " frames" + (mono ? ", mono" : "") +
                              (leftOnly ? ", left output only" : "") +
                              (inPlace ? ", in place" : "");
    size_t frame = 0;
    if (!sameBits(fastLeft, refLeft, length, &frame)) {
      ADD_FAILURE() << "left output differs at frame " << frame << ", " << where;
      return frames;
    }
    if (!sameBits(fastRight, refRight, length, &frame)) {
      ADD_FAILURE() << "right output differs at frame " << frame << ", " << where;
      return frames;
    }
    const std::string field = firstDifference(snapshot(fast), snapshot(reference));
    if (!field.empty()) {
      ADD_FAILURE() << field << " differs after " << where;
      return frames;
    }
    frames += length;
  }
  return frames;
}

TEST(FastChain, GivesTheModuleChainsBitsForRandomHostCalls) {
#if defined(_WIN32)
  constexpr size_t kFrames = 400000;  // under Wine: the cross-compiled code, a shorter run
#else
  constexpr size_t kFrames = 3000000;
#endif
  // Each encoding this processor runs: the baseline one and those up to its best.
  std::vector<InstructionSet> sets;
  for (int k = 0; k <= static_cast<int>(InstructionSets::best()); ++k)
    sets.push_back(static_cast<InstructionSet>(k));
  for (std::uint32_t seed : {1u, 2u})
    for (const InstructionSet set : sets) {
      const size_t target = kFrames / 2 / sets.size();
      const size_t frames = runDifferential(seed, target, set);
      ASSERT_GE(frames, target) << "seed " << seed << ", " << InstructionSets::name(set);
    }
}

// A parameter set while a block is processed (here between the block's run and its store)
// is applied when the next block starts: the block goes on with the values it read, and the
// result is that of the module chain with the change made after the block.
TEST(FastChain, ChangesDuringABlockApplyAtTheNext) {
  using Setter = std::function<void(Ferrowin&)>;
  const auto set = [](int index, float value) -> Setter {
    return [=](Ferrowin& e) { e.setParameter(index, value); };
  };
  struct Case {
    const char* name;
    Setter change;
  };
  const Case cases[] = {
      {"cutoff", set(kCutoff, 0.2f)},
      {"cutoff twice",
       [](Ferrowin& e) {
         e.setParameter(kCutoff, 0.2f);
         e.setParameter(kCutoff, 0.9f);
       }},
      {"resonance", set(kResonance, 0.3f)},
      {"follower smoothing", set(kEf1Smooth, 0.6f)},
      {"waveform", set(kOscWave, 0.95f)},
      {"noise color", set(kNoiseColor, 0.9f)},
      {"dry level", set(kDry, 0.1f)},
  };
  for (const Case& c : cases) {
    Ferrowin fast(host), reference(host);
    setEveryModulation(fast);
    setEveryModulation(reference);
    std::vector<float> in(512), fastOut(512), refOut(512);
    for (size_t n = 0; n < in.size(); ++n) in[n] = 0.5f * std::sin(0.05f * static_cast<float>(n));
    float* input[2] = {in.data(), in.data()};
    float* fastOutput[2] = {fastOut.data(), nullptr};
    float* refOutput[2] = {refOut.data(), nullptr};

    const FerrowinProbe probe(fast);
    FastChain chain(probe.chainModules(), probe.chainSettings());
    {
      const DenormalGuard guard;
      chain.run(in.data(), in.data(), fastOut.data(), nullptr, 512, InstructionSets::best());
    }
    c.change(fast);
    chain.store();
    reference.processModuleChain(input, refOutput, 512);
    c.change(reference);
    EXPECT_EQ(fastOut, refOut) << c.name;
    EXPECT_EQ(firstDifference(snapshot(fast), snapshot(reference)), "") << c.name;

    // Both go on alike.
    fast.processReplacing(input, fastOutput, 512);
    reference.processModuleChain(input, refOutput, 512);
    EXPECT_EQ(fastOut, refOut) << c.name;
  }
}

TEST(FastChain, OverlappingBuffersUnlikeFiltersAndTheFoldFallBackToTheModuleChain) {
  Ferrowin effect(host);
  const FerrowinProbe probe(effect);
  const FastChain::Modules modules = probe.chainModules();
  float buffer[64] = {};
  struct Case {
    const char* name;
    const float *inLeft, *inRight, *outLeft, *outRight;
    bool accepted;
  };
  const Case cases[] = {
      {"separate", buffer, buffer + 16, buffer + 32, buffer + 48, true},
      {"in place", buffer, buffer + 16, buffer, buffer + 16, true},
      {"swapped in place", buffer, buffer + 16, buffer + 16, buffer, true},
      {"mono, left only", buffer, nullptr, buffer + 32, nullptr, true},
      {"output one frame on", buffer, buffer + 16, buffer + 1, buffer + 48, false},
      {"right output inside the left input", buffer, buffer + 32, buffer + 48, buffer + 8, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FastChain::accepts(modules, c.inLeft, c.inRight, c.outLeft, c.outRight, 16),
              c.accepted)
        << c.name;
  probe.filterRight().filterType = MoogFilter::kHighPass;
  EXPECT_FALSE(FastChain::accepts(modules, buffer, nullptr, buffer, nullptr, 16));
  probe.filterLeft().filterType = MoogFilter::kHighPass;
  EXPECT_TRUE(FastChain::accepts(modules, buffer, nullptr, buffer, nullptr, 16));
  probe.shaper().foldEnabled = true;  // the module chain serves the fold
  EXPECT_FALSE(FastChain::accepts(modules, buffer, nullptr, buffer, nullptr, 16));
}

}  // namespace

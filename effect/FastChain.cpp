#include "FastChain.h"

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace {

using sample::broadcast;
using sample::lane;
using sample::Lanes;

bool overlapsElsewhere(const float* a, const float* b, int frames) {
  if (a == nullptr || b == nullptr || a == b) return false;
  const auto start = [](const float* p) { return reinterpret_cast<std::uintptr_t>(p); };
  const std::uintptr_t bytes = static_cast<std::uintptr_t>(frames) * sizeof(float);
  return start(a) < start(b) + bytes && start(b) < start(a) + bytes;
}

}  // namespace

bool FastChain::accepts(const Modules& m, const float* inLeft, const float* inRight,
                        const float* outLeft, const float* outRight, int frames) {
  for (const float* out : {outLeft, outRight})
    for (const float* in : {inLeft, inRight})
      if (overlapsElsewhere(out, in, frames)) return false;
  return m.follower1.channelCount == 2 && m.follower2.channelCount == 2 &&
         m.shaper.channelCount == 2 && !m.shaper.foldEnabled &&
         MoogFilter::typeOf(m.filterLeft.filterType) ==
             MoogFilter::typeOf(m.filterRight.filterType);
}

void FastChain::store() {
  Modules& m = modules;
  sample::unpack<EnvelopeFolloverStateOf>(result.followers, m.follower1, m.follower2);
  sample::copyByField<NoiseOscilatorState>(m.noise, result.noise);
  sample::copyByField<FMOscilatorState>(m.oscillator, result.oscillator);
  sample::copyByField<WaveShaperState>(m.shaper, result.shaper);
  sample::unpack<MoogFilterStateOf>(result.ladders, m.filterLeft, m.filterRight);
  // What the chain wrote before the last frame, from that frame's controls.
  const Lanes c = result.controls;
  const float side = NoiseOscilator::sideOf(lane<0>(result.dry), lane<1>(result.dry));
  FollowerControls::write({lane<0>(c), lane<1>(c), lane<2>(c), lane<3>(c)}, side, m.noise,
                          m.oscillator, m.filterLeft, m.filterRight);
}

void FastChain::run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                    int frames, InstructionSet instructionSet) {
  // A mono input is read as both channels: the same loads give the same bits.
  const Block block{inLeft, inRight != nullptr ? inRight : inLeft, outLeft, outRight, frames};
  using Variant = void (FastChain::*)(InstructionSet, const Block&);
  constexpr Variant kVariants[] = {&FastChain::runIn<MoogFilter::kLowPass>,
                                   &FastChain::runIn<MoogFilter::kHighPass>,
                                   &FastChain::runIn<MoogFilter::kBandPass>};  // by Type
  (this->*kVariants[MoogFilter::typeOf(modules.filterLeft.filterType)])(instructionSet, block);
}

template <int kType>
void FastChain::runIn(InstructionSet instructionSet, const Block& block) {
  InstructionSets::run(
      instructionSet, [&]() __attribute__((always_inline)) { runLoop<kType>(block); });
}

template <int kType>
__attribute__((always_inline)) inline void FastChain::runLoop(const Block& b) {
  // The settings, read once for the block.
  const Modules& m = modules;
  const Lanes dry2Filter(settings.dry2Filter), dryLevel(settings.dryLevel);
  const auto followers = sample::pack<EnvelopeFolloverSettingsOf>(m.follower1, m.follower2);
  const FollowerControls& c = settings.controls;
  const auto control =
      sample::pack(c.noiseLevel, c.oscillatorLevel, c.frequencyOffset, c.cutoffOffset);
  const Lanes intScale(m.noise.intScale), color(m.noise.color);
  const FMOscilator::Voice oscillator = m.oscillator.voice();
  const WaveShaperSettings shaping = static_cast<const WaveShaperSettings&>(m.shaper);
  const auto filters = sample::pack<MoogFilterSettingsOf>(m.filterLeft, m.filterRight);

  // The running state, in registers for the block.
  Lanes envelopes = sample::pack<EnvelopeFolloverStateOf>(m.follower1, m.follower2).envelope;
  NoiseOscilatorState z = static_cast<const NoiseOscilatorState&>(m.noise);
  FMOscilatorState o = static_cast<const FMOscilatorState&>(m.oscillator);
  WaveShaperState w = static_cast<const WaveShaperState&>(m.shaper);
  LadderPair ladder{sample::pack<MoogFilterStateOf>(m.filterLeft, m.filterRight)};

  // A frame passes three stages: the followers, the noise and the oscillator (voice); the
  // generator's sum, the shaper and the filters' coefficients (shape); the ladders and the mix
  // (ladders). While frame n passes the ladders, frame n + kShapeAhead is shaped and frame
  // n + kVoiceAhead voiced: each stage finds its inputs long computed, so its work is ready
  // beside the ladders' recursion. The frames in between wait in two small ring buffers, in
  // memory, which leaves the registers to the ladders' state. Frame m has place m % 4 in both.
  struct Voiced {
    Lanes dry;         // x0, x1
    Lanes noise;       // the noise values of both channels
    Lanes controls;    // as FollowerControls::Values
    Lanes oscillator;  // the oscillator's value in every lane
  };
  struct Pending {
    Lanes dry;
    LadderPair::Frame ladder;
  };
  constexpr int kShapeAhead = 2, kVoiceAhead = 4;
  alignas(16) Voiced voiced[4];
  alignas(16) Pending prepared[4];

  // The followers, the noise and the oscillator of frame n, in the modules' order.
  const auto voice = [&](int n, Voiced& next) __attribute__((always_inline)) {
    const Lanes dry = next.dry = sample::finiteOrZero(
        _mm_unpacklo_ps(_mm_load_ss(b.inLeft + n), _mm_load_ss(b.inRight + n)));  // x0, x1
    // Both followers hear the mean of the channels; halving by a multiplication rounds
    // exactly as the division by the channel count of 2 does.
    const Lanes mean = (Lanes(0.0f) + dry + sample::shuffle<1, 0, 2, 3>(dry)) * Lanes(0.5f);
    envelopes = EnvelopeFollover::follow<Lanes>(broadcast<0>(mean), envelopes, followers);
    next.controls = control(sample::shuffle<0, 0, 1, 1>(envelopes));

    const NoiseOscilator::Words words = NoiseOscilator::step(z.lcgState, z.mixA, z.mixB);
    // The congruential words in lanes 0 and 1, the xor-add ones moved down beside them.
    const Lanes signedWords = sample::signedLanes(words.congruential, words.xorAdd);
    const Lanes levelGain = NoiseOscilator::levelGain(broadcast<0>(next.controls), intScale);
    next.noise = NoiseOscilator::value<Lanes>(
        signedWords, _mm_movehl_ps(signedWords, signedWords), color, levelGain,
        NoiseOscilator::sideOf(broadcast<0>(dry), broadcast<1>(dry)),
        _mm_setr_ps(-1.0f, 1.0f, -1.0f, 1.0f));  // rightward: left -1, right +1

    next.oscillator = Lanes(oscillator.next(o, lane<1>(next.controls), lane<2>(next.controls)));
  };

  // The generator frame through the shaper, and the filters' coefficients.
  const auto shape = [&](const Voiced& frame, Pending& next) __attribute__((always_inline)) {
    next.dry = frame.dry;
    const Lanes generator = dry2Filter * frame.dry + frame.noise + frame.oscillator;
    w.drive = WaveShaper::smoothDrive(w.drive, shaping);
    const Lanes drive(w.drive), knee(WaveShaper::kneeOf(w.drive));
    const Lanes shaped =
        WaveShaper::shape<Lanes>(generator, drive, knee) * Lanes(shaping.outputGain);
    MoogFilter::glide<Lanes>(filters.cutoff + broadcast<3>(frame.controls), filters,
                             ladder.smoothedCutoff, next.ladder.coefficients);
    next.ladder.scaledInput = shaped / filters.levelScale;
  };

  // The ladders of frame n and the mix.
  const auto back = [&](int n, const Pending& frame) __attribute__((always_inline)) {
    Lanes y = ladder.step<kType>(frame.ladder) * filters.levelScale;
    MoogFilter::restartIfNotFinite(y, ladder);
    const Lanes out = frame.dry * dryLevel + y;
    _mm_store_ss(b.outLeft + n, out);
    if (b.outRight != nullptr) _mm_store_ss(b.outRight + n, broadcast<1>(out));
  };

  // Frame n through the ladders, n + kShapeAhead shaped and n + kVoiceAhead voiced where they
  // exist (inside the block, always): each voiced frame is shaped before its place is taken.
  const auto advance = [&](int n, auto inside) __attribute__((always_inline)) {
    const int toVoice = n + kVoiceAhead, toShape = n + kShapeAhead;
    if (inside || toVoice < b.frames) voice(toVoice, voiced[toVoice & 3]);
    if (inside || (toShape >= 0 && toShape < b.frames))
      shape(voiced[toShape & 3], prepared[toShape & 3]);
    if (inside || n >= 0) back(n, prepared[n & 3]);
  };
  int n = -kVoiceAhead;
  for (; n < 0; ++n) advance(n, std::false_type());
  // Four frames per turn, so that each has a fixed place in the buffers (n is a multiple of 4).
  for (; n + kVoiceAhead + 3 < b.frames; n += 4) {
    advance(n, std::true_type());
    advance(n + 1, std::true_type());
    advance(n + 2, std::true_type());
    advance(n + 3, std::true_type());
  }
  for (; n < b.frames; ++n) advance(n, std::false_type());

  // The last frame's coefficients are the filters'.
  const Pending& last = prepared[(b.frames - 1) & 3];
  static_cast<MoogFilterCoefficients<Lanes>&>(ladder) = last.ladder.coefficients;
  result = {{envelopes}, z, o, w, ladder, voiced[(b.frames - 1) & 3].controls, last.dry};
}

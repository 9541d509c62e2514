#include "FastChain.h"

#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

using sample::Lanes;

// Lanes 2 and 3 repeat lanes 0 and 1, so that they never hold anything a division could turn
// into a NaN.
inline __m128 pair(float left, float right) { return _mm_setr_ps(left, right, left, right); }
inline __m128 broadcast0(__m128 x) { return _mm_shuffle_ps(x, x, _MM_SHUFFLE(0, 0, 0, 0)); }
inline __m128 broadcast1(__m128 x) { return _mm_shuffle_ps(x, x, _MM_SHUFFLE(1, 1, 1, 1)); }
inline float lane0(__m128 x) { return _mm_cvtss_f32(x); }
inline __m128 broadcast3(__m128 x) { return _mm_shuffle_ps(x, x, _MM_SHUFFLE(3, 3, 3, 3)); }
inline float lane1(__m128 x) { return _mm_cvtss_f32(broadcast1(x)); }
inline float lane2(__m128 x) { return _mm_cvtss_f32(_mm_movehl_ps(x, x)); }

// |x| with the sign bit cleared: differs from sample::magnitude only for -0 and NaN. Where the
// magnitude is only added to 1 or to a product with +0 (x x), or a NaN operand before it
// decides the result, the bits come out the same.
inline __m128 clearSign(__m128 x) { return _mm_andnot_ps(_mm_set1_ps(-0.0f), x); }

// A sample that is not finite is read as silence: x - x is 0 only for finite x.
inline __m128 finiteOrZero(__m128 x) {
  return _mm_and_ps(x, _mm_cmpeq_ps(_mm_sub_ps(x, x), _mm_setzero_ps()));
}

inline int typeClass(std::int32_t filterType) {
  return filterType == MoogFilter::kHighPass || filterType == MoogFilter::kBandPass
             ? filterType
             : MoogFilter::kLowPass;
}

// What the followers control, from their envelopes e1 and e2 (lanes 0 and 1): lane 0 the
// noise level and lane 1 the oscillator level, both (depth - 0.5) (e1 4) + amount clamped to
// 0..1; lane 2 the oscillator's offset in Hz and lane 3 the filters' cutoff offset, both
// e2 depth + key offset (e2 x 1 is e2 exactly, and the clamp's bounds there are infinite).
// A depth of 0.5 leaves a level alone; 1 adds up to 2 e1, 0 takes up to 2 e1 away.
struct ControlSettings {
  __m128 depth;  // noise depth - 0.5, oscillator depth - 0.5, FM depth, cutoff depth
  __m128 base;   // noise amount, oscillator amount, oscillator key offset, cutoff key offset
};

inline __m128 controlsFor(__m128 envelopes, const ControlSettings& settings) {
  const float infinity = std::numeric_limits<float>::infinity();
  const __m128 e = _mm_mul_ps(_mm_shuffle_ps(envelopes, envelopes, _MM_SHUFFLE(1, 1, 0, 0)),
                              _mm_setr_ps(4.0f, 4.0f, 1.0f, 1.0f));
  const __m128 sum = _mm_add_ps(_mm_mul_ps(settings.depth, e), settings.base);
  // As sample::clampUnit, lane by lane with the bounds of each.
  const __m128 low = _mm_max_ps(_mm_setr_ps(0.0f, 0.0f, -infinity, -infinity), sum);
  return _mm_min_ps(_mm_setr_ps(1.0f, 1.0f, infinity, infinity), low);
}

// The side signal (x1 - x0) / 2 of the dry frame, in every lane.
inline __m128 sideOf(__m128 dry) {
  const __m128 swapped = _mm_shuffle_ps(dry, dry, _MM_SHUFFLE(3, 2, 0, 1));
  return broadcast0(_mm_mul_ps(_mm_sub_ps(swapped, dry), _mm_set1_ps(0.5f)));
}

bool overlapsElsewhere(const float* a, const float* b, int frames) {
  if (a == nullptr || b == nullptr || a == b) return false;
  const auto start = [](const float* p) { return reinterpret_cast<std::uintptr_t>(p); };
  const std::uintptr_t bytes = static_cast<std::uintptr_t>(frames) * sizeof(float);
  return start(a) < start(b) + bytes && start(b) < start(a) + bytes;
}

void storeFilter(MoogFilter& filter, float (*lane)(__m128), const __m128* smoothed,
                 const __m128* coefficients, const LadderPair& ladders, float cutoffOffset) {
  static_cast<MoogFilterState&>(filter) = {
      cutoffOffset,          lane(*smoothed),  lane(coefficients[0]), lane(coefficients[1]),
      lane(coefficients[2]), lane(ladders.s0), lane(ladders.s1),      lane(ladders.s2),
      lane(ladders.s3),      lane(ladders.s4)};
}

}  // namespace

bool FastChain::accepts(const Modules& modules, const float* inLeft, const float* inRight,
                        const float* outLeft, const float* outRight, int frames) {
  if (modules.follower1.channelCount != 2 || modules.follower2.channelCount != 2 ||
      modules.shaper.channelCount != 2 || modules.shaper.foldEnabled)
    return false;
  if (typeClass(modules.filterLeft.filterType) != typeClass(modules.filterRight.filterType))
    return false;
  for (const float* out : {outLeft, outRight})
    for (const float* in : {inLeft, inRight})
      if (overlapsElsewhere(out, in, frames)) return false;
  return true;
}

FastChain::FastChain(const Modules& m, const Settings& s) : modules(m), settings(s) {}

void FastChain::store() {
  Modules& m = modules;
  const Result& r = result;
  m.follower1.envelope = lane0(r.envelopes);
  m.follower2.envelope = lane1(r.envelopes);

  static_cast<NoiseOscilatorState&>(m.noise) = r.noise;
  static_cast<FMOscilatorState&>(m.oscillator) = r.oscillator;
  static_cast<WaveShaperState&>(m.shaper) = r.shaper;

  const __m128 coefficients[3] = {r.stageGain, r.stageFeedback, r.feedback};
  storeFilter(m.filterLeft, lane0, &r.smoothedCutoff, coefficients, r.ladders, r.cutoffOffset);
  storeFilter(m.filterRight, lane1, &r.smoothedCutoff, coefficients, r.ladders, r.cutoffOffset);
}

namespace {

// Read once when the library loads, never on the audio path. The processor's feature bits
// include the operating system's consent to keep the wide registers (OSXSAVE, XCR0).
const FastChain::InstructionSet bestInstructionSet = [] {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl"))
    return FastChain::InstructionSet::kAvx512;
  return __builtin_cpu_supports("avx") ? FastChain::InstructionSet::kAvx
                                       : FastChain::InstructionSet::kSse2;
}();

}  // namespace

FastChain::InstructionSet FastChain::best() { return bestInstructionSet; }

const char* FastChain::name(InstructionSet instructionSet) {
  switch (instructionSet) {
    case InstructionSet::kAvx512:
      return "AVX-512";
    case InstructionSet::kAvx:
      return "AVX";
    default:
      return "SSE2";
  }
}

void FastChain::run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                    int frames, InstructionSet set) {
  instructionSet = set;
  // A mono input is read as both channels: the same loads give the same bits.
  if (inRight == nullptr) inRight = inLeft;
  switch (typeClass(modules.filterLeft.filterType)) {
    case MoogFilter::kHighPass:
      runEncoded<MoogFilter::kHighPass>(inLeft, inRight, outLeft, outRight, frames);
      break;
    case MoogFilter::kBandPass:
      runEncoded<MoogFilter::kBandPass>(inLeft, inRight, outLeft, outRight, frames);
      break;
    default:
      runEncoded<MoogFilter::kLowPass>(inLeft, inRight, outLeft, outRight, frames);
      break;
  }
}

template <int kType>
void FastChain::runEncoded(const float* inLeft, const float* inRight, float* outLeft,
                           float* outRight, int frames) {
  if (instructionSet == InstructionSet::kAvx512) {
    runAvx512<kType>(inLeft, inRight, outLeft, outRight, frames);
  } else if (instructionSet == InstructionSet::kAvx) {
    runAvx<kType>(inLeft, inRight, outLeft, outRight, frames);
  } else {
    runLoop<kType>(inLeft, inRight, outLeft, outRight, frames);
  }
}

// The same loop, inlined here to be compiled in the VEX encoding, and below in the EVEX one.
// No vector is wider than the 128 bits of SSE, so nothing needs the 32- or 64-byte stack
// alignment that Windows does not keep.
template <int kType>
__attribute__((target("avx"))) void FastChain::runAvx(const float* inLeft, const float* inRight,
                                                      float* outLeft, float* outRight, int frames) {
  runLoop<kType>(inLeft, inRight, outLeft, outRight, frames);
}

template <int kType>
__attribute__((target("avx512f,avx512vl"))) void FastChain::runAvx512(const float* inLeft,
                                                                      const float* inRight,
                                                                      float* outLeft,
                                                                      float* outRight, int frames) {
  runLoop<kType>(inLeft, inRight, outLeft, outRight, frames);
}

template <int kType>
__attribute__((always_inline)) inline void FastChain::runLoop(const float* inLeft,
                                                              const float* inRight, float* outLeft,
                                                              float* outRight, int frames) {
  const __m128 zero = _mm_setzero_ps();
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 half = _mm_set1_ps(0.5f);
  const __m128 rightNegated = _mm_setr_ps(0.0f, -0.0f, 0.0f, -0.0f);

  // The settings, read once for the block.
  const Settings& set = settings;
  const EnvelopeFollover& f1 = modules.follower1;
  const EnvelopeFollover& f2 = modules.follower2;
  const NoiseOscilator& noise = modules.noise;
  const FMOscilator& osc = modules.oscillator;
  const WaveShaper& shaper = modules.shaper;
  const MoogFilter& left = modules.filterLeft;
  const MoogFilter& right = modules.filterRight;
  const __m128 gDry2Filter = _mm_set1_ps(set.dry2Filter), gDryLevel = _mm_set1_ps(set.dryLevel);
  const __m128 rise = pair(f1.riseCoefficient, f2.riseCoefficient);
  const __m128 fall = pair(f1.fallCoefficient, f2.fallCoefficient);
  const ControlSettings controlSettings{
      _mm_setr_ps(set.ef1NoiseDepth - 0.5f, set.ef1OscDepth - 0.5f, set.ef2FmDepth,
                  set.ef2CutoffDepth),
      _mm_setr_ps(set.noiseAmount, set.oscAmount, set.oscKeyOffset, set.filterKeyOffset)};
  const float gIntScale = noise.intScale;
  const Lanes color(noise.color), otherWeight(1.0f - noise.color);
  const float* const tableA = osc.tableOf(osc.waveA);
  const float* const tableB = osc.tableOf(osc.waveB);
  const float gWeightA = osc.weightA, gWeightB = osc.weightB;
  const std::int32_t gPulseWidth = osc.pulseWidth;
  const float gBaseFrequency = osc.baseFrequency, gLowest = osc.noteTable->frequency[0];
  const float gStepsPerHz = osc.stepsPerHz;
  const float gDriveStep = shaper.smoothIn * shaper.driveTarget, gDriveKeep = shaper.smoothKeep;
  const float gShaperGain = shaper.outputGain;
  const __m128 gCutoff = pair(left.cutoff, right.cutoff);
  const __m128 smoothIn = pair(left.smoothIn, right.smoothIn);
  const __m128 smoothKeep = pair(left.smoothKeep, right.smoothKeep);
  const __m128 gResonance = pair(left.resonance, right.resonance);
  const __m128 gLevelScale = pair(left.levelScale, right.levelScale);

  // The running state, in registers for the block.
  __m128 env = pair(f1.envelope, f2.envelope);
  NoiseOscilatorState z = static_cast<const NoiseOscilatorState&>(noise);
  FMOscilatorState o = static_cast<const FMOscilatorState&>(osc);
  WaveShaperState w = static_cast<const WaveShaperState&>(shaper);
  __m128 smoothed = pair(left.smoothedCutoff, right.smoothedCutoff);
  LadderPair ladder;
  ladder.s0 = pair(left.s0, right.s0);
  ladder.s1 = pair(left.s1, right.s1);
  ladder.s2 = pair(left.s2, right.s2);
  ladder.s3 = pair(left.s3, right.s3);
  ladder.s4 = pair(left.s4, right.s4);

  // A frame passes three stages: the followers, the noise and the oscillator (voice); the
  // generator's sum, the shaper and the filters' coefficients (shape); the ladders and the mix
  // (ladders). While frame n passes the ladders, frame n + kShapeAhead is shaped and frame
  // n + kVoiceAhead voiced: each stage finds its inputs long computed, so its work is ready
  // beside the ladders' recursion. The frames in between wait in two small ring buffers, in
  // memory, which leaves the registers to the ladders' state. Frame m has place m % 4 in both.
  struct Voiced {
    __m128 dry;         // x0, x1
    __m128 noise;       // the noise values of both channels
    __m128 controls;    // as controlsFor
    __m128 oscillator;  // the oscillator's value in every lane
  };
  struct Pending {
    __m128 dry;
    LadderPair::Frame ladder;
  };
  constexpr int kShapeAhead = 2;
  constexpr int kVoiceAhead = 4;
  alignas(16) Voiced voiced[4];
  alignas(16) Pending prepared[4];

  // The followers, the noise and the oscillator of frame n, in the modules' order.
  const auto voice = [&](int n, Voiced& next) __attribute__((always_inline)) {
    const __m128 left = _mm_load_ss(inLeft + n);
    const __m128 right = _mm_load_ss(inRight + n);
    const __m128 dry = finiteOrZero(_mm_unpacklo_ps(left, right));  // x0, x1
    next.dry = dry;
    const __m128 swapped = _mm_shuffle_ps(dry, dry, _MM_SHUFFLE(3, 2, 0, 1));  // x1, x0

    // Both followers hear the mean of the channels; halving by a multiplication rounds
    // exactly as the division by the channel count of 2 does.
    const __m128 mean = _mm_mul_ps(_mm_add_ps(_mm_add_ps(zero, dry), swapped), half);
    env = EnvelopeFollover::follow<Lanes>(broadcast0(mean), env, rise, fall);
    const __m128 controls = controlsFor(env, controlSettings);
    next.controls = controls;

    // Noise. The right gain 1 - (-|s|) is 1 + |s| exactly.
    const __m128 gains =
        _mm_mul_ps(_mm_sub_ps(one, _mm_xor_ps(clearSign(sideOf(dry)), rightNegated)),
                   _mm_set1_ps(gIntScale * lane0(controls)));
    const NoiseOscilator::Words words = NoiseOscilator::step(z.lcgState, z.mixA, z.mixB);
    // Two words to a 64-bit move: the congruential ones in lanes 0 and 1, the xor-add ones in
    // lanes 2 and 3, which then move down beside them.
    const auto packed = [](const std::uint32_t(&word)[2]) {
      return static_cast<long long>(word[0] | static_cast<std::uint64_t>(word[1]) << 32);
    };
    const __m128 signedWords = _mm_cvtepi32_ps(_mm_unpacklo_epi64(
        _mm_cvtsi64_si128(packed(words.congruential)), _mm_cvtsi64_si128(packed(words.xorAdd))));
    next.noise = NoiseOscilator::blend<Lanes>(signedWords, _mm_movehl_ps(signedWords, signedWords),
                                              color, otherWeight, gains);

    // Oscillator.
    const float v = FMOscilator::morphed(tableA, tableB, gWeightA, gWeightB, o.phase, gPulseWidth);
    const float out = FMOscilator::declick(v, osc.clickTable, o.lastSample, o.jumpSize,
                                           o.jumpMidpoint, o.clickCounter) *
                      lane1(controls);
    o.phase = FMOscilator::advance(o.phase, gBaseFrequency + lane2(controls), gLowest, gStepsPerHz);
    next.oscillator = _mm_set1_ps(out);
  };

  // The generator frame of frame n through the shaper, and the filters' coefficients.
  const auto shape = [&](const Voiced& frame, Pending& next) __attribute__((always_inline)) {
    next.dry = frame.dry;
    __m128 generator = _mm_mul_ps(gDry2Filter, frame.dry);
    generator = _mm_add_ps(generator, frame.noise);
    generator = _mm_add_ps(generator, frame.oscillator);

    // Shaper.
    w.drive = gDriveStep + gDriveKeep * w.drive;
    const Lanes y =
        WaveShaper::shape<Lanes>(generator, Lanes(w.drive), Lanes(WaveShaper::kneeOf(w.drive)));
    generator = _mm_mul_ps(y, _mm_set1_ps(gShaperGain));

    // The filters' coefficients: one smoother step, then p, f and q.
    smoothed = MoogFilter::smooth<Lanes>(_mm_add_ps(gCutoff, broadcast3(frame.controls)), smoothIn,
                                         smoothKeep, smoothed);
    MoogFilter::coefficientsFor<Lanes>(smoothed, gResonance, next.ladder.stageGain,
                                       next.ladder.stageFeedback, next.ladder.feedback);
    next.ladder.scaledInput = _mm_div_ps(generator, gLevelScale);
  };

  // The ladders of frame n, the restart of a ladder that left the finite numbers, the mix.
  const auto back = [&](int n, const Pending& frame) __attribute__((always_inline)) {
    __m128 y = _mm_mul_ps(ladder.step<kType>(frame.ladder), gLevelScale);
    const __m128 finite = _mm_cmpeq_ps(_mm_sub_ps(y, y), zero);
    if ((_mm_movemask_ps(finite) & 3) != 3) {
      y = _mm_and_ps(y, finite);
      ladder.keepLanes(finite);
    }
    const __m128 out = _mm_add_ps(_mm_mul_ps(frame.dry, gDryLevel), y);
    _mm_store_ss(outLeft + n, out);
    if (outRight != nullptr) _mm_store_ss(outRight + n, broadcast1(out));
  };

  // Frames 0 .. kVoiceAhead - 1 voiced and 0 .. kShapeAhead - 1 shaped, each voiced frame
  // shaped before its place is taken again.
  for (int m = 0; m < kVoiceAhead; ++m) {
    const int toShape = m - (kVoiceAhead - kShapeAhead);
    if (toShape >= 0 && toShape < frames) shape(voiced[toShape & 3], prepared[toShape & 3]);
    if (m < frames) voice(m, voiced[m & 3]);
  }
  int n = 0;
  // Four frames per turn, so that each has a fixed place in the buffers (n is a multiple of 4).
  const auto turn = [&](int j) __attribute__((always_inline)) {
    voice(n + j + kVoiceAhead, voiced[(j + kVoiceAhead) & 3]);
    shape(voiced[(j + kShapeAhead) & 3], prepared[(j + kShapeAhead) & 3]);
    back(n + j, prepared[j & 3]);
  };
  for (; n + kVoiceAhead + 3 < frames; n += 4) {
    turn(0);
    turn(1);
    turn(2);
    turn(3);
  }
  for (; n < frames; ++n) {
    if (n + kVoiceAhead < frames) voice(n + kVoiceAhead, voiced[(n + kVoiceAhead) & 3]);
    if (n + kShapeAhead < frames)
      shape(voiced[(n + kShapeAhead) & 3], prepared[(n + kShapeAhead) & 3]);
    back(n, prepared[n & 3]);
  }
  const Pending& current = prepared[(frames - 1) & 3];

  Result& r = result;
  r.envelopes = env;
  r.smoothedCutoff = smoothed;
  r.stageGain = current.ladder.stageGain;
  r.stageFeedback = current.ladder.stageFeedback;
  r.feedback = current.ladder.feedback;
  r.ladders = ladder;
  // What the modules' fields hold after the last frame, recomputed from its values.
  const __m128 controls = controlsFor(env, controlSettings);
  z.amount = lane0(controls);
  z.gain = gIntScale * z.amount;
  z.side = lane0(sideOf(current.dry));
  r.noise = z;
  o.amplitude = lane1(controls);
  o.frequencyOffset = lane2(controls);
  r.oscillator = o;
  r.shaper = w;
  r.cutoffOffset = _mm_cvtss_f32(broadcast3(controls));
}

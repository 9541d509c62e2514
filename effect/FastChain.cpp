#include "FastChain.h"

#include <atomic>
#include <cstdint>
#include <initializer_list>

namespace {

// Lanes 2 and 3 repeat lanes 0 and 1, so that they never hold anything a division could turn
// into a NaN.
inline __m128 pair(float left, float right) { return _mm_setr_ps(left, right, left, right); }
inline __m128 broadcast0(__m128 x) { return _mm_shuffle_ps(x, x, _MM_SHUFFLE(0, 0, 0, 0)); }
inline __m128 broadcast1(__m128 x) { return _mm_shuffle_ps(x, x, _MM_SHUFFLE(1, 1, 1, 1)); }
inline float lane0(__m128 x) { return _mm_cvtss_f32(x); }
inline float lane1(__m128 x) { return _mm_cvtss_f32(broadcast1(x)); }

inline __m128 select(__m128 mask, __m128 whenSet, __m128 whenClear) {
  return _mm_or_ps(_mm_and_ps(mask, whenSet), _mm_andnot_ps(mask, whenClear));
}

// x < 0 ? -x : x, as the modules write it: -0 and NaN keep their sign.
inline __m128 magnitude(__m128 x) {
  const __m128 negative = _mm_cmplt_ps(x, _mm_setzero_ps());
  return _mm_xor_ps(x, _mm_and_ps(negative, _mm_set1_ps(-0.0f)));
}

// x < 0 ? 0 : (x > 1 ? 1 : x): maxps(a, b) gives a only where a > b and minps(a, b) only
// where a < b, so a NaN passes through both, as it does through the modules' comparisons.
inline __m128 clampUnit(__m128 x) {
  return _mm_min_ps(_mm_set1_ps(1.0f), _mm_max_ps(_mm_setzero_ps(), x));
}

// A sample that is not finite is read as silence: x - x is 0 only for finite x.
inline __m128 finiteOrZero(__m128 x) {
  return _mm_and_ps(x, _mm_cmpeq_ps(_mm_sub_ps(x, x), _mm_setzero_ps()));
}

inline int typeClass(std::int32_t filterType) {
  return filterType == MoogFilter::kHighPass || filterType == MoogFilter::kBandPass
             ? filterType
             : MoogFilter::kLowPass;
}

const float* waveTable(const FMOscilator& oscillator, std::int32_t wave) {
  switch (wave) {
    case 0:
      return oscillator.wavetables->sineTable;
    case 1:
      return oscillator.wavetables->triangleTable;
    case 2:
      return oscillator.wavetables->rampTable;
    default:
      return nullptr;  // the square has no table
  }
}

// The noise and oscillator levels from the first follower: lane 0 noise, lane 1 oscillator.
// A depth of 0.5 leaves a level alone; 1 adds up to 2 e1, 0 takes up to 2 e1 away.
inline __m128 levelsFor(__m128 envelopes, __m128 depthOffset, __m128 baseLevel) {
  const __m128 e1x4 = _mm_mul_ps(broadcast0(envelopes), _mm_set1_ps(4.0f));
  return clampUnit(_mm_add_ps(_mm_mul_ps(depthOffset, e1x4), baseLevel));
}

// Modulation by the second follower: lane 0 the oscillator's offset in Hz, lane 1 the
// filters' cutoff offset.
inline __m128 modulationFor(__m128 envelopes, __m128 modDepth, __m128 keyOffset) {
  return _mm_add_ps(_mm_mul_ps(broadcast1(envelopes), modDepth), keyOffset);
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
                 const __m128* coefficients, const LadderPair& ladders, float cutoffOffset,
                 std::uint32_t setterStepsAtStart) {
  filter.cutoffOffset = cutoffOffset;
  filter.smoothedCutoff = lane(*smoothed);
  filter.stageGain = lane(coefficients[0]);
  filter.stageFeedback = lane(coefficients[1]);
  filter.feedback = lane(coefficients[2]);
  filter.s0 = lane(ladders.s0);
  filter.s1 = lane(ladders.s1);
  filter.s2 = lane(ladders.s2);
  filter.s3 = lane(ladders.s3);
  filter.s4 = lane(ladders.s4);
  // Steps a setter took while the block ran were taken from the state of the block's start
  // and have just been overwritten: take them again from the block's result.
  std::atomic_signal_fence(std::memory_order_seq_cst);
  for (std::uint32_t k = filter.setterSteps - setterStepsAtStart; k != 0; --k)
    filter.updateCoefficients(filter.cutoff);
}

}  // namespace

bool FastChain::accepts(const Modules& modules, const float* inLeft, const float* inRight,
                        const float* outLeft, const float* outRight, int frames) {
  if (modules.follower1.channelCount != 2 || modules.follower2.channelCount != 2 ||
      modules.shaper.channelCount != 2)
    return false;
  if (typeClass(modules.filterLeft.filterType) != typeClass(modules.filterRight.filterType))
    return false;
  for (const float* out : {outLeft, outRight})
    for (const float* in : {inLeft, inRight})
      if (overlapsElsewhere(out, in, frames)) return false;
  return true;
}

FastChain::FastChain(const Modules& m, const Settings& s) : modules(m) {
  // The setters' step counts are read before the state they step, so that a step taken in
  // between is taken again rather than lost.
  setterStepsLeft = m.filterLeft.setterSteps;
  setterStepsRight = m.filterRight.setterSteps;
  std::atomic_signal_fence(std::memory_order_seq_cst);

  dry2Filter = _mm_set1_ps(s.dry2Filter);
  dryLevel = _mm_set1_ps(s.dryLevel);
  riseCoefficient = pair(m.follower1.riseCoefficient, m.follower2.riseCoefficient);
  fallCoefficient = pair(m.follower1.fallCoefficient, m.follower2.fallCoefficient);
  depthOffset = pair(s.ef1NoiseDepth - 0.5f, s.ef1OscDepth - 0.5f);
  baseLevel = pair(s.noiseAmount, s.oscAmount);
  modDepth = pair(s.ef2FmDepth, s.ef2CutoffDepth);
  keyOffset = pair(s.oscKeyOffset, s.filterKeyOffset);

  const NoiseOscilator& noise = m.noise;
  intScale = noise.intScale;
  noiseColor = noise.color;
  noiseOtherWeight = 1.0f - noise.color;

  const FMOscilator& osc = m.oscillator;
  waveTableA = waveTable(osc, osc.waveA);
  waveTableB = waveTable(osc, osc.waveB);
  weightA = osc.weightA;
  weightB = osc.weightB;
  pulseWidth = osc.pulseWidth;
  for (int k = 0; k < FMOscilator::clickLength; ++k) clickTable[k] = osc.clickTable[k];
  baseFrequency = osc.baseFrequency;
  lowestFrequency = osc.noteTable->frequency[0];
  stepsPerHz = osc.stepsPerHz;

  const WaveShaper& shaper = m.shaper;
  driveStep = shaper.smoothIn * shaper.driveTarget;
  driveKeep = shaper.smoothKeep;
  shaperGain = shaper.outputGain;
  foldThreshold = shaper.foldThreshold;
  fold = shaper.foldEnabled;

  const MoogFilter& left = m.filterLeft;
  const MoogFilter& right = m.filterRight;
  cutoff = pair(left.cutoff, right.cutoff);
  cutoffSmoothIn = pair(left.smoothIn, right.smoothIn);
  cutoffSmoothKeep = pair(left.smoothKeep, right.smoothKeep);
  resonance = pair(left.resonance, right.resonance);
  levelScale = pair(left.levelScale, right.levelScale);
  filterClass = typeClass(left.filterType);

  envelopes = pair(m.follower1.envelope, m.follower2.envelope);
  noiseAmount = noise.amount;
  noiseGain = noise.gain;
  noiseSide = noise.side;
  lcgState = static_cast<std::uint32_t>(noise.lcgState);
  mixA = noise.mixA;
  mixB = noise.mixB;
  phase = osc.phase;
  clickCounter = osc.clickCounter;
  lastSample = osc.lastSample;
  jumpSize = osc.jumpSize;
  jumpMidpoint = osc.jumpMidpoint;
  amplitude = osc.amplitude;
  frequencyOffset = osc.frequencyOffset;
  drive = shaper.drive;
  cutoffOffset = left.cutoffOffset;
  smoothedCutoff = pair(left.smoothedCutoff, right.smoothedCutoff);
  stageGain = pair(left.stageGain, right.stageGain);
  stageFeedback = pair(left.stageFeedback, right.stageFeedback);
  feedback = pair(left.feedback, right.feedback);
  ladders.s0 = pair(left.s0, right.s0);
  ladders.s1 = pair(left.s1, right.s1);
  ladders.s2 = pair(left.s2, right.s2);
  ladders.s3 = pair(left.s3, right.s3);
  ladders.s4 = pair(left.s4, right.s4);
}

void FastChain::store() {
  Modules& m = modules;
  m.follower1.envelope = lane0(envelopes);
  m.follower2.envelope = lane1(envelopes);

  NoiseOscilator& noise = m.noise;
  noise.amount = noiseAmount;
  noise.gain = noiseGain;
  noise.side = noiseSide;
  noise.lcgState = static_cast<std::int32_t>(lcgState);
  noise.mixA = mixA;
  noise.mixB = mixB;

  FMOscilator& osc = m.oscillator;
  osc.phase = phase;
  osc.clickCounter = clickCounter;
  osc.lastSample = lastSample;
  osc.jumpSize = jumpSize;
  osc.jumpMidpoint = jumpMidpoint;
  osc.amplitude = amplitude;
  osc.frequencyOffset = frequencyOffset;

  m.shaper.drive = drive;

  const __m128 coefficients[3] = {stageGain, stageFeedback, feedback};
  storeFilter(m.filterLeft, lane0, &smoothedCutoff, coefficients, ladders, cutoffOffset,
              setterStepsLeft);
  storeFilter(m.filterRight, lane1, &smoothedCutoff, coefficients, ladders, cutoffOffset,
              setterStepsRight);
}

void FastChain::run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                    int frames) {
  switch (filterClass) {
    case MoogFilter::kHighPass:
      chooseBuffers<MoogFilter::kHighPass>(inLeft, inRight, outLeft, outRight, frames);
      break;
    case MoogFilter::kBandPass:
      chooseBuffers<MoogFilter::kBandPass>(inLeft, inRight, outLeft, outRight, frames);
      break;
    default:
      chooseBuffers<MoogFilter::kLowPass>(inLeft, inRight, outLeft, outRight, frames);
      break;
  }
}

template <int kType>
void FastChain::chooseBuffers(const float* inLeft, const float* inRight, float* outLeft,
                              float* outRight, int frames) {
  if (inRight == nullptr) {
    if (outRight == nullptr) {
      chooseFold<kType, true, false>(inLeft, inRight, outLeft, outRight, frames);
    } else {
      chooseFold<kType, true, true>(inLeft, inRight, outLeft, outRight, frames);
    }
  } else if (outRight == nullptr) {
    chooseFold<kType, false, false>(inLeft, inRight, outLeft, outRight, frames);
  } else {
    chooseFold<kType, false, true>(inLeft, inRight, outLeft, outRight, frames);
  }
}

template <int kType, bool kMono, bool kRightOutput>
void FastChain::chooseFold(const float* inLeft, const float* inRight, float* outLeft,
                           float* outRight, int frames) {
  if (fold) {
    runVariant<kType, kMono, kRightOutput, true>(inLeft, inRight, outLeft, outRight, frames);
  } else {
    runVariant<kType, kMono, kRightOutput, false>(inLeft, inRight, outLeft, outRight, frames);
  }
}

template <int kType, bool kMono, bool kRightOutput, bool kFold>
void FastChain::runVariant(const float* inLeft, const float* inRight, float* outLeft,
                           float* outRight, int frames) {
  const __m128 zero = _mm_setzero_ps();
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 half = _mm_set1_ps(0.5f);
  const __m128 rightNegated = _mm_setr_ps(0.0f, -0.0f, 0.0f, -0.0f);
  const __m128 colorWeights =
      _mm_setr_ps(noiseColor, noiseColor, noiseOtherWeight, noiseOtherWeight);

  // The settings, read once for the block.
  const __m128 gDry2Filter = dry2Filter, gDryLevel = dryLevel;
  const __m128 rise = riseCoefficient, fall = fallCoefficient;
  const __m128 gDepthOffset = depthOffset, gBaseLevel = baseLevel;
  const __m128 gModDepth = modDepth, gKeyOffset = keyOffset;
  const float gIntScale = intScale;
  const float* const tableA = waveTableA;
  const float* const tableB = waveTableB;
  const float gWeightA = weightA, gWeightB = weightB;
  const std::int32_t gPulseWidth = pulseWidth;
  const float click0 = clickTable[0], click1 = clickTable[1];
  const float gBaseFrequency = baseFrequency, gLowest = lowestFrequency;
  const float gStepsPerHz = stepsPerHz;
  const float gDriveStep = driveStep, gDriveKeep = driveKeep, gShaperGain = shaperGain;
  const float gFoldThreshold = foldThreshold;
  const __m128 gCutoff = cutoff, smoothIn = cutoffSmoothIn, smoothKeep = cutoffSmoothKeep;
  const __m128 gResonance = resonance, gLevelScale = levelScale;

  // The running state, in registers for the block.
  __m128 env = envelopes;
  std::uint32_t lcg = lcgState, wordA = mixA, wordB = mixB;
  std::int32_t sPhase = phase, counter = clickCounter;
  float last = lastSample, jump = jumpSize, midpoint = jumpMidpoint;
  float sDrive = drive;
  __m128 smoothed = smoothedCutoff;
  LadderPair ladder = ladders;

  struct Pending {
    __m128 dry;
    LadderPair::Frame ladder;
  };

  // Frame n + 1 is prepared while frame n passes the ladders. The prepared frames go through
  // this small buffer: in memory they leave the registers to the ladders' state.
  alignas(16) Pending prepared[2];

  // Everything of frame n up to the ladders' input and coefficients, in the modules' order.
  const auto front = [&](int n) __attribute__((always_inline)) {
    Pending& next = prepared[n & 1];
    const __m128 left = _mm_load_ss(inLeft + n);
    const __m128 right = kMono ? left : _mm_load_ss(inRight + n);
    const __m128 dry = finiteOrZero(_mm_unpacklo_ps(left, right));  // x0, x1
    next.dry = dry;
    const __m128 swapped = _mm_shuffle_ps(dry, dry, _MM_SHUFFLE(3, 2, 0, 1));  // x1, x0
    __m128 generator = _mm_mul_ps(gDry2Filter, dry);

    // Both followers hear the mean of the channels; halving by a multiplication rounds
    // exactly as the division by the channel count of 2 does.
    __m128 level = _mm_mul_ps(_mm_add_ps(_mm_add_ps(zero, dry), swapped), half);
    level = broadcast0(_mm_min_ps(magnitude(level), one));  // NaN counts as full level
    const __m128 rising = _mm_cmpgt_ps(level, env);
    env = _mm_add_ps(level, _mm_mul_ps(_mm_sub_ps(env, level), select(rising, rise, fall)));
    const __m128 levels = levelsFor(env, gDepthOffset, gBaseLevel);

    // Noise. The right gain 1 - (-|s|) is 1 + |s| exactly.
    const __m128 gains =
        _mm_mul_ps(_mm_sub_ps(one, _mm_xor_ps(magnitude(sideOf(dry)), rightNegated)),
                   _mm_set1_ps(gIntScale * lane0(levels)));
    const std::uint32_t m1 = lcg * 16807u;
    const std::uint32_t m2 = lcg * 282475249u;  // 16807 squared: both steps from one state
    lcg = m2;
    const std::uint32_t x1 = wordA ^ wordB;
    const std::uint32_t t = wordB + x1;
    const std::uint32_t x2 = t ^ x1;
    wordB = t + x2;
    wordA = x2;
    const __m128 words = _mm_cvtepi32_ps(
        _mm_setr_epi32(static_cast<std::int32_t>(m1), static_cast<std::int32_t>(m2),
                       static_cast<std::int32_t>(x1), static_cast<std::int32_t>(x2)));
    const __m128 weighted = _mm_mul_ps(words, colorWeights);
    generator = _mm_add_ps(
        generator, _mm_mul_ps(_mm_add_ps(weighted, _mm_movehl_ps(weighted, weighted)), gains));

    // Oscillator.
    const float square = sPhase < gPulseWidth ? 1.0f : -1.0f;
    const float a = tableA != nullptr ? tableA[sPhase] : square;
    const float b = tableB != nullptr ? tableB[sPhase] : square;
    float v = a * gWeightA + b * gWeightB;
    if (counter > FMOscilator::clickLength) {
      const float previous = last;
      const float d = v - previous;
      if (d > 0.0f) {
        if (d > 0.1f) {
          jump = d;
          counter = 0;
          midpoint = d * 0.5f + previous;
        }
      } else if (-d > 0.1f) {
        jump = -d;
        counter = 0;
        midpoint = -d * 0.5f + v;
      }
    }
    last = v;
    if (counter < FMOscilator::clickLength)
      v = (counter == 0 ? click0 : click1) * jump * v + midpoint;
    const float out = v * lane1(levels);
    const __m128 modulation = modulationFor(env, gModDepth, gKeyOffset);
    float frequencyHz = gBaseFrequency + lane0(modulation);
    frequencyHz = frequencyHz >= gLowest ? frequencyHz : gLowest;
    if (counter <= FMOscilator::clickLength) ++counter;
    float steps = frequencyHz * gStepsPerHz;
    steps = steps < FMOscilator::kMaxIncrement ? steps : FMOscilator::kMaxIncrement;
    sPhase += static_cast<std::int32_t>(steps);
    if (sPhase >= FMWavetables::kLength) sPhase %= FMWavetables::kLength;
    generator = _mm_add_ps(generator, _mm_set1_ps(out));

    // Shaper.
    sDrive = gDriveStep + gDriveKeep * sDrive;
    const __m128 driveV = _mm_set1_ps(sDrive);
    const __m128 k = _mm_set1_ps((sDrive - 1.0f) * 2.0f);
    const __m128 x = generator;
    const __m128 ax = magnitude(x);
    __m128 y = _mm_div_ps(_mm_mul_ps(_mm_mul_ps(x, driveV), _mm_add_ps(ax, one)),
                          _mm_add_ps(_mm_add_ps(_mm_mul_ps(k, ax), _mm_mul_ps(x, x)), one));
    if constexpr (kFold) {
      alignas(16) float lanes[4];
      _mm_store_ps(lanes, y);
      for (int c = 0; c < 2; ++c)
        if (lanes[c] > gFoldThreshold || lanes[c] < -gFoldThreshold)
          lanes[c] = WaveShaper::fold(lanes[c], gFoldThreshold);
      y = _mm_load_ps(lanes);
    }
    generator = _mm_mul_ps(y, _mm_set1_ps(gShaperGain));

    // The filters' coefficients: one smoother step, then p, f and q.
    const __m128 target = _mm_add_ps(gCutoff, broadcast1(modulation));
    smoothed = _mm_add_ps(_mm_mul_ps(target, smoothIn), _mm_mul_ps(smoothKeep, smoothed));
    const __m128 c = clampUnit(smoothed);
    const __m128 bc = _mm_sub_ps(one, c);
    const __m128 p = _mm_add_ps(_mm_mul_ps(_mm_mul_ps(c, _mm_set1_ps(0.8f)), bc), c);
    next.ladder.stageGain = p;
    next.ladder.stageFeedback = _mm_sub_ps(_mm_mul_ps(_mm_set1_ps(2.0f), p), one);
    const __m128 shape =
        _mm_add_ps(_mm_mul_ps(_mm_mul_ps(_mm_set1_ps(5.6f), bc), bc), _mm_sub_ps(one, bc));
    next.ladder.feedback =
        _mm_mul_ps(_mm_add_ps(_mm_mul_ps(shape, _mm_mul_ps(bc, half)), one), gResonance);
    next.ladder.scaledInput = _mm_div_ps(generator, gLevelScale);
  };

  // The ladders of frame n, the restart of a ladder that left the finite numbers, the mix.
  const auto back = [&](int n) __attribute__((always_inline)) {
    const Pending& frame = prepared[n & 1];
    __m128 y = _mm_mul_ps(ladder.step<kType>(frame.ladder), gLevelScale);
    const __m128 finite = _mm_cmpeq_ps(_mm_sub_ps(y, y), zero);
    if ((_mm_movemask_ps(finite) & 3) != 3) {
      y = _mm_and_ps(y, finite);
      ladder.keepLanes(finite);
    }
    const __m128 out = _mm_add_ps(_mm_mul_ps(frame.dry, gDryLevel), y);
    _mm_store_ss(outLeft + n, out);
    if constexpr (kRightOutput) _mm_store_ss(outRight + n, broadcast1(out));
  };

  front(0);
  for (int n = 0; n + 1 < frames; ++n) {
    front(n + 1);  // independent of the ladders: overlaps them
    back(n);
  }
  back(frames - 1);
  const Pending& current = prepared[(frames - 1) & 1];

  envelopes = env;
  // What the modules' fields hold after the last frame, recomputed from its values.
  const __m128 levels = levelsFor(env, gDepthOffset, gBaseLevel);
  noiseAmount = lane0(levels);
  noiseGain = gIntScale * noiseAmount;
  noiseSide = lane0(sideOf(current.dry));
  lcgState = lcg;
  mixA = wordA;
  mixB = wordB;
  phase = sPhase;
  clickCounter = counter;
  lastSample = last;
  jumpSize = jump;
  jumpMidpoint = midpoint;
  amplitude = lane1(levels);
  const __m128 modulation = modulationFor(env, gModDepth, gKeyOffset);
  frequencyOffset = lane0(modulation);
  drive = sDrive;
  cutoffOffset = lane1(modulation);
  smoothedCutoff = smoothed;
  stageGain = current.ladder.stageGain;
  stageFeedback = current.ladder.stageFeedback;
  feedback = current.ladder.feedback;
  ladders = ladder;
}

// The signal chain of the effect for a whole block at once, computing exactly the bits of the
// module-by-module chain (each module's `process`, called in the effect's order) in a fraction
// of its time:
// - the left and right channels share one SSE register wherever they do the same operations
//   (the ladders and their coefficients, the shaper, the noise values, and the two followers
//   side by side): there the modules' own per-sample templates run on Lanes;
// - every module's state is loaded into local variables when the block starts and stored back
//   when it ends, so no output store can force it through memory;
// - the settings are read once per block, and the filter type, which decides the ladders'
//   output, makes separate compiled variants; a mono input is read as both channels;
// - the work of the next frame that does not depend on the ladders is issued before the
//   current frame's ladders, so that it is ready beside their recursion.
// Every sample takes the same operations in the same order as the modules; clamps use the
// modules' comparisons (NaN passes or is caught exactly where it is there). What stays here is
// the block's own: the scheduling, the packing of values into lanes, and the control values
// of both followers computed side by side.
//
// The block loop is compiled three times, for the same single-precision operations without
// fused multiply-adds, so all three give the same bits: in the baseline SSE2 encoding; in the
// VEX encoding of processors with AVX, whose three-operand forms spare the register copies
// that two-operand SSE needs (about a sixth of the loop's instructions); and in the EVEX
// encoding of processors with AVX-512 VL, whose 32 registers spare a fifth of the loop's
// stack traffic. The processor's best is chosen when the library loads.
//
// The settings and the state belong to the thread that runs the block: the effect hands
// parameter changes over to it before the block starts.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "EnvelopeFollover.h"
#include "FMOscilator.h"
#include "LadderPair.h"
#include "MoogFilter.h"
#include "NoiseOscilator.h"
#include "WaveShaper.h"

class FastChain {
 public:
  // The effect's own values that the chain reads.
  struct Settings {
    float dry2Filter;
    float dryLevel;
    float noiseAmount;
    float oscAmount;
    float ef1NoiseDepth;
    float ef1OscDepth;
    float ef2CutoffDepth;
    float ef2FmDepth;
    float filterKeyOffset;
    float oscKeyOffset;
  };

  enum class InstructionSet { kSse2, kAvx, kAvx512 };
  // The best this processor and its operating system support; each one supports those before.
  static InstructionSet best();
  static const char* name(InstructionSet instructionSet);  // "SSE2", "AVX", "AVX-512"

  struct Modules {
    EnvelopeFollover& follower1;
    EnvelopeFollover& follower2;
    NoiseOscilator& noise;
    FMOscilator& oscillator;
    WaveShaper& shaper;
    MoogFilter& filterLeft;
    MoogFilter& filterRight;
  };

  // False where the module chain must run instead: modules set up unlike the effect's (filters
  // of different types, a module not on two channels, the shaper's fold, which the effect
  // never turns on), or an output that overlaps an input
  // without being the same buffer (frames are read ahead of the writes). Null right
  // pointers stand for a mono input and a missing right output.
  static bool accepts(const Modules& modules, const float* inLeft, const float* inRight,
                      const float* outLeft, const float* outRight, int frames);

  // Takes the effect's values.
  FastChain(const Modules& modules, const Settings& settings);

  // Runs frames >= 1 frames, with the settings and state it reads from the modules when it
  // starts; the pointers as for accepts. The modules are not written.
  void run(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int frames,
           InstructionSet instructionSet);

  // Stores the state back into the modules.
  void store();

 private:
  template <int kType>
  void runEncoded(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                  int frames);
  template <int kType>
  void runAvx(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
              int frames);
  template <int kType>
  void runAvx512(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                 int frames);
  template <int kType>
  void runLoop(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
               int frames);

  Modules modules;
  Settings settings;
  InstructionSet instructionSet = InstructionSet::kSse2;

  // The modules' running state after the block, for store(). Lanes: 0 left, 1 right.
  struct Result {
    __m128 envelopes;  // lane 0 follower 1, lane 1 follower 2
    NoiseOscilatorState noise;
    FMOscilatorState oscillator;
    WaveShaperState shaper;
    float cutoffOffset;
    __m128 smoothedCutoff, stageGain, stageFeedback, feedback;
    LadderPair ladders;
  } result;
};

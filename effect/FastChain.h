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
// the block's own: the scheduling, the packing of values into lanes, and the choice of the
// compiled variant and its encoding (InstructionSets.h).
//
// The settings and the state belong to the thread that runs the block: the effect hands
// parameter changes over to it before the block starts.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "EnvelopeFollover.h"
#include "FMOscilator.h"
#include "FollowerControls.h"
#include "InstructionSets.h"
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
    FollowerControls controls;
  };

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
  FastChain(const Modules& m, const Settings& s) : modules(m), settings(s) {}

  // Runs frames >= 1 frames, with the settings and state it reads from the modules when it
  // starts; the pointers as for accepts. The modules are not written.
  void run(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int frames,
           InstructionSet instructionSet);

  // Stores the state back into the modules.
  void store();

 private:
  // A block's buffers, a missing right input read as the left one.
  struct Block {
    const float* inLeft;
    const float* inRight;
    float* outLeft;
    float* outRight;
    int frames;
  };
  template <int kType>
  void runIn(InstructionSet instructionSet, const Block& block);
  template <int kType>
  void runLoop(const Block& block);

  Modules modules;
  Settings settings;

  // The modules' running state after the block, for store(). Lanes: 0 left (follower 1), 1
  // right (follower 2).
  struct Result {
    EnvelopeFolloverStateOf<sample::Lanes> followers;
    NoiseOscilatorState noise;
    FMOscilatorState oscillator;
    WaveShaperState shaper;
    LadderPair ladders;
    sample::Lanes controls;  // of the last frame, as FollowerControls::Values
    sample::Lanes dry;       // the last frame's input
  } result;
};

// A wavetable oscillator whose waveform morphs through sine, triangle, saw and square, played
// at a base frequency plus an offset that the signal chain modulates every frame. Jumps of the
// waveform (the saw's reset, the square's edges, a morph change) are softened over two frames.
// Adds the same value to both channels of the frame.
#pragma once

#include <cstdint>

#include "AudioModule.h"
#include "FMWavetables.h"

// What the oscillator carries from one frame to the next, in one piece, so that the effect's
// fast path can take it into its registers and give it back whole.
struct FMOscilatorState {
  static constexpr std::int32_t clickLength = 2;  // frames of the de-click

  std::int32_t phase = 0;                   // read position in the tables, 0..24999
  std::int32_t clickCounter = clickLength;  // frames since the last jump, up to clickLength + 1
  float lastSample = 0.0f;                  // previous morphed value
  float jumpSize = 0.0f;                    // magnitude of the last jump
  float jumpMidpoint = 0.0f;                // mean of the values before and after the last jump
  float frequencyOffset = 0.0f;             // Hz, added to baseFrequency; written every frame
  float amplitude = 0.1f;                   // output level, 0..1; written every frame
};

class FMOscilator final : public AudioModule, public FMOscilatorState {
 public:
  // Largest phase increment: far above any audible one, and phase + increment cannot overflow.
  static constexpr float kMaxIncrement = 2.0e9f;

  FMOscilator();

  void process(float* frame) override {
    const float out = voice().next(*this, amplitude, frequencyOffset);
    frame[0] += out;
    frame[1] += out;
  }

  // The settings a frame reads, taken together: the module takes them every frame, the
  // effect's fast path once a block.
  struct Voice {
    const float* tableA;  // as tableOf gives them
    const float* tableB;
    float weightA, weightB;
    std::int32_t pulseWidth;
    float baseFrequency;  // Hz
    float lowestHz;
    float stepsPerHz;
    const float (*clickTable)[clickLength];

    // The value of one frame played at amplitude (0..1), and the state one frame on at
    // baseFrequency + offsetHz.
    float next(FMOscilatorState& s, float amplitude, float offsetHz) const {
      const float v = morphed(tableA, tableB, weightA, weightB, s.phase, pulseWidth);
      const float out =
          declick(v, *clickTable, s.lastSample, s.jumpSize, s.jumpMidpoint, s.clickCounter);
      s.phase = advance(s.phase, baseFrequency + offsetHz, lowestHz, stepsPerHz);
      return out * amplitude;
    }
  };
  Voice voice() const {
    return {tableOf(waveA), tableOf(waveB),          weightA,    weightB,    pulseWidth,
            baseFrequency,  noteTable->frequency[0], stepsPerHz, &clickTable};
  }

  // The table of waveform `wave`; null for the square, which is computed from the pulse width.
  const float* tableOf(std::int32_t wave) const {
    switch (wave) {
      case 0:
        return wavetables->sineTable;
      case 1:
        return wavetables->triangleTable;
      case 2:
        return wavetables->rampTable;
      default:
        return nullptr;
    }
  }

  // The morph of two waveforms (tables as tableOf gives them) at phase.
  static float morphed(const float* tableA, const float* tableB, float weightA, float weightB,
                       std::int32_t phase, std::int32_t pulseWidth) {
    const float square = phase < pulseWidth ? 1.0f : -1.0f;
    const float a = tableA != nullptr ? tableA[phase] : square;
    const float b = tableB != nullptr ? tableB[phase] : square;
    return a * weightA + b * weightB;
  }

  // The jump detection and de-click of the morphed value v; returns the value to play. The
  // state is passed in so that a block-wise copy of it steps alike.
  static float declick(float v, const float (&table)[clickLength], float& lastSample,
                       float& jumpSize, float& jumpMidpoint, std::int32_t& clickCounter) {
    if (clickCounter > clickLength) {
      const float previous = lastSample;
      const float d = v - previous;
      if (d > 0.0f) {
        if (d > 0.1f) {
          jumpSize = d;
          clickCounter = 0;
          jumpMidpoint = d * 0.5f + previous;
        }
      } else if (-d > 0.1f) {
        jumpSize = -d;
        clickCounter = 0;
        jumpMidpoint = -d * 0.5f + v;
      }
    }
    lastSample = v;

    // v carries the jump's direction (the waveforms that jump land near +1 or -1): the frame
    // of the jump gives about the old value, the next one the midpoint.
    if (clickCounter < clickLength) v = table[clickCounter] * jumpSize * v + jumpMidpoint;
    // Past clickLength the counter's value no longer matters; stopping it there keeps it from
    // overflowing when the phase never wraps (an increment of 0 at high sample rates).
    if (clickCounter <= clickLength) ++clickCounter;
    return v;
  }

  // The phase after one frame at frequencyHz (held at lowestHz or above; NaN plays the
  // lowest, too). A whole number of steps: the frequency is quantised to sampleRate / 25000.
  static std::int32_t advance(std::int32_t phase, float frequencyHz, float lowestHz,
                              float stepsPerHz) {
    if (!(frequencyHz >= lowestHz)) frequencyHz = lowestHz;
    float steps = frequencyHz * stepsPerHz;
    if (!(steps < kMaxIncrement)) steps = kMaxIncrement;
    phase += static_cast<std::int32_t>(steps);
    if (phase >= FMWavetables::kLength) phase %= FMWavetables::kLength;
    return phase;
  }

  // x: the normalized "OSC.Wave" value, 0..1 (values outside are taken as 0 or 1).
  void setWaveform(float x);
  // The name setWaveform gives x: "sin", "tri-saw", ...
  static void nameWaveform(float x, char (&name)[8]);
  // A rate that is not positive keeps the previous steps per Hz.
  void setSampleRate(float rateHz) override;

  std::int32_t pulseWidth = FMWavetables::kLength / 2;  // square is +1 below it, in steps
  std::int32_t waveA = 0;  // 0 sine, 1 triangle, 2 saw, any other square
  std::int32_t waveB = 0;
  float weightA = 1.0f;  // weightA + weightB = 1
  float weightB = 0.0f;
  float waveformValue = 0.0f;     // as last given to setWaveform
  char waveName[8] = {};          // "sin", "tri-saw", ...; empty until setWaveform
  float baseFrequency = 523.25f;  // Hz
  float stepsPerHz;               // table steps per sample per Hz, 25000 / sampleRate
  float clickTable[clickLength];  // de-click curve, -0.5 cos(pi k / clickLength)

  const FMWavetables* wavetables;  // shared, read only

 private:
  // The two waveforms x morphs between and the second one's weight, 0..1.
  struct Morph {
    std::int32_t waveA, waveB;
    float weightB;
  };
  static Morph morphOf(float x);
};

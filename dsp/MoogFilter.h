// Mono four-stage resonant ladder filter with a cubic soft clip in the last stage and
// low-pass, high-pass and band-pass outputs. Each stage is a one-pole low-pass with a zero at
// the Nyquist frequency, y = (x + x[n-1]) p - f y[n-1] with f = 2p - 1; p follows the cutoff
// through a polynomial warp and the feedback is scaled so that the resonance stays even
// across the range (the digital ladder of the music-dsp source archive, after Stilson and
// Smith's analysis of the analog ladder). The cutoff and its modulation glide through a
// one-pole smoother, so the coefficients are updated every frame.
#pragma once

#include <cstdint>

#include "AudioModule.h"
#include "SampleOps.h"

// What a ladder carries from one frame to the next, in one piece, so that the effect's fast
// path can take it into its registers and give it back whole.
struct MoogFilterState {
  float cutoffOffset = 0.0f;    // modulation added to cutoff, fraction of Nyquist; every frame
  float smoothedCutoff = 0.0f;  // smoother state, unclamped
  float stageGain = 0.0f;       // p
  float stageFeedback = 0.0f;   // f = 2p - 1
  float feedback = 0.0f;        // q, resonance feedback from the last stage
  float s0 = 0.0f;              // last ladder input after feedback
  float s1 = 0.0f;              // stage outputs
  float s2 = 0.0f;
  float s3 = 0.0f;
  float s4 = 0.0f;
};

class MoogFilter final : public AudioModule, public MoogFilterState {
 public:
  enum Type : int32_t { kLowPass = 0, kHighPass = 1, kBandPass = 2 };

  MoogFilter();

  // x is the normalized "CutOff" value 0..1; maps it exponentially onto a fraction of the
  // Nyquist frequency and takes one smoother step toward it.
  void setCutoff(float x);
  // What setCutoff makes of x at the present rate: cutoff, and cutoffHz from it.
  float cutoffOf(float x) const;
  float hzOf(float fractionOfNyquist) const { return fractionOfNyquist * sampleRate * 0.5f; }
  // Takes effect at the next coefficient update.
  void setResonance(float r) { resonance = r; }
  // Keeps the cutoff's frequency in Hz (up to the new Nyquist frequency) and rebuilds the
  // cutoff map for the new rate. Rates that are not positive and finite are ignored.
  void setSampleRate(float rateHz) override;

  // One step of the cutoff smoother toward target (a fraction of the Nyquist frequency),
  // then the ladder coefficients for the smoothed cutoff.
  void updateCoefficients(float target) {
    smoothedCutoff = smooth(target, smoothIn, smoothKeep, smoothedCutoff);
    coefficientsFor(smoothedCutoff, resonance, stageGain, stageFeedback, feedback);
  }

  // Filters the one value it is pointed at, in place.
  void process(float* value) override {
    updateCoefficients(cutoff + cutoffOffset);
    *value = step(*value / levelScale, stageGain, stageFeedback, feedback, s0, s1, s2, s3, s4,
                  filterType) *
             levelScale;
  }

  // The per-sample arithmetic, for any sample type T with +, -, *, a T(float) constant and
  // clampUnit (SampleOps.h): a float here, both channels side by side in the effect's fast path.

  // The cutoff smoother's step.
  template <typename T>
  static T smooth(T target, T in, T keep, T smoothed) {
    return target * in + keep * smoothed;
  }

  // The stage gain p, the stage feedback f = 2p - 1 and the resonance feedback q for a
  // smoothed cutoff.
  template <typename T>
  static void coefficientsFor(T smoothed, T resonance, T& p, T& f, T& q) {
    using sample::clampUnit;
    const T c = clampUnit(smoothed);
    const T b = T(1.0f) - c;
    p = c * T(0.8f) * b + c;
    f = T(2.0f) * p - T(1.0f);
    q = ((T(5.6f) * b * b + (T(1.0f) - b)) * (b * T(0.5f)) + T(1.0f)) * resonance;
  }

  // One frame of the ladder for an input already divided by the level scale; returns the
  // output of the given type before the level scale is applied again. Only the lines that read
  // s4 lie on the recursion: the products with s1, s2, s3 are ready before it reaches them.
  template <typename T>
  static T step(T input, T p, T f, T q, T& s0, T& s1, T& s2, T& s3, T& s4, int32_t type) {
    const T in = input - q * s4;
    const T n1 = (in + s0) * p - f * s1;
    const T n2 = (n1 + s1) * p - f * s2;
    const T n3 = (n2 + s2) * p - f * s3;
    T n4 = (n3 + s3) * p - f * s4;
    n4 = n4 - n4 * n4 * n4 * T(0.166667f);
    s0 = in;
    s1 = n1;
    s2 = n2;
    s3 = n3;
    s4 = n4;
    if (type == kHighPass) return in - n4;
    if (type == kBandPass) return T(4.0f) * (n2 - n4);
    return n4;
  }

  float cutoff = 1.0f;            // fraction of the Nyquist frequency, output of the cutoff map
  float cutoffHz = 22050.0f;      // Hz at the last setCutoff, for display and key tracking
  float mapOffset = 0.28f;        // exponent offset of the cutoff map
  float mapSlope = 0.72f;         // exponent slope of the cutoff map
  float resonance = 1.0f;         // feedback factor, 0 = plain four-pole cascade
  int32_t filterType = kLowPass;  // Type; anything else acts as low-pass
  float levelScale = 1.0f;        // input divided by it, output multiplied by it
  float smoothIn = 0.01f;         // input weight of the cutoff smoother
  float smoothKeep = 0.99f;       // feedback weight of the cutoff smoother
};

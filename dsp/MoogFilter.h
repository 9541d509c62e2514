// Mono four-stage resonant ladder filter with a cubic soft clip in the last stage and
// low-pass, high-pass and band-pass outputs. Each stage is a one-pole low-pass with a zero at
// the Nyquist frequency, y = (x + x[n-1]) p - f y[n-1] with f = 2p - 1; p follows the cutoff
// through a polynomial warp and the feedback is scaled so that the resonance stays even
// across the range (the digital ladder of the music-dsp source archive, after Stilson and
// Smith's analysis of the analog ladder). The cutoff and its modulation glide through a
// one-pole smoother, so the coefficients are updated every frame.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "AudioModule.h"
#include "SampleOps.h"

// The coefficients of a frame, of the sample type T: a float in the module, both channels side
// by side in the effect's fast path. Every coefficient update sets all three (the filter's
// constructor makes the first), so the fast path's frames need no initial values.
template <typename T>
struct MoogFilterCoefficients {
  T stageGain;      // p
  T stageFeedback;  // f = 2p - 1
  T feedback;       // q, resonance feedback from the last stage
};

// What a ladder carries from one frame to the next, in one piece and every field of the sample
// type, so that the effect's fast path can hold both ladders' as one and give each its own back.
template <typename T>
struct MoogFilterStateOf : MoogFilterCoefficients<T> {
  T cutoffOffset = T(0.0f);    // modulation added to cutoff, fraction of Nyquist; every frame
  T smoothedCutoff = T(0.0f);  // smoother state, unclamped
  T s0 = T(0.0f);              // last ladder input after feedback
  T s1 = T(0.0f);              // stage outputs
  T s2 = T(0.0f);
  T s3 = T(0.0f);
  T s4 = T(0.0f);
};
using MoogFilterState = MoogFilterStateOf<float>;

// What a ladder's frame reads of its settings, of the sample type T.
template <typename T>
struct MoogFilterSettingsOf {
  T cutoff = T(1.0f);       // fraction of the Nyquist frequency, output of the cutoff map
  T resonance = T(1.0f);    // feedback factor, 0 = plain four-pole cascade
  T levelScale = T(1.0f);   // input divided by it, output multiplied by it
  T smoothIn = T(0.01f);    // input weight of the cutoff smoother
  T smoothKeep = T(0.99f);  // feedback weight of the cutoff smoother
};

class MoogFilter final : public AudioModule,
                         public MoogFilterSettingsOf<float>,
                         public MoogFilterState {
 public:
  enum Type : int32_t { kLowPass = 0, kHighPass = 1, kBandPass = 2 };
  // The output a filterType value gives: anything else acts as low-pass.
  static Type typeOf(int32_t filterType) {
    return filterType == kHighPass || filterType == kBandPass ? static_cast<Type>(filterType)
                                                              : kLowPass;
  }

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
  void updateCoefficients(float target) { glide(target, *this, smoothedCutoff, *this); }

  // Filters the one value it is pointed at, in place.
  void process(float* value) override {
    updateCoefficients(cutoff + cutoffOffset);
    *value = step(*value / levelScale, *this, *this, filterType) * levelScale;
  }

  // The per-sample arithmetic, for any sample type T with +, -, *, a T(float) constant and
  // the helpers of SampleOps.h: a float here, both channels side by side in the effect's fast
  // path.

  // updateCoefficients for settings s, the smoother's state and the coefficients to set.
  template <typename T>
  static void glide(T target, const MoogFilterSettingsOf<T>& s, T& smoothed,
                    MoogFilterCoefficients<T>& to) {
    smoothed = smooth(target, s.smoothIn, s.smoothKeep, smoothed);
    coefficientsFor(smoothed, s.resonance, to);
  }

  // The cutoff smoother's step.
  template <typename T>
  static T smooth(T target, T in, T keep, T smoothed) {
    return target * in + keep * smoothed;
  }

  // The stage gain p, the stage feedback f = 2p - 1 and the resonance feedback q for a
  // smoothed cutoff.
  template <typename T>
  static void coefficientsFor(T smoothed, T resonance, MoogFilterCoefficients<T>& to) {
    using sample::clampUnit;
    const T c = clampUnit(smoothed);
    const T b = T(1.0f) - c;
    const T p = c * T(0.8f) * b + c;
    to.stageGain = p;
    to.stageFeedback = T(2.0f) * p - T(1.0f);
    to.feedback = ((T(5.6f) * b * b + (T(1.0f) - b)) * (b * T(0.5f)) + T(1.0f)) * resonance;
  }

  // One frame of the ladder for an input already divided by the level scale; returns the
  // output of the given type before the level scale is applied again. Only the lines that read
  // s4 lie on the recursion: the products with s1, s2, s3 are ready before it reaches them.
  // The coefficients are read before the state is written, so both may be the same object.
  template <typename T>
  static T step(T input, const MoogFilterCoefficients<T>& c, MoogFilterStateOf<T>& s,
                int32_t type) {
    const T p = c.stageGain, f = c.stageFeedback, q = c.feedback;
    const T in = input - q * s.s4;
    const T n1 = (in + s.s0) * p - f * s.s1;
    const T n2 = (n1 + s.s1) * p - f * s.s2;
    const T n3 = (n2 + s.s2) * p - f * s.s3;
    T n4 = (n3 + s.s3) * p - f * s.s4;
    n4 = n4 - n4 * n4 * n4 * T(0.166667f);
    s.s0 = in;
    s.s1 = n1;
    s.s2 = n2;
    s.s3 = n3;
    s.s4 = n4;
    if (type == kHighPass) return in - n4;
    if (type == kBandPass) return T(4.0f) * (n2 - n4);
    return n4;
  }

  // A ladder whose state has left the finite numbers (a huge input, resonance far beyond its
  // range) would stay there for good: where its output is not finite, the output and the
  // stages start again from silence.
  template <typename T>
  static void restartIfNotFinite(T& output, MoogFilterStateOf<T>& s) {
    using sample::allFinite, sample::whereFinite;
    if (allFinite(output)) return;
    const T test = output;
    for (T* x : {&s.s0, &s.s1, &s.s2, &s.s3, &s.s4, &output}) *x = whereFinite(*x, test);
  }

  float cutoffHz = 22050.0f;      // Hz at the last setCutoff, for display and key tracking
  float mapOffset = 0.28f;        // exponent offset of the cutoff map
  float mapSlope = 0.72f;         // exponent slope of the cutoff map
  int32_t filterType = kLowPass;  // Type, as typeOf reads it
};

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

class MoogFilter final : public AudioModule {
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
    smoothedCutoff = target * smoothIn + smoothKeep * smoothedCutoff;
    float c = smoothedCutoff;
    if (c < 0.0f) c = 0.0f;
    if (c > 1.0f) c = 1.0f;
    const float b = 1.0f - c;
    stageGain = c * 0.8f * b + c;
    stageFeedback = 2.0f * stageGain - 1.0f;
    feedback = ((5.6f * b * b + (1.0f - b)) * (b * 0.5f) + 1.0f) * resonance;
  }

  // Filters the one value it is pointed at, in place.
  void process(float* value) override {
    updateCoefficients(cutoff + cutoffOffset);
    const float p = stageGain;
    const float f = stageFeedback;

    const float in = *value / levelScale - feedback * s4;
    const float n1 = (in + s0) * p - f * s1;
    const float n2 = (n1 + s1) * p - f * s2;
    const float n3 = (n2 + s2) * p - f * s3;
    float n4 = (n3 + s3) * p - f * s4;
    n4 = n4 - n4 * n4 * n4 * 0.166667f;
    s0 = in;
    s1 = n1;
    s2 = n2;
    s3 = n3;
    s4 = n4;

    float out;
    if (filterType == kHighPass) {
      out = in - n4;
    } else if (filterType == kBandPass) {
      out = 4.0f * (n2 - n4);
    } else {
      out = n4;
    }
    *value = out * levelScale;
  }

  float cutoff = 1.0f;            // fraction of the Nyquist frequency, output of the cutoff map
  float cutoffHz = 22050.0f;      // Hz at the last setCutoff, for display and key tracking
  float cutoffOffset = 0.0f;      // modulation added to cutoff, same unit; written every frame
  float mapOffset = 0.28f;        // exponent offset of the cutoff map
  float mapSlope = 0.72f;         // exponent slope of the cutoff map
  float resonance = 1.0f;         // feedback factor, 0 = plain four-pole cascade
  int32_t filterType = kLowPass;  // Type; anything else acts as low-pass
  float levelScale = 1.0f;        // input divided by it, output multiplied by it
  float smoothIn = 0.01f;         // input weight of the cutoff smoother
  float smoothKeep = 0.99f;       // feedback weight of the cutoff smoother
  float smoothedCutoff = 0.0f;    // smoother state, unclamped
  float stageGain = 0.0f;         // p
  float stageFeedback = 0.0f;     // f = 2p - 1
  float feedback = 0.0f;          // q, resonance feedback from the last stage
  float s0 = 0.0f;                // last ladder input after feedback
  float s1 = 0.0f;                // stage outputs
  float s2 = 0.0f;
  float s3 = 0.0f;
  float s4 = 0.0f;
};

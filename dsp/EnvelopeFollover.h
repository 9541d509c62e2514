// Follows the level of a frame: the mean of its channels, rectified and limited to 1, smoothed
// by a one-pole filter that rises slowly and falls four times faster.
#pragma once

#include "AudioModule.h"

class EnvelopeFollover final : public AudioModule {
 public:
  EnvelopeFollover();

  // Reads channelCount values of the frame and never writes it.
  void process(float* frame) override {
    float sum = 0.0f;
    for (int c = 0; c < channelCount && c < kFrameChannels; ++c) sum += frame[c];
    // The mean comes before rectification: opposite channels cancel.
    float level = sum / static_cast<float>(channelCount);
    if (level < 0.0f) level = -level;
    // Written so that NaN counts as full level; the envelope can never leave 0..1.
    if (!(level <= 1.0f)) level = 1.0f;
    const float coefficient = level > envelope ? riseCoefficient : fallCoefficient;
    envelope = level + (envelope - level) * coefficient;
  }

  // Keeps the envelope; only the coefficients follow the new rate.
  void setSampleRate(float rateHz) override;
  // smoothing: normally 0..1, for a rise time of 1..1001 ms.
  void setSmoothing(float value);

  float riseCoefficient = 0.0f;  // used while the level is above the envelope, 0..1
  float fallCoefficient = 0.0f;  // used while the level is at or below the envelope, 0..1
  float envelope = 0.0f;         // output, 0..1
  float smoothing = 100.0f;      // as last given; 100 lasts only until the first program

 private:
  void updateCoefficients();
};

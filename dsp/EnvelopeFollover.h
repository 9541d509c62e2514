// Follows the level of a frame: the mean of its channels, rectified and limited to 1, smoothed
// by a one-pole filter that rises slowly and falls four times faster.
#pragma once

#include "AudioModule.h"
#include "SampleOps.h"

// What the follower carries from one frame to the next, in one piece and of the sample type T,
// so that the effect's fast path can hold both followers' as one and give each its own back.
template <typename T>
struct EnvelopeFolloverStateOf {
  T envelope = T(0.0f);  // output, 0..1
};
using EnvelopeFolloverState = EnvelopeFolloverStateOf<float>;

// What a follower's frame reads of its settings, of the sample type T.
template <typename T>
struct EnvelopeFolloverSettingsOf {
  T riseCoefficient = T(0.0f);  // used while the level is above the envelope, 0..1
  T fallCoefficient = T(0.0f);  // used while the level is at or below the envelope, 0..1
};

class EnvelopeFollover final : public AudioModule,
                               public EnvelopeFolloverSettingsOf<float>,
                               public EnvelopeFolloverState {
 public:
  EnvelopeFollover();

  // Reads channelCount values of the frame and never writes it.
  void process(float* frame) override {
    float sum = 0.0f;
    for (int c = 0; c < channelCount && c < kFrameChannels; ++c) sum += frame[c];
    envelope = follow(sum / static_cast<float>(channelCount), envelope, *this);
  }

  // The envelope after one frame whose channels' mean is given, for any sample type T with
  // +, -, * and the helpers of SampleOps.h: a float here, both followers side by side in the
  // effect's fast path. The mean comes before rectification: opposite channels cancel. NaN
  // counts as full level; the envelope can never leave 0..1.
  template <typename T>
  static T follow(T mean, T envelope, const EnvelopeFolloverSettingsOf<T>& s) {
    using sample::atMostOne, sample::ifGreater, sample::magnitude;
    const T level = atMostOne(magnitude(mean));
    return level +
           (envelope - level) * ifGreater(level, envelope, s.riseCoefficient, s.fallCoefficient);
  }

  // Keeps the envelope; only the coefficients follow the new rate.
  void setSampleRate(float rateHz) override;
  // smoothing: normally 0..1, for a rise time of 1..1001 ms.
  void setSmoothing(float value);

  float smoothing = 100.0f;  // as last given; 100 lasts only until the first program

 private:
  void updateCoefficients();
};

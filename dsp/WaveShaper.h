// Smooth rational saturation, y = x d (|x| + 1) / ((2d - 2)|x| + x^2 + 1), with an optional
// triangular fold-back. The curve has slope d at 0, passes through (1, 1) and (-1, -1) for
// every drive d and tends to +-d for large |x|, so the drive sets both the small-signal gain
// and the ceiling without moving the unity point.
#pragma once

#include "AudioModule.h"
#include "SampleOps.h"

// What the shaper carries from one frame to the next, in one piece, so that the effect's fast
// path can take it into its registers and give it back whole.
struct WaveShaperState {
  float drive = 0.0f;  // smoothed drive: the curve's slope at 0 and its ceiling
};

// What the shaper's frame reads of its settings.
struct WaveShaperSettings {
  float driveTarget = 1.0f;  // drive the smoother moves toward
  float smoothIn = 0.01f;    // input weight of the drive smoother
  float smoothKeep = 0.99f;  // feedback weight of the drive smoother
  float outputGain = 1.0f;   // applied to every output value
};

class WaveShaper final : public AudioModule, public WaveShaperSettings, public WaveShaperState {
 public:
  WaveShaper();

  // Shapes every channel of the frame in place.
  void process(float* frame) override {
    drive = smoothDrive(drive, *this);
    const float k = kneeOf(drive);
    for (int i = 0; i < channelCount && i < kFrameChannels; ++i) {
      float y = shape(frame[i], drive, k);
      if (foldEnabled && (y > foldThreshold || y < -foldThreshold)) y = fold(y, foldThreshold);
      frame[i] = y * outputGain;
    }
  }

  // One step of the drive's one-pole smoother toward its target.
  static float smoothDrive(float drive, const WaveShaperSettings& s) {
    return s.smoothIn * s.driveTarget + s.smoothKeep * drive;
  }

  // The curve's 2d - 2 for a drive d.
  static float kneeOf(float drive) { return (drive - 1.0f) * 2.0f; }

  // The curve for any sample type T with +, -, *, /, a T(float) constant and
  // magnitude (SampleOps.h): a float here, both channels side by side in the effect's fast path.
  template <typename T>
  static T shape(T x, T drive, T knee) {
    using sample::magnitude;
    const T a = magnitude(x);
    return x * drive * (a + T(1.0f)) / (knee * a + x * x + T(1.0f));
  }

  // Reflects y back into -threshold..threshold at both edges, repeating with period
  // 4 x threshold (a triangle wave of y); values within the range come back unchanged.
  static float fold(float y, float threshold);

  bool foldEnabled = true;     // fold values beyond +-foldThreshold back into range
  float foldThreshold = 1.0f;  // T
};

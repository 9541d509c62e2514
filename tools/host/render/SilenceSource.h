// No input file: silence of a given length, for instruments that make their sound from notes.
#pragma once

#include <algorithm>

#include "AudioSource.h"

class SilenceSource : public AudioSource {
 public:
  SilenceSource(int sampleRateHz, int64_t frameCount) : rateHz(sampleRateHz), count(frameCount) {}

  int sampleRateHz() const override { return rateHz; }
  int channels() const override { return 1; }
  int64_t frames() const override { return count; }
  void read(float* samples, int64_t frames) override { std::fill(samples, samples + frames, 0.0f); }

 private:
  int rateHz;
  int64_t count;
};

// The input of the LV2 tests' renders.
#pragma once

#include <vector>

// `frames` of interleaved stereo at `rateHz`: a tone per channel (220 and 331 Hz) under noise
// bursts that come and go every 0.1 s, so that the followers, the oscillator's modulation and
// the filters all move.
std::vector<float> testSignal(int frames, int rateHz);

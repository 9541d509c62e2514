// processReplacing with arbitrary samples (any bit pattern) and block sizes (negative and zero
// included), in place and out of place, with and without the second channel, at sample rates
// from 8 to 384 kHz.
#include "FuzzedEffect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  FuzzedEffect effect;
  const float ratesHz[] = {8000.0f, 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f, 384000.0f};
  effect.dispatch(effMainsChanged, 0, 0);
  effect.dispatch(effSetSampleRate, 0, 0, nullptr, ratesHz[input.takeInRange(0, 6)]);
  effect.dispatch(effMainsChanged, 0, 1);
  while (!input.empty()) {
    const uint8_t flags = input.take<uint8_t>();
    const int frames = input.takeInRange(-4, FuzzedEffect::kMaxFrames);
    effect.process(input, frames, flags & 1, flags & 2);
  }
  return 0;
}

// processEvents with arbitrary event lists (every byte of every record from the input), each
// followed by a block of audio.
#include "FuzzedEffect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  FuzzedEffect effect;
  while (!input.empty()) {
    effect.sendEvents(input);
    effect.process(input, input.takeInRange(0, 128));
  }
  return 0;
}

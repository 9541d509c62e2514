// setParameter and getParameter with arbitrary indices and values (any bit pattern), the
// parameter texts after each change, and a block processed with whatever the values became.
#include <vector>

#include "FuzzedEffect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  FuzzedEffect effect;
  AEffect* record = effect.record();
  std::vector<char> text(4096);
  while (!input.empty()) {
    const uint8_t choice = input.take<uint8_t>();
    // Mostly indices of real parameters, sometimes anything.
    const VstInt32 index = choice & 0x80 ? input.take<VstInt32>() : choice % 20;
    const float value = input.take<float>();
    record->setParameter(record, index, value);
    record->getParameter(record, index);
    if (choice & 0x40) {
      for (VstInt32 opcode : {effGetParamDisplay, effGetParamLabel, effGetParamName}) {
        std::fill(text.begin(), text.end(), 0);
        effect.dispatch(opcode, index, 0, text.data());
      }
    }
    if (choice & 0x20) effect.process(input, 64);
  }
  effect.process(input, 64);
  return 0;
}

// The dispatcher with arbitrary opcodes, indices, values and floats, each call with a null
// pointer or a well-formed one: a large zeroed buffer holding a terminated text from the input,
// or a proper event list. Between calls the effect processes a block now and then.
#include <vector>

#include "FuzzedEffect.h"

namespace {

constexpr size_t kBufferBytes = 4096;

// Opcodes whose `value` is a pointer: it gets the same choice as `ptr`.
bool valueIsPointer(VstInt32 opcode) {
  return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  FuzzedEffect effect;
  std::vector<char> buffer(kBufferBytes);
  std::vector<char> second(kBufferBytes);
  while (!input.empty()) {
    const uint8_t choice = input.take<uint8_t>();
    if (choice >= 0xf0) {
      effect.process(input, input.takeInRange(0, 256));
      continue;
    }
    const VstInt32 opcode = choice >= 0xe0 ? input.take<VstInt32>() : choice % 80;
    const VstInt32 index = input.take<VstInt32>();
    VstIntPtr value = input.take<int64_t>();
    const float opt = input.take<float>();
    const bool pointer = (input.take<uint8_t>() & 1) != 0;
    std::fill(buffer.begin(), buffer.end(), 0);
    std::fill(second.begin(), second.end(), 0);
    input.takeBytes(buffer.data(), input.takeInRange(0, 64));
    void* ptr = pointer ? buffer.data() : nullptr;
    if (valueIsPointer(opcode)) value = pointer ? reinterpret_cast<VstIntPtr>(second.data()) : 0;
    // A chunk's size must match the data handed over.
    if (opcode == effSetChunk && pointer) value = value & (kBufferBytes - 1);
    if (opcode == effProcessEvents && pointer) {
      effect.sendEvents(input);
    } else if (opcode == effEditOpen) {
      // No parent window can be made here, so the editor gets none.
      effect.dispatch(opcode, index, value, nullptr, opt);
    } else if (opcode == effClose) {
      effect.dispatch(opcode, index, value, ptr, opt);
      effect.closed();
      break;
    } else {
      effect.dispatch(opcode, index, value, ptr, opt);
    }
  }
  return 0;
}

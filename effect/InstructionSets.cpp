#include "InstructionSets.h"

namespace {

// Read once when the library loads, never on the audio path. The processor's feature bits
// include the operating system's consent to keep the wide registers (OSXSAVE, XCR0).
const InstructionSet bestInstructionSet = [] {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl"))
    return InstructionSet::kAvx512;
  return __builtin_cpu_supports("avx") ? InstructionSet::kAvx : InstructionSet::kSse2;
}();

}  // namespace

InstructionSet InstructionSets::best() { return bestInstructionSet; }

const char* InstructionSets::name(InstructionSet set) {
  switch (set) {
    case InstructionSet::kAvx512:
      return "AVX-512";
    case InstructionSet::kAvx:
      return "AVX";
    default:
      return "SSE2";
  }
}

// The instruction encodings the fast path's block loop is compiled in, all for the same
// single-precision operations without fused multiply-adds, so all give the same bits: the
// baseline SSE2 encoding; the VEX encoding of processors with AVX, whose three-operand forms
// spare the register copies that two-operand SSE needs (about a sixth of the loop's
// instructions); and the EVEX encoding of processors with AVX-512 VL, whose 32 registers spare
// a fifth of the loop's stack traffic. The processor's best is chosen when the library loads.
#pragma once

enum class InstructionSet { kSse2, kAvx, kAvx512 };

class InstructionSets {
 public:
  // The best this processor and its operating system support; each one supports those before.
  static InstructionSet best();
  static const char* name(InstructionSet set);  // "SSE2", "AVX", "AVX-512"

  // Calls loop(), compiled whole in the given encoding: everything it calls is inlined.
  template <typename Loop>
  static void run(InstructionSet set, const Loop& loop) {
    if (set == InstructionSet::kAvx512) {
      runAvx512(loop);
    } else if (set == InstructionSet::kAvx) {
      runAvx(loop);
    } else {
      runSse2(loop);
    }
  }

 private:
  // No vector in the loops is wider than the 128 bits of SSE, so nothing needs the 32- or
  // 64-byte stack alignment that Windows does not keep.
  template <typename Loop>
  __attribute__((flatten)) static void runSse2(const Loop& loop) {
    loop();
  }
  template <typename Loop>
  __attribute__((flatten, target("avx"))) static void runAvx(const Loop& loop) {
    loop();
  }
  template <typename Loop>
  __attribute__((flatten, target("avx512f,avx512vl"))) static void runAvx512(const Loop& loop) {
    loop();
  }
};

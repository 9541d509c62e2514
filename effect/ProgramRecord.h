// One program: the 18 normalized parameter values last set, and a name.
#pragma once

#include <atomic>
#include <cstring>

#include "ParameterTable.h"

struct ProgramRecord {
  static constexpr int kNameBytes = 24;  // with the terminator

  ProgramRecord() {
    for (int i = 0; i < kNumParameters; ++i)
      values[i].store(kParameterTable[i].defaultValue, std::memory_order_relaxed);
    std::strncpy(name, "Init", sizeof name);
  }

  // Normalized, indexed by parameter; set and read on any thread.
  std::atomic<float> values[kNumParameters];
  char name[kNameBytes];
};

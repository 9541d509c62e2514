// One program: the 18 normalized parameter values last set, and a name.
#pragma once

#include <cstring>

#include "ParameterTable.h"

struct ProgramRecord {
  static constexpr int kNameBytes = 24;  // with the terminator

  ProgramRecord() {
    for (int i = 0; i < kNumParameters; ++i) values[i] = kParameterTable[i].defaultValue;
    std::strncpy(name, "Init", sizeof name);
  }

  float values[kNumParameters];  // normalized, indexed by parameter
  char name[kNameBytes];
};

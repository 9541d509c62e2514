#include "NoteTable.h"

#include <cstdio>

namespace {
// "H", not B, for the seventh step above A.
const char* const kPitchClass[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                     "F#", "G",  "G#", "A",  "A#", "H"};
}  // namespace

NoteTable::NoteTable() {
  double f = 8.175798915636872;  // key 0, Hz, stepped in double so that key 69 lands on 440
  for (int k = 0; k < kKeys; ++k) {
    frequency[k] = static_cast<float>(f);
    std::snprintf(nameText[k], sizeof nameText[k], "%s%d", kPitchClass[k % 12], k / 12 - 1);
    name[k] = nameText[k];
    f *= 1.059463094359;
  }
  name[kKeys] = "Hz";
}

const NoteTable& NoteTable::instance() {
  // A function-local static is initialised exactly once, and other threads wait for it.
  static const NoteTable table;
  return table;
}

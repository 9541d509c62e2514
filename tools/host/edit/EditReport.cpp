#include "EditReport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Effects write at most a few dozen bytes; the rest of the buffer catches one that overruns.
constexpr size_t kTextBuffer = 256;
constexpr size_t kShownCharacters = 32;

}  // namespace

std::string effectText(AEffect* effect, VstInt32 opcode, VstInt32 index, size_t limit) {
  char buffer[kTextBuffer] = {};
  effect->dispatcher(effect, opcode, index, 0, buffer, 0.0f);
  buffer[kTextBuffer - 1] = '\0';
  std::string text(buffer, std::min(std::strlen(buffer), limit));
  for (char& c : text) {
    if (c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return text;
}

void EditReport::hostCall(AEffect* effect, VstInt32 opcode, VstInt32 index, float value) {
  const char* kind = nullptr;
  switch (opcode) {
    case audioMasterAutomate:
      kind = "automate";
      break;
    case audioMasterBeginEdit:
      kind = "begin";
      break;
    case audioMasterEndEdit:
      kind = "end";
      break;
    default:
      return;
  }
  const bool known = effect && index >= 0 && index < effect->numParams;
  out << kind << ' ' << index << " \""
      << (known ? effectText(effect, effGetParamName, index, kShownCharacters) : "") << '"';
  if (opcode == audioMasterAutomate) {
    char number[32];
    std::snprintf(number, sizeof(number), "%.6f", static_cast<double>(value));
    out << ' ' << number << " \""
        << (known ? effectText(effect, effGetParamDisplay, index, kShownCharacters) : "") << '"';
  }
  out << '\n' << std::flush;
}

#include "WaveText.h"

#include <cstring>

namespace {
constexpr size_t kLettersKept = 2;  // of each waveform's name
}  // namespace

void fitWaveText(char* text) {
  const char* dash = std::strchr(text, '-');
  if (!dash || dash == text) return;
  const size_t first = static_cast<size_t>(dash - text);
  const size_t second = std::strlen(dash + 1);
  if (first <= kLettersKept && second <= kLettersKept) return;
  const size_t keptFirst = first < kLettersKept ? first : kLettersKept;
  const size_t keptSecond = second < kLettersKept ? second : kLettersKept;
  text[keptFirst] = '-';
  std::memmove(text + keptFirst + 1, dash + 1, keptSecond);
  text[keptFirst + 1 + keptSecond] = '\0';
}

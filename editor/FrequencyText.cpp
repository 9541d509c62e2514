#include "FrequencyText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

void fitFrequencyText(char* text) {
  char* end = nullptr;
  const double hz = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(hz) || std::fabs(hz) >= 99999.5) return;
  // Decimals for four significant digits, judged on the value as it will be rounded.
  const double magnitude = std::fabs(hz);
  int decimals = 0;
  if (magnitude < 9.995)
    decimals = 3;
  else if (magnitude < 99.995)
    decimals = 2;
  else if (magnitude < 999.95)
    decimals = 1;
  char fitted[16];
  std::snprintf(fitted, sizeof fitted, "%.*f", decimals, hz);
  std::snprintf(text, sizeof fitted, "%s", fitted);
}

// Prints the filter's cutoff map bit for bit: for each sample rate, the map's offset, then
// cutoff and cutoffHz for 10,001 evenly spaced "CutOff" values. Both builds must print the
// same lines.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "MoogFilter.h"

namespace {

uint32_t bitsOf(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

int main() {
  constexpr int kSteps = 10000;
  for (const float rateHz : {44100.0f, 48000.0f, 96000.0f}) {
    MoogFilter filter;
    filter.setSampleRate(rateHz);
    std::printf("rate %.0f offset %08x\n", static_cast<double>(rateHz), bitsOf(filter.mapOffset));
    for (int i = 0; i <= kSteps; ++i) {
      filter.setCutoff(static_cast<float>(i) / kSteps);
      std::printf("%d %08x %08x\n", i, bitsOf(filter.cutoff), bitsOf(filter.cutoffHz));
    }
  }
  return 0;
}

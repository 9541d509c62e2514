#include "PendingParameters.h"

void PendingParameters::mark(int32_t index) {
  if (index < 0 || index >= 32) return;
  // Release: the editor thread that takes the bit also sees the effect's stores before it.
  bits.fetch_or(uint32_t{1} << index, std::memory_order_release);
}

uint32_t PendingParameters::take() { return bits.exchange(0, std::memory_order_acquire); }

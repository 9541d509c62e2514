#include "ParameterChanges.h"

ParameterChanges::ParameterChanges() {
  for (std::uint32_t i = 0; i < kCapacity; ++i) places[i].turn.store(i, std::memory_order_relaxed);
}

void ParameterChanges::record(std::int32_t index, float value) {
  std::uint32_t turn = tail.load(std::memory_order_relaxed);
  for (;;) {
    Place& place = places[turn % kCapacity];
    const std::uint32_t placeTurn = place.turn.load(std::memory_order_acquire);
    const auto ahead = static_cast<std::int32_t>(placeTurn - turn);
    if (ahead == 0) {
      if (tail.compare_exchange_weak(turn, turn + 1, std::memory_order_relaxed)) {
        place.index = index;
        place.value = value;
        place.turn.store(turn + 1, std::memory_order_release);
        return;
      }
    } else if (ahead < 0) {
      // The place still holds a change from kCapacity turns ago: the ring is full.
      overflowed.fetch_or(1u << index, std::memory_order_release);
      return;
    } else {
      turn = tail.load(std::memory_order_relaxed);  // another thread took this turn
    }
  }
}

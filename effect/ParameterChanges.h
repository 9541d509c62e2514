// Parameter changes on their way from the host's threads to the audio side: any number of
// threads record, one thread (the one that processes) applies them in the order they were
// recorded. Neither side waits for the other, allocates or takes a lock: a bounded ring whose
// places carry their own turn numbers (D. Vyukov's bounded queue, with a single reader).
// A change that finds the ring full is not lost: its parameter is marked, and the reader then
// applies the parameter's latest value, after the changes in the ring.
#pragma once

#include <atomic>
#include <cstdint>

class ParameterChanges {
 public:
  static constexpr std::uint32_t kCapacity = 256;  // changes between two blocks

  ParameterChanges();

  // Any thread. index 0..31.
  void record(std::int32_t index, float value);

  // The reading thread only: calls apply(index, value) for every change recorded so far, in
  // order, then lost(index) once for every parameter whose change found the ring full.
  template <typename Apply, typename Lost>
  void apply(Apply&& applyChange, Lost&& lost) {
    // Most blocks find nothing to do: the counters, side by side, answer that from one cache
    // line, without touching the ring. A change whose turn is taken after this look waits for
    // the next call, as one still being written does.
    if (tail.load(std::memory_order_relaxed) == head &&
        overflowed.load(std::memory_order_relaxed) == 0)
      return;
    for (;;) {
      Place& place = places[head % kCapacity];
      if (place.turn.load(std::memory_order_acquire) != head + 1) break;  // empty, or being written
      applyChange(place.index, place.value);
      place.turn.store(head + kCapacity, std::memory_order_release);
      ++head;
    }
    // The exchange is a locked instruction, which waits for every store still pending.
    if (overflowed.load(std::memory_order_relaxed) == 0) return;
    for (std::uint32_t bits = overflowed.exchange(0, std::memory_order_acquire); bits != 0;
         bits &= bits - 1)
      lost(static_cast<std::int32_t>(__builtin_ctz(bits)));
  }

 private:
  struct Place {
    // head + 1 once the change written here may be read; place + kCapacity once it may be
    // written again.
    std::atomic<std::uint32_t> turn;
    std::int32_t index;
    float value;
  };
  static_assert((kCapacity & (kCapacity - 1)) == 0, "turns wrap with the places");

  Place places[kCapacity];
  // The counters share 16 aligned bytes, so one cache line holds them all.
  alignas(16) std::atomic<std::uint32_t> tail{0};  // the next turn to write
  std::uint32_t head = 0;                          // the next turn to read
  std::atomic<std::uint32_t> overflowed{0};        // one bit per parameter
};

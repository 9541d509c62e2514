// Parameter changes that arrived on a thread other than the editor's, kept as one bit per
// parameter until the editor's thread takes them. Lock-free and allocation-free, so the audio
// thread may mark a change.
#pragma once

#include <atomic>
#include <cstdint>

class PendingParameters {
 public:
  // index 0..31; others are ignored.
  void mark(int32_t index);
  // The marked indices as bits (bit i for index i), cleared in the same step.
  uint32_t take();

 private:
  std::atomic<uint32_t> bits{0};
  static_assert(std::atomic<uint32_t>::is_always_lock_free, "marking must not lock");
};

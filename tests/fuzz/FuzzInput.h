// Reads typed values from a fuzzer's input, front to back; past the end every value is zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

  template <typename T>
  T take() {
    T value{};
    const size_t n = sizeof value < size - at ? sizeof value : size - at;
    std::memcpy(&value, data + at, n);
    at += n;
    return value;
  }
  // A value from `low` to `high`.
  int takeInRange(int low, int high) {
    const auto span = static_cast<uint32_t>(high - low) + 1u;
    return low + static_cast<int>(take<uint32_t>() % span);
  }
  // Copies up to `count` bytes into `to`; returns how many there were.
  size_t takeBytes(void* to, size_t count) {
    const size_t n = count < size - at ? count : size - at;
    std::memcpy(to, data + at, n);
    at += n;
    return n;
  }
  bool empty() const { return at >= size; }

 private:
  const uint8_t* data;
  size_t size;
  size_t at = 0;
};

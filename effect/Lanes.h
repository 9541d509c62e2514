// The left and right channels side by side in one SSE register, lane 0 left and lane 1 right;
// lanes 2 and 3 repeat them, so that they never hold anything a division could turn into a
// NaN. Each operator is the one single-precision instruction of the float operation, so the
// modules' per-sample templates give every lane the bits of the float form.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "SampleOps.h"

namespace sample {

struct Lanes {
  __m128 v;

  Lanes() = default;
  Lanes(__m128 x) : v(x) {}  // NOLINT(google-explicit-constructor): a register is its lanes
  explicit Lanes(float x) : v(_mm_set1_ps(x)) {}
  operator __m128() const { return v; }  // NOLINT(google-explicit-constructor)
};

inline Lanes operator+(Lanes a, Lanes b) { return _mm_add_ps(a.v, b.v); }
inline Lanes operator-(Lanes a, Lanes b) { return _mm_sub_ps(a.v, b.v); }
inline Lanes operator*(Lanes a, Lanes b) { return _mm_mul_ps(a.v, b.v); }
inline Lanes operator/(Lanes a, Lanes b) { return _mm_div_ps(a.v, b.v); }

// maxps(a, b) gives a only where a > b and minps(a, b) only where a < b, so a NaN passes
// through both, as it does through the float form's comparisons.
inline Lanes clampUnit(Lanes x) {
  return _mm_min_ps(_mm_set1_ps(1.0f), _mm_max_ps(_mm_setzero_ps(), x.v));
}

// The sign flipped where x < 0: -0 and NaN keep theirs, as in the float form.
inline Lanes magnitude(Lanes x) {
  const __m128 negative = _mm_cmplt_ps(x.v, _mm_setzero_ps());
  return _mm_xor_ps(x.v, _mm_and_ps(negative, _mm_set1_ps(-0.0f)));
}

// x, or 1 where x is above 1 or NaN: minps(a, b) gives a only where a < b.
inline Lanes atMostOne(Lanes x) { return _mm_min_ps(x.v, _mm_set1_ps(1.0f)); }

// a > b ? whenGreater : otherwise, lane by lane; the exclusive or of the two choices is the
// same every frame where they are, and so leaves the loop.
inline Lanes ifGreater(Lanes a, Lanes b, Lanes whenGreater, Lanes otherwise) {
  const __m128 difference = _mm_xor_ps(whenGreater.v, otherwise.v);
  return _mm_xor_ps(otherwise.v, _mm_and_ps(_mm_cmpgt_ps(a.v, b.v), difference));
}

// x within low..high, lane by lane, with the NaN order of clampUnit.
inline Lanes clampTo(Lanes x, Lanes low, Lanes high) {
  return _mm_min_ps(high.v, _mm_max_ps(low.v, x.v));
}

// Every bit of a lane set where x is finite (x - x is 0 only for finite x); allFinite asks it of
// both channels, lanes 0 and 1.
inline __m128 finiteMask(Lanes x) { return _mm_cmpeq_ps(_mm_sub_ps(x.v, x.v), _mm_setzero_ps()); }
inline bool allFinite(Lanes x) { return (_mm_movemask_ps(finiteMask(x)) & 3) == 3; }
inline Lanes whereFinite(Lanes value, Lanes test) { return _mm_and_ps(value.v, finiteMask(test)); }
inline Lanes finiteOrZero(Lanes x) { return whereFinite(x, x); }

// The left and right value, each in the lanes of its channel.
inline Lanes pair(float left, float right) { return _mm_setr_ps(left, right, left, right); }

// Lanes a, b, c, d of x in lanes 0..3.
template <int a, int b, int c, int d>
inline Lanes shuffle(Lanes x) {
  return _mm_shuffle_ps(x.v, x.v, _MM_SHUFFLE(d, c, b, a));
}

// Lane k in every lane, and its value.
template <int k>
inline Lanes broadcast(Lanes x) {
  return shuffle<k, k, k, k>(x);
}
template <int k>
inline float lane(Lanes x) {
  return _mm_cvtss_f32(broadcast<k>(x).v);
}

// Four 32-bit words read as signed values: lanes 0 and 1 from low, 2 and 3 from high, two
// words to a 64-bit move.
inline Lanes signedLanes(const std::uint32_t (&low)[2], const std::uint32_t (&high)[2]) {
  const auto packed = [](const std::uint32_t(&word)[2]) {
    return static_cast<long long>(word[0] | static_cast<std::uint64_t>(word[1]) << 32);
  };
  return _mm_cvtepi32_ps(
      _mm_unpacklo_epi64(_mm_cvtsi64_si128(packed(low)), _mm_cvtsi64_si128(packed(high))));
}

// A module's state of the float form and of this type hold the same fields in the same order,
// each of the sample type. pack sets four states side by side, lane k from the k-th (or the left
// and right channel's, in the lanes of each); unpack gives lane k's back (or both channels').
// Each field is copied on its own, at its own width: a state copied whole would be read with
// wider loads than the stores that wrote it, which stalls store-to-load forwarding at the
// start of every block.
namespace fields {
template <typename Field, typename State>
__attribute__((always_inline)) inline Field read(const State& state, std::size_t i) {
  static_assert(std::is_trivially_copyable<State>::value, "a state is plain values");
  Field field;
  std::memcpy(&field, reinterpret_cast<const char*>(&state) + i * sizeof(Field), sizeof(Field));
  return field;
}
template <typename Field, typename State>
__attribute__((always_inline)) inline void write(State& state, std::size_t i, Field field) {
  static_assert(std::is_trivially_copyable<State>::value, "a state is plain values");
  std::memcpy(reinterpret_cast<char*>(&state) + i * sizeof(Field), &field, sizeof(Field));
}
template <typename Visit, std::size_t... i>
__attribute__((always_inline)) inline void eachOf(Visit& visit, std::index_sequence<i...>) {
  (visit(i), ...);
}
// visit(i) for every field i, spelled out at compile time so that each copy has a fixed offset.
template <template <typename> class State, typename Visit>
__attribute__((always_inline)) inline void each(Visit&& visit) {
  constexpr std::size_t kFields = sizeof(State<float>) / sizeof(float);
  static_assert(sizeof(State<Lanes>) == kFields * sizeof(Lanes), "fields of the sample type only");
  eachOf(visit, std::make_index_sequence<kFields>());
}
}  // namespace fields

template <template <typename> class State>
__attribute__((always_inline)) inline State<Lanes> pack(const State<float>& a,
                                                        const State<float>& b,
                                                        const State<float>& c,
                                                        const State<float>& d) {
  State<Lanes> lanes;
  fields::each<State>([&](std::size_t i) __attribute__((always_inline)) {
    fields::write(lanes, i,
                  Lanes(_mm_setr_ps(fields::read<float>(a, i), fields::read<float>(b, i),
                                    fields::read<float>(c, i), fields::read<float>(d, i))));
  });
  return lanes;
}

template <template <typename> class State>
__attribute__((always_inline)) inline State<Lanes> pack(const State<float>& left,
                                                        const State<float>& right) {
  return pack<State>(left, right, left, right);
}

template <template <typename> class State>
__attribute__((always_inline)) inline void unpack(const State<Lanes>& lanes, State<float>& left,
                                                  State<float>& right) {
  fields::each<State>([&](std::size_t i) __attribute__((always_inline)) {
    const __m128 x = fields::read<Lanes>(lanes, i).v;
    fields::write(left, i, _mm_cvtss_f32(x));
    fields::write(right, i, _mm_cvtss_f32(_mm_shuffle_ps(x, x, _MM_SHUFFLE(1, 1, 1, 1))));
  });
}

// to = from, one 32-bit field at a time, for a state whose fields were just stored one by one:
// a copy of the whole would read them with wider loads than the stores that wrote them.
template <typename State>
__attribute__((always_inline)) inline void copyByField(State& to, const State& from) {
  static_assert(sizeof(State) % sizeof(float) == 0, "32-bit fields only");
  const auto copy = [&](std::size_t i) __attribute__((always_inline)) {
    fields::write(to, i, fields::read<std::uint32_t>(from, i));
  };
  fields::eachOf(copy, std::make_index_sequence<sizeof(State) / sizeof(float)>());
}

}  // namespace sample

// Which rows of the editor's layout show each parameter: built once from the layout, so that
// a parameter change finds its controls without a switch.
#pragma once

#include <array>
#include <cstdint>

#include "EditorLayout.h"

class ParameterControls {
 public:
  // A parameter has at most three controls (the filter type's buttons).
  static constexpr int32_t kMaxPerParameter = 3;

  struct Rows {
    int32_t count = 0;
    std::array<uint8_t, kMaxPerParameter> row{};  // layout rows, in creation order
  };

  ParameterControls();

  // Rows of parameter index; none for an index outside 0..17.
  const Rows& of(int32_t index) const;

  // The one index, built on first use.
  static const ParameterControls& instance();

 private:
  std::array<Rows, kNumParameters> rows{};
  Rows none{};
};

// The filter type as three stacked buttons: the selected button holds 0, the others 1.
// Upper: low-pass (parameter below 1/3), middle: high-pass (1/3 to below 2/3), lower:
// band-pass (2/3 and above); a click sends 0.0, 0.5 or 1.0, which maps back onto its own
// button.
#pragma once

#include <cstdint>

class FilterTypeSelector {
 public:
  static constexpr int32_t kButtons = 3;
  static constexpr int32_t kNone = -1;

  // The button that a parameter value selects; kNone for a value below 0 or above 4/3 (no
  // button changes then).
  static int32_t buttonFor(float value);
  // The parameter value a click on button sends.
  static float valueOf(int32_t button);
};

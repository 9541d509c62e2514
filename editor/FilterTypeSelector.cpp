#include "FilterTypeSelector.h"

int32_t FilterTypeSelector::buttonFor(float value) {
  // Truncation toward zero, so -0.2 still counts as the first third; 1.0 gives 3, which
  // belongs to the lower button.
  const float scaled = value * 3.0f;
  if (!(scaled > -1.0f && scaled < 4.0f)) return kNone;  // also refuses NaN
  const auto n = static_cast<int32_t>(scaled);
  if (n == 3) return 2;
  return n;
}

float FilterTypeSelector::valueOf(int32_t button) {
  static constexpr float kValues[kButtons] = {0.0f, 0.5f, 1.0f};
  return button >= 0 && button < kButtons ? kValues[button] : -1.0f;
}

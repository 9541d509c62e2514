#include "ParameterControls.h"

ParameterControls::ParameterControls() {
  for (int32_t r = 0; r < EditorLayout::kControlCount; ++r) {
    Rows& entry = rows.at(static_cast<size_t>(EditorLayout::control(r).parameter));
    entry.row.at(static_cast<size_t>(entry.count++)) = static_cast<uint8_t>(r);
  }
}

const ParameterControls::Rows& ParameterControls::of(int32_t index) const {
  if (!isParameterIndex(index)) return none;
  return rows[static_cast<size_t>(index)];
}

const ParameterControls& ParameterControls::instance() {
  static const ParameterControls index;
  return index;
}

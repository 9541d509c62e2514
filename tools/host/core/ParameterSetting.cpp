#include "ParameterSetting.h"

#include <stdexcept>

#include "NumberText.h"

namespace {
// Parameter names can be longer than the interface's nominal 8 characters.
constexpr size_t kParameterNameRoom = 64;
}  // namespace

ParameterSetting ParameterSetting::parse(const std::string& text) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0)
    throw std::runtime_error("bad setting '" + text + "': expected NAME=VALUE, e.g. CutOff=0.3");
  ParameterSetting setting{text.substr(0, equals), 0.0f};
  const std::string valueText = text.substr(equals + 1);
  double value = 0.0;
  if (!parseDecimal(valueText, &value))
    throw std::runtime_error("bad setting '" + text + "': '" + valueText + "' is not a number");
  if (value < 0.0 || value > 1.0)
    throw std::runtime_error("bad setting '" + text + "': values are normalized, from 0 to 1");
  setting.value = static_cast<float>(value);
  return setting;
}

VstInt32 findParameter(PluginInstance& plugin, const std::string& name) {
  const VstInt32 count = plugin.record()->numParams;
  std::string known;
  for (VstInt32 i = 0; i < count; ++i) {
    const std::string candidate = plugin.text(effGetParamName, i, kParameterNameRoom);
    if (candidate == name) return i;
    if (candidate.empty()) continue;
    known += known.empty() ? "" : ", ";
    known += candidate;
  }
  if (known.empty())
    throw std::runtime_error("unknown parameter '" + name + "': the effect names none of its " +
                             std::to_string(count) + " parameters");
  throw std::runtime_error("unknown parameter '" + name + "'; valid names: " + known);
}

// A parameter value given on the command line as NAME=VALUE (VALUE normalized, 0..1) and
// found among the effect's parameters by the name the effect reports.
#pragma once

#include <string>

#include "PluginInstance.h"

struct ParameterSetting {
  std::string name;
  float value;  // normalized, 0..1

  // Throws std::runtime_error naming the fault.
  static ParameterSetting parse(const std::string& text);
};

// The index of the parameter the effect names `name` (exact match), or std::runtime_error
// listing the names it has.
VstInt32 findParameter(PluginInstance& plugin, const std::string& name);

#include "ValidationContext.h"

#include <algorithm>
#include <limits>

#include "StepWatchdog.h"

bool ValidationContext::load(std::string* error) {
  if (!loaded && !library.load(options.pluginPath)) {
    *error = library.error();
    return false;
  }
  loaded = true;
  return true;
}

std::unique_ptr<PluginInstance> ValidationContext::open(float rateHz, int blockFrames) {
  host.sampleRateHz = rateHz;
  host.blockSize = blockFrames;
  auto plugin = std::make_unique<PluginInstance>(library.entry(), HostCallback::dispatch);
  if (!plugin->valid()) return nullptr;
  plugin->dispatch(effOpen);
  StepWatchdog::noteProgress();
  setRate(*plugin, rateHz, blockFrames);
  return plugin;
}

void ValidationContext::setRate(PluginInstance& plugin, float rateHz, int blockFrames) {
  host.sampleRateHz = rateHz;
  host.blockSize = blockFrames;
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rateHz);
  plugin.dispatch(effSetBlockSize, 0, blockFrames);
}

std::unique_ptr<PluginInstance> ValidationContext::openChecked(CheckReport& report, float rateHz,
                                                               int blockFrames) {
  std::string error;
  if (!load(&error)) {
    report.check(false, kLibraryLoadsCheck, error);
    return nullptr;
  }
  std::unique_ptr<PluginInstance> plugin = open(rateHz, blockFrames);
  if (!plugin) report.check(false, "entry point gives an effect record", "null, or no magic");
  return plugin;
}

void ValidationContext::changeParameters(PluginInstance& plugin, int count, bool toEnds) {
  const int parameters = plugin.record()->numParams;
  if (parameters <= 0) return;
  for (int i = 0; i < count; ++i) {
    // The value drawn before the index, as this host always has, so that a seed keeps meaning
    // the same values.
    float value = uniform(0.0f, 1.0f);
    const int index = uniformInt(0, parameters - 1);
    if (toEnds) {
      const int end = uniformInt(0, 3);
      if (end < 2) value = static_cast<float>(end);
    }
    set(plugin, index, value);
  }
}

void ValidationContext::setCorner(PluginInstance& plugin, int corner) {
  const int parameters = std::min(plugin.record()->numParams, kMaxTrailParameters);
  for (int i = 0; i < parameters; ++i) {
    const bool high = corner == 1 || (corner == 2 && i % 2 == 1) || (corner == 3 && i % 2 == 0);
    set(plugin, i, high ? 1.0f : 0.0f);
  }
}

void ValidationContext::set(PluginInstance& plugin, int index, float value) {
  if (trail != nullptr) trail->parameterValue(index, value);
  if (index < static_cast<int>(lastValues.size())) lastValues[static_cast<size_t>(index)] = value;
  plugin.setParameter(index, value);
}

void ValidationContext::keepTrail(PluginInstance& plugin, CheckReport* report) {
  trail = report;
  const int parameters = std::clamp(plugin.record()->numParams, 0, kMaxTrailParameters);
  lastValues.assign(static_cast<size_t>(parameters), std::numeric_limits<float>::quiet_NaN());
  if (report == nullptr) return;
  for (VstInt32 i = 0; i < parameters; ++i)
    report->parameterName(i, plugin.text(effGetParamName, i, 64));
}

void setProcessing(PluginInstance& plugin, bool on) { plugin.dispatch(effMainsChanged, 0, on); }

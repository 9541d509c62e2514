#include "ValidationContext.h"

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

void ValidationContext::changeParameters(PluginInstance& plugin, int count) {
  const int parameters = plugin.record()->numParams;
  if (parameters <= 0) return;
  for (int i = 0; i < count; ++i) {
    // The value drawn before the index, as this host always has, so that a seed keeps meaning
    // the same values.
    const float value = uniform(0.0f, 1.0f);
    const int index = uniformInt(0, parameters - 1);
    if (trail != nullptr) trail->parameterValue(index, value);
    plugin.setParameter(index, value);
  }
}

void ValidationContext::keepTrail(PluginInstance& plugin, CheckReport* report) {
  trail = report;
  if (report == nullptr) return;
  for (VstInt32 i = 0; i < plugin.record()->numParams; ++i)
    report->parameterName(i, plugin.text(effGetParamName, i, 64));
}

void setProcessing(PluginInstance& plugin, bool on) { plugin.dispatch(effMainsChanged, 0, on); }

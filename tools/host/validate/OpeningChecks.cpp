// Opening: how long a host waits from loading the library to effOpen answered, first in a new
// process (cold) and again after unloading (warm), and that a scan (open, identity questions,
// close) leaves no file, window or other handle open. The first instance may open what all its
// instances share (a worker pool, a font cache), so handles are counted after each effClose and
// only growth from one instance to the next fails. Console output during the scan is checked by
// the parent, which captures the group's output.
#include <algorithm>
#include <chrono>

#include "InfoReport.h"
#include "ProcessResources.h"
#include "StepWatchdog.h"
#include "ValidationGroups.h"

namespace {

constexpr double kTargetMs = 50.0;
// Warm loads stop repeating after this long, but not before the second: a plug-in that takes
// half a second to open has shown its best by then, and each repeat costs another half second.
constexpr double kWarmBudgetMs = 2000.0;
constexpr int kLeastWarmRepeats = 2;
// Instances scanned after the first, to tell a leak per instance from shared resources.
constexpr int kMoreInstances = 2;

// What a host asks while it scans a library for effects.
void scan(PluginInstance& plugin) {
  probeText(plugin, effGetEffectName, 0, kVstMaxEffectNameLen);
  probeText(plugin, effGetVendorString, 0, kVstMaxVendorStrLen);
  probeText(plugin, effGetProductString, 0, kVstMaxProductStrLen);
  plugin.dispatch(effGetVendorVersion);
  plugin.dispatch(effGetPlugCategory);
  plugin.dispatch(effGetVstVersion);
  for (int i = 0; i < kCommonCapabilityCount; ++i) plugin.canDo(kCommonCapabilities[i]);
  for (VstInt32 i = 0; i < plugin.record()->numParams; ++i)
    probeText(plugin, effGetParamName, i, 64);
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

void checkOpening(ValidationContext& context, CheckReport& report) {
  const std::string& path = context.options.pluginPath;
  loadHostLibraries();
  auto start = std::chrono::steady_clock::now();
  auto library = std::make_unique<PluginLibrary>();
  if (!library->load(path)) {
    report.check(false, kLibraryLoadsCheck, library->error());
    return;
  }
  const long handlesBefore = openHandles();
  const long windowsBefore = ownWindows();
  auto plugin = std::make_unique<PluginInstance>(library->entry(), HostCallback::dispatch);
  if (!plugin->valid()) {
    report.check(false, "entry point gives an effect record", "null, or not the record's magic");
    return;
  }
  plugin->dispatch(effOpen);
  const double coldMs = millisecondsSince(start);
  // A slow start delays a host's scan but breaks nothing.
  report.doubt(coldMs < kTargetMs, "cold: load to effOpen answered",
               fixed(coldMs, 1) + " ms (target < 50 ms)");
  scan(*plugin);
  plugin.reset();
  const long handlesFirst = openHandles();
  const long windowsFirst = ownWindows();
  for (int i = 0; i < kMoreInstances; ++i) {
    PluginInstance another(library->entry(), HostCallback::dispatch);
    if (!another.valid()) continue;
    another.dispatch(effOpen);
    scan(another);
    StepWatchdog::noteProgress();
  }
  const long handlesLast = openHandles();
  const long windowsLast = ownWindows();
  library.reset();
  const std::string handles = "no file or other handle left open per instance";
  if (handlesBefore < 0 || handlesLast < 0)
    report.skip(handles, "this system does not count a process's handles");
  else
    report.check(handlesLast <= handlesFirst, handles,
                 std::to_string(handlesBefore) + " handles before, " +
                     std::to_string(handlesFirst) + " after the first effClose, " +
                     std::to_string(handlesLast) + " after " + std::to_string(kMoreInstances) +
                     " more");
  if (windowsBefore >= 0)
    report.check(windowsLast == windowsBefore && windowsFirst == windowsBefore,
                 "no window left open by the scan",
                 std::to_string(windowsLast - windowsBefore) + " new windows");

  double warmMs = 1e9;
  double slowestMs = 0.0;
  const int maxRepeats = 2 + context.options.level;
  int repeats = 0;
  const auto warmStart = std::chrono::steady_clock::now();
  while (repeats < maxRepeats &&
         (repeats < kLeastWarmRepeats || millisecondsSince(warmStart) < kWarmBudgetMs)) {
    ++repeats;
    start = std::chrono::steady_clock::now();
    PluginLibrary again;
    if (!again.load(path)) {
      report.check(false, "warm: library loads again", again.error());
      return;
    }
    PluginInstance warm(again.entry(), HostCallback::dispatch);
    if (warm.valid()) warm.dispatch(effOpen);
    const double ms = millisecondsSince(start);
    // A slow opener answers each time; no report line is written between the repeats.
    StepWatchdog::noteProgress();
    warmMs = std::min(warmMs, ms);
    slowestMs = std::max(slowestMs, ms);
  }
  report.doubt(warmMs < kTargetMs, "warm: load to effOpen answered",
               fixed(warmMs, 1) + " ms best, " + fixed(slowestMs, 1) + " ms slowest of " +
                   std::to_string(repeats) + " (target < 50 ms)");
}

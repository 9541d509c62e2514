#include "StepWatchdog.h"

#include <atomic>
#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<Clock::rep> lastProgress{Clock::now().time_since_epoch().count()};

// How often the watcher looks: a small part of any limit, and cheap.
constexpr std::chrono::milliseconds kLookEvery{100};
// The exit code of a child that ended itself for a hang; the report says why.
constexpr int kHungExitCode = 3;

double secondsSinceProgress() {
  const Clock::duration since =
      Clock::now().time_since_epoch() - Clock::duration(lastProgress.load());
  return std::chrono::duration<double>(since).count();
}

}  // namespace

void StepWatchdog::noteProgress() { lastProgress = Clock::now().time_since_epoch().count(); }

StepWatchdog::StepWatchdog(CheckReport& report, double limitSeconds) {
  noteProgress();
  watcher = std::thread([this, &report, limitSeconds] { watch(report, limitSeconds); });
}

StepWatchdog::~StepWatchdog() {
  {
    const std::lock_guard<std::mutex> lock(stopping);
    stop = true;
  }
  stopped.notify_one();
  watcher.join();
}

void StepWatchdog::watch(CheckReport& report, double limitSeconds) {
  std::unique_lock<std::mutex> lock(stopping);
  while (!stopped.wait_for(lock, kLookEvery, [this] { return stop; })) {
    if (secondsSinceProgress() < limitSeconds) continue;
    report.hung(limitSeconds);
    // The plug-in's thread is stuck inside it: nothing can be unwound or destroyed safely.
    std::_Exit(kHungExitCode);
  }
}

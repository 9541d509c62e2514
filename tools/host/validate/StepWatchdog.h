// Inside a group's child: ends the child when the plug-in has given no answer for a while, after
// writing so to the report, so that the validator can blame the step and carry on with the steps
// after it instead of waiting out the whole group's time limit.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "CheckReport.h"

class StepWatchdog {
 public:
  // Marks that the plug-in answered (a call returned, a check was written); any thread.
  static void noteProgress();

  // Watches from now on; after `limitSeconds` without progress it writes the hang to `report`
  // and ends the process.
  StepWatchdog(CheckReport& report, double limitSeconds);
  ~StepWatchdog();
  StepWatchdog(const StepWatchdog&) = delete;
  StepWatchdog& operator=(const StepWatchdog&) = delete;

 private:
  void watch(CheckReport& report, double limitSeconds);

  std::mutex stopping;
  std::condition_variable stopped;
  bool stop = false;
  std::thread watcher;
};

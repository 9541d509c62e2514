#include "EditAutomation.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "ProcessClock.h"

namespace {

constexpr double kTrianglePeriodSeconds = 2.0;

}  // namespace

std::vector<int32_t> parseParameterList(const std::string& text) {
  std::vector<int32_t> indices;
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    size_t used = 0;
    int index = -1;
    try {
      index = std::stoi(item, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used == 0 || used != item.size() || index < 0)
      throw std::invalid_argument("not a parameter index: \"" + item + "\"");
    indices.push_back(index);
  }
  if (indices.empty()) throw std::invalid_argument("no parameter index given");
  return indices;
}

EditAutomation::EditAutomation(const AutomationOptions& options) : options(options) {}

void EditAutomation::checkIndices(const AEffect* effect) const {
  for (int32_t index : options.indices)
    if (index >= effect->numParams)
      throw std::runtime_error("there is no parameter " + std::to_string(index) +
                               ": the effect has " + std::to_string(effect->numParams));
}

uint32_t EditAutomation::periodMs() const {
  return automates() ? static_cast<uint32_t>(std::lround(1000.0 / options.rateHz)) : 0;
}

void EditAutomation::step(AEffect* effect) {
  if (!effect || !automates()) return;
  std::vector<int32_t> all;
  const std::vector<int32_t>* indices = &options.indices;
  if (indices->empty()) {
    for (int32_t i = 0; i < effect->numParams; ++i) all.push_back(i);
    indices = &all;
  }
  const double seconds = static_cast<double>(steps++) / options.rateHz;
  for (size_t n = 0; n < indices->size(); ++n) {
    const int32_t index = (*indices)[n];
    if (index >= effect->numParams) continue;
    double phase = seconds / kTrianglePeriodSeconds + static_cast<double>(n) / 32.0;
    phase -= static_cast<double>(static_cast<int64_t>(phase));
    const double value = phase < 0.5 ? 2.0 * phase : 2.0 - 2.0 * phase;
    effect->setParameter(effect, index, static_cast<float>(value));
  }
}

void EditAutomation::beginPhase() {
  phaseStartCpu100ns = processCpu100ns();
  phaseStartWallMs = wallMs();
}

void EditAutomation::endPhase(const char* name, std::ostream& out) {
  // The phase's length is kept either way: the closed phase lasts as long whether or not its
  // cost is printed.
  lastPhaseMs = wallMs() - phaseStartWallMs;
  if (!options.measureCpu) return;
  const double cpuMs = static_cast<double>(processCpu100ns() - phaseStartCpu100ns) / 10000.0;
  const double seconds = static_cast<double>(lastPhaseMs) / 1000.0;
  std::ostringstream line;
  line.setf(std::ios::fixed);
  line.precision(1);
  line << "cpu: " << name << ": " << (seconds > 0.0 ? cpuMs / seconds : 0.0) << " ms/s over "
       << seconds << " s\n";
  out << line.str() << std::flush;
}

void EditAutomation::runWithoutEditor(AEffect* effect, std::ostream& out,
                                      const std::function<void(uint32_t)>& wait) {
  if (!automates()) return;
  const uint64_t endMs = wallMs() + lastPhaseMs;
  beginPhase();
  while (wallMs() < endMs) {
    step(effect);
    wait(periodMs());
  }
  endPhase("editor closed", out);
  // Without the cost, the line still shows that the phase ran and how long.
  if (!options.measureCpu) {
    std::ostringstream line;
    line.setf(std::ios::fixed);
    line.precision(1);
    line << "automated without the editor for " << static_cast<double>(lastPhaseMs) / 1000.0
         << " s\n";
    out << line.str() << std::flush;
  }
}

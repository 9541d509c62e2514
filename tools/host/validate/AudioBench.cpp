#include "AudioBench.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "AllocationHook.h"
#include "CheckReport.h"
#include "StepWatchdog.h"

namespace {

// A NaN whose bits a plug-in is most unlikely to write by chance.
constexpr uint32_t kGuardBits = 0x7fa5c3e1u;

float guardValue() {
  float value;
  std::memcpy(&value, &kGuardBits, sizeof value);
  return value;
}

bool isGuard(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits == kGuardBits;
}

// Refills the zones just before and just after the block's frames with the guard pattern
// (`offset` frames each): only they, so that a block of one frame in a buffer of thousands costs
// no more than its zones.
void guard(std::vector<float>& buffer, int offset, int frames) {
  std::fill(buffer.begin(), buffer.begin() + offset, guardValue());
  std::fill(buffer.begin() + offset + frames, buffer.begin() + 2 * offset + frames, guardValue());
}

long guardWrites(const std::vector<float>& buffer, int offset, int frames) {
  long written = 0;
  for (int i = 0; i < offset; ++i) written += isGuard(buffer[i]) ? 0 : 1;
  for (int i = offset + frames; i < 2 * offset + frames; ++i) written += isGuard(buffer[i]) ? 0 : 1;
  return written;
}

}  // namespace

void BlockScan::add(const BlockScan& other) {
  frames += other.frames;
  nans += other.nans;
  infinities += other.infinities;
  subnormals += other.subnormals;
  guardWrites += other.guardWrites;
  allocations += other.allocations;
  peak = std::max(peak, other.peak);
}

std::string BlockScan::figure() const {
  std::string text = std::to_string(frames) + " frames";
  if (nans) text += ", " + std::to_string(nans) + " NaN";
  if (infinities) text += ", " + std::to_string(infinities) + " infinite";
  if (subnormals) text += ", " + std::to_string(subnormals) + " subnormal";
  if (guardWrites)
    text += ", " + std::to_string(guardWrites) + " samples written outside the block";
  char peakText[32];
  std::snprintf(peakText, sizeof peakText, ", peak %.3g", static_cast<double>(peak));
  return text + peakText;
}

AudioBench::AudioBench(const AEffect& record, int maxFrames)
    : inputBuffers(std::max(record.numInputs, 0), std::vector<float>(maxFrames + 2 * kGuardFrames)),
      outputBuffers(std::max(record.numOutputs, 0),
                    std::vector<float>(maxFrames + 2 * kGuardFrames)),
      inputPointers(inputBuffers.size()),
      outputPointers(outputBuffers.size()),
      maxFrames(maxFrames) {}

void AudioBench::run(PluginInstance& plugin, int frames, bool inPlace, std::mt19937& random,
                     BlockScan* scan) {
  frames = std::min(frames, maxFrames);
  std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
  for (size_t c = 0; c < inputBuffers.size(); ++c) {
    const bool shared = inPlace && c < outputBuffers.size();
    std::vector<float>& buffer = shared ? outputBuffers[c] : inputBuffers[c];
    guard(buffer, kGuardFrames, frames);
    for (int i = 0; i < frames; ++i) buffer[kGuardFrames + i] = silentInput ? 0.0f : noise(random);
    inputPointers[c] = buffer.data() + kGuardFrames;
  }
  for (size_t c = 0; c < outputBuffers.size(); ++c) {
    if (!(inPlace && c < inputBuffers.size())) guard(outputBuffers[c], kGuardFrames, frames);
    outputPointers[c] = outputBuffers[c].data() + kGuardFrames;
  }
  BlockScan block;
  block.frames = frames;
  if (countAllocations) beginCountingAllocations();
  plugin.record()->processReplacing(plugin.record(), inputPointers.data(), outputPointers.data(),
                                    frames);
  if (countAllocations) block.allocations = endCountingAllocations();
  StepWatchdog::noteProgress();
  for (size_t c = 0; c < outputBuffers.size(); ++c) {
    const std::vector<float>& buffer = outputBuffers[c];
    block.guardWrites += guardWrites(buffer, kGuardFrames, frames);
    for (int i = 0; c < scannedOutputs && i < frames; ++i) {
      const float value = buffer[kGuardFrames + i];
      if (std::isnan(value)) {
        ++block.nans;
      } else if (std::isinf(value)) {
        ++block.infinities;
      } else {
        if (value != 0.0f && std::fabs(value) < FLT_MIN) ++block.subnormals;
        block.peak = std::max(block.peak, std::fabs(value));
      }
    }
  }
  if (!inPlace)
    for (const std::vector<float>& buffer : inputBuffers)
      block.guardWrites += guardWrites(buffer, kGuardFrames, frames);
  scan->add(block);
}

void AudioBench::appendOutput(int frames, std::vector<float>* samples) const {
  frames = std::min(frames, maxFrames);
  for (const std::vector<float>& buffer : outputBuffers)
    samples->insert(samples->end(), buffer.begin() + kGuardFrames,
                    buffer.begin() + kGuardFrames + frames);
}

#include "Renderer.h"

#include <algorithm>
#include <utility>

Renderer::Renderer(PluginInstance& effect, int sampleRateHz, int frames)
    : plugin(effect),
      rateHz(sampleRateHz),
      blockFrames(frames),
      fileBlock(2 * static_cast<size_t>(frames)),
      inputs(static_cast<size_t>(std::max(effect.record()->numInputs, 0))),
      outputs(static_cast<size_t>(std::max(effect.record()->numOutputs, 0))),
      stereoBlock(2 * static_cast<size_t>(frames)) {
  channelData.assign((inputs.size() + outputs.size()) * static_cast<size_t>(frames), 0.0f);
  float* channel = channelData.data();
  for (float*& input : inputs) input = std::exchange(channel, channel + frames);
  for (float*& output : outputs) output = std::exchange(channel, channel + frames);
}

void Renderer::open() {
  plugin.dispatch(effOpen);
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rateHz));
  plugin.dispatch(effSetBlockSize, 0, blockFrames);
}

OutputMeter Renderer::run(AudioSource& source, AudioSink& sink, MidiSchedule& schedule,
                          ProgressDisplay& progress) {
  OutputMeter meter;
  const int64_t total = source.frames();
  plugin.dispatch(effMainsChanged, 0, 1);
  try {
    for (int64_t start = 0; start < total; start += blockFrames) {
      const int frames = static_cast<int>(std::min<int64_t>(blockFrames, total - start));
      processBlock(source, sink, schedule, start, frames, meter);
      progress.update(start + frames);
    }
  } catch (...) {
    progress.finish();
    plugin.dispatch(effMainsChanged, 0, 0);
    throw;
  }
  progress.finish();
  plugin.dispatch(effMainsChanged, 0, 0);
  return meter;
}

void Renderer::processBlock(AudioSource& source, AudioSink& sink, MidiSchedule& schedule,
                            int64_t start, int frames, OutputMeter& meter) {
  source.read(fileBlock.data(), frames);
  const auto stride = static_cast<size_t>(source.channels());
  const size_t fed = std::min<size_t>(inputs.size(), 2);
  for (size_t c = 0; c < fed; ++c)
    for (size_t i = 0; i < static_cast<size_t>(frames); ++i)
      inputs[c][i] = fileBlock[i * stride + std::min(c, stride - 1)];
  // The other inputs stay silent; a plug-in that writes into its inputs is silenced again.
  for (size_t c = fed; c < inputs.size(); ++c) std::fill(inputs[c], inputs[c] + frames, 0.0f);
  // Silence in the outputs, so that a plug-in that leaves them alone shows as silence.
  for (float* output : outputs) std::fill(output, output + frames, 0.0f);

  if (VstEvents* events = schedule.eventsForBlock(start, frames))
    plugin.dispatch(effProcessEvents, 0, 0, events);
  plugin.record()->processReplacing(plugin.record(), inputs.data(), outputs.data(), frames);
  if (transport != nullptr) transport->advance(frames);

  const float* left = outputs[0];
  const float* right = outputs[std::min<size_t>(outputs.size(), 2) - 1];
  for (size_t i = 0; i < static_cast<size_t>(frames); ++i) {
    stereoBlock[2 * i] = left[i];
    stereoBlock[2 * i + 1] = right[i];
  }
  sink.write(stereoBlock.data(), frames);
  meter.add(stereoBlock.data(), frames);
}

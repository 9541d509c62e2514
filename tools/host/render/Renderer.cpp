#include "Renderer.h"

#include <algorithm>

Renderer::Renderer(PluginInstance& effect, int sampleRateHz, int frames)
    : plugin(effect),
      rateHz(sampleRateHz),
      blockFrames(frames),
      fileBlock(2 * static_cast<size_t>(frames)),
      channelData(4 * static_cast<size_t>(frames)),
      stereoBlock(2 * static_cast<size_t>(frames)) {}

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
  float* in[2] = {channelData.data(), channelData.data() + blockFrames};
  float* out[2] = {channelData.data() + 2 * blockFrames, channelData.data() + 3 * blockFrames};
  const auto stride = static_cast<size_t>(source.channels());
  for (size_t i = 0; i < static_cast<size_t>(frames); ++i) {
    in[0][i] = fileBlock[i * stride];
    in[1][i] = fileBlock[i * stride + stride - 1];
  }
  // Silence in the outputs, so that a plug-in that leaves them alone shows as silence.
  std::fill(out[0], out[0] + frames, 0.0f);
  std::fill(out[1], out[1] + frames, 0.0f);

  if (VstEvents* events = schedule.eventsForBlock(start, frames))
    plugin.dispatch(effProcessEvents, 0, 0, events);
  plugin.record()->processReplacing(plugin.record(), in, out, frames);

  for (size_t i = 0; i < static_cast<size_t>(frames); ++i) {
    stereoBlock[2 * i] = out[0][i];
    stereoBlock[2 * i + 1] = out[1][i];
  }
  sink.write(stereoBlock.data(), frames);
  meter.add(stereoBlock.data(), frames);
}

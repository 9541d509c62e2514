#include "RenderCommand.h"

#include <cmath>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <utility>

#include "Console.h"
#include "FileIdentity.h"
#include "HostCallback.h"
#include "MidiSchedule.h"
#include "ParameterSetting.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"
#include "ProgressDisplay.h"
#include "RawSink.h"
#include "RawSource.h"
#include "Renderer.h"
#include "SilenceSource.h"
#include "SystemWav.h"

namespace {

std::unique_ptr<AudioSource> openSource(const RenderOptions& options) {
  if (options.seconds > 0.0) {
    const int rateHz = options.rawRateHz > 0 ? options.rawRateHz : kSilenceRateHz;
    return std::make_unique<SilenceSource>(
        rateHz, static_cast<int64_t>(std::llround(options.seconds * rateHz)));
  }
  if (options.raw) return std::make_unique<RawSource>(options.inputPath, options.rawRateHz);
  return std::make_unique<WavSource>(options.inputPath);
}

std::unique_ptr<AudioSink> createSink(const RenderOptions& options, int sampleRateHz) {
  if (!options.raw) return std::make_unique<WavSink>(options.outputPath, sampleRateHz);
  return std::make_unique<RawSink>(options.outputPath);
}

}  // namespace

// Says which channels carry the file when the plug-in does not have two inputs and two outputs.
void describeChannels(const std::string& pluginPath, const AEffect& record) {
  if (record.numInputs == 2 && record.numOutputs == 2) return;
  std::cerr << "note: " << pluginPath << " has " << record.numInputs << " inputs and "
            << record.numOutputs << " outputs: ";
  if (record.numInputs > 2) std::cerr << "inputs 3 to " << record.numInputs << " get silence, ";
  if (record.numInputs == 1) std::cerr << "its input gets the file's first channel, ";
  std::cerr << (record.numOutputs == 1 ? "its output goes to both channels of the file\n"
                                       : "outputs 1 and 2 are written\n");
}

void runRender(const RenderOptions& options, std::ostream& out) {
  const bool silence = options.seconds > 0.0;
  if (options.raw && !silence && options.rawRateHz <= 0)
    throw std::runtime_error("raw input needs its sample rate: --rate HZ");
  if (!options.raw && !silence && options.rawRateHz != 0)
    throw std::runtime_error("--rate is for raw input only; a WAV file carries its rate");
  std::vector<ParameterSetting> settings;
  for (const std::string& text : options.settings)
    settings.push_back(ParameterSetting::parse(text));
  std::vector<NoteSpec> notes;
  for (const std::string& text : options.notes) notes.push_back(MidiSchedule::parseNote(text));

  // The output is replaced only at the end, but a file the user still needs must not be it.
  for (const std::string* precious : {&options.inputPath, &options.pluginPath})
    if (sameFile(options.outputPath, *precious))
      throw std::runtime_error("the output " + options.outputPath + " is the " +
                               (precious == &options.inputPath ? "input " : "plug-in ") +
                               *precious + "; choose another output file");

  std::unique_ptr<AudioSource> source = openSource(options);
  const int rateHz = source->sampleRateHz();
  if (rateHz < kMinSampleRateHz || rateHz > kMaxSampleRateHz)
    throw std::runtime_error("the sample rate of " + options.inputPath + ", " +
                             std::to_string(rateHz) + " Hz, is outside " +
                             std::to_string(kMinSampleRateHz) + " to " +
                             std::to_string(kMaxSampleRateHz) + " Hz");
  // Asked now rather than hours into the render, where the writer would stop.
  if (!options.raw && source->frames() > WavSink::kMaxFrames)
    throw std::runtime_error("the output, " + std::to_string(source->frames()) +
                             " frames, is more than a WAV file written here can hold (" +
                             std::to_string(WavSink::kMaxFrames) +
                             " frames); render less, or write raw data with --raw");
  if (source->statedFrames() > source->frames())
    std::cerr << "warning: " << options.inputPath << " is cut short: its header promises "
              << source->statedFrames() << " frames, it holds " << source->frames()
              << "; rendering those\n";
  MidiSchedule schedule(notes, rateHz, source->frames());

  PluginLibrary library;
  if (!library.load(options.pluginPath)) throw std::runtime_error(library.error());
  HostCallback host;
  host.sampleRateHz = static_cast<float>(rateHz);
  host.blockSize = options.blockFrames;
  PluginInstance plugin(library.entry(), HostCallback::dispatch);
  if (!plugin.valid()) throw std::runtime_error(options.pluginPath + " created no effect");
  const AEffect& record = *plugin.record();
  if (record.processReplacing == nullptr || (record.flags & effFlagsCanReplacing) == 0)
    throw std::runtime_error(options.pluginPath + " cannot process audio in replacing mode");
  if (record.numOutputs < 1 || record.numInputs < 0)
    throw std::runtime_error(options.pluginPath + " declares " + std::to_string(record.numInputs) +
                             " inputs and " + std::to_string(record.numOutputs) +
                             " outputs; it needs an output to render");
  describeChannels(options.pluginPath, record);

  Renderer renderer(plugin, rateHz, options.blockFrames);
  renderer.transport = &host;
  renderer.open();
  std::vector<std::pair<VstInt32, float>> resolved;
  resolved.reserve(settings.size());
  for (const ParameterSetting& setting : settings)
    resolved.emplace_back(findParameter(plugin, setting.name), setting.value);
  // Set once the effect knows its sample rate, as rate-dependent values derive from both.
  for (const auto& [index, value] : resolved) plugin.setParameter(index, value);

  std::unique_ptr<AudioSink> sink = createSink(options, rateHz);
  ProgressDisplay progress(std::cerr, stderrIsTerminal(), source->frames(), rateHz);
  const OutputMeter meter = renderer.run(*source, *sink, schedule, progress);
  plugin.close();
  sink->commit();
  if (options.printPeak) out << meter.summary() << "\n";
}

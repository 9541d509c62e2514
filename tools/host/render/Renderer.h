// Drives an effect through a render as a real host does: effOpen, effSetSampleRate,
// effSetBlockSize, effMainsChanged 1, then per block effProcessEvents (when the block has
// events) and processReplacing with as many input and output channels as the effect declares,
// then effMainsChanged 0. The file feeds the first two inputs (others get silence) and the first
// two outputs are written (a single output to both channels of the file).
#pragma once

#include <vector>

#include "AudioSink.h"
#include "AudioSource.h"
#include "HostCallback.h"
#include "MidiSchedule.h"
#include "OutputMeter.h"
#include "PluginInstance.h"
#include "ProgressDisplay.h"

class Renderer {
 public:
  Renderer(PluginInstance& plugin, int sampleRateHz, int blockFrames);

  // effOpen, effSetSampleRate and effSetBlockSize.
  void open();
  // Runs the whole source through the effect into the sink (not committed). Mono input goes
  // to both inputs. The output buffers start silent, so a channel the effect leaves untouched
  // comes out silent. Throws std::runtime_error from the source or sink, after
  // switching the effect off.
  OutputMeter run(AudioSource& source, AudioSink& sink, MidiSchedule& schedule,
                  ProgressDisplay& progress);

  // The host whose transport moves on with every block, or null.
  HostCallback* transport = nullptr;

 private:
  void processBlock(AudioSource& source, AudioSink& sink, MidiSchedule& schedule, int64_t start,
                    int frames, OutputMeter& meter);

  PluginInstance& plugin;
  int rateHz;
  int blockFrames;
  std::vector<float> fileBlock;    // interleaved, as read
  std::vector<float> channelData;  // every input, then every output, blockFrames each
  std::vector<float*> inputs;
  std::vector<float*> outputs;
  std::vector<float> stereoBlock;  // interleaved, as written
};

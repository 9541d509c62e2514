// Drives an effect through a render as a real host does: effOpen, effSetSampleRate,
// effSetBlockSize, effMainsChanged 1, then per block effProcessEvents (when the block has
// events) and processReplacing with two input and two output channels, then effMainsChanged 0.
#pragma once

#include <vector>

#include "AudioSink.h"
#include "AudioSource.h"
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

 private:
  void processBlock(AudioSource& source, AudioSink& sink, MidiSchedule& schedule, int64_t start,
                    int frames, OutputMeter& meter);

  PluginInstance& plugin;
  int rateHz;
  int blockFrames;
  std::vector<float> fileBlock;    // interleaved, as read
  std::vector<float> channelData;  // inputs 0 and 1, then outputs 0 and 1
  std::vector<float> stereoBlock;  // interleaved, as written
};

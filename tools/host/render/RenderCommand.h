// The `render` command: runs an audio file through a plug-in and writes the result.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The sample rates a render accepts, from a WAV header or from --rate.
constexpr int kMinSampleRateHz = 1;
constexpr int kMaxSampleRateHz = 1000000;

struct RenderOptions {
  std::string pluginPath;
  std::string inputPath;
  std::string outputPath;
  int blockFrames = 512;
  std::vector<std::string> settings;  // NAME=VALUE
  std::vector<std::string> notes;     // START:END:KEY:VELOCITY
  bool raw = false;                   // raw 32-bit float stereo instead of WAV
  int rawRateHz = 0;                  // sample rate of raw input (or of --seconds), Hz
  double seconds = 0.0;               // > 0: no input file, this much silence (instruments)
  bool printPeak = false;
};

// The default rate of a render from silence, Hz.
constexpr int kSilenceRateHz = 44100;

// Checks everything (texts, input, plug-in, parameter names, note times) before the output is
// created, renders, and prints the summary line to `out` when asked; warns on standard error of
// a file shorter than its header says, and of a plug-in whose channels are not two in and two
// out. Refuses an output that is the input or the plug-in.
// Throws std::runtime_error with a one-line message; the output file then does not exist.
void runRender(const RenderOptions& options, std::ostream& out);

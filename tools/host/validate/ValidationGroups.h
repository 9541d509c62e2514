// The groups of validation checks. Each runs in a child process of its own (see
// GroupProcess.h), loads the plug-in itself and writes one report line per check.
#pragma once

#include <string>

#include "CheckReport.h"
#include "ValidationContext.h"

using GroupChecks = void (*)(ValidationContext& context, CheckReport& report);

struct ValidationGroup {
  const char* name;
  GroupChecks run;
};

extern const ValidationGroup kValidationGroups[];
extern const int kValidationGroupCount;

void checkOpening(ValidationContext& context, CheckReport& report);
void checkIdentity(ValidationContext& context, CheckReport& report);
void checkParameters(ValidationContext& context, CheckReport& report);
void checkProcessing(ValidationContext& context, CheckReport& report);
void checkSequences(ValidationContext& context, CheckReport& report);
void checkMidi(ValidationContext& context, CheckReport& report);
void checkState(ValidationContext& context, CheckReport& report);
void checkEditor(ValidationContext& context, CheckReport& report);
void checkRealTime(ValidationContext& context, CheckReport& report);

// A text answer written into a buffer far larger than its limit, whose bytes behind the first
// are a guard pattern.
struct TextAnswer {
  std::string text;
  VstIntPtr result = 0;
  size_t written = 0;        // bytes from the start up to the last one the plug-in changed
  bool terminated = false;   // a terminator within the limit
  bool withinLimit = false;  // nothing written at or behind the limit

  bool fits() const { return terminated && withinLimit; }
  // "\"Ferrowin\" (8 characters)" or what went wrong.
  std::string figure(size_t limitBytes) const;
};

TextAnswer probeText(PluginInstance& plugin, VstInt32 opcode, VstInt32 index, size_t limitBytes);

// For an instrument (effFlagsIsSynth), notes on that are held from the next block on, so that it
// is heard, not only its silence, or (`held` false) their notes off; nothing for an effect.
void holdChord(PluginInstance& plugin, bool held = true);

class AudioBench;
struct BlockScan;
// How a stretch of processing changes the parameters: two at random every 32 frames (between
// blocks), the same with half the values at an end of the range, or not at all.
enum class ParameterChanges { Random, OftenAtEnds, None };
// Processes `frames` frames in blocks of `blockFrames`.
BlockScan processStretch(ValidationContext& context, PluginInstance& plugin, AudioBench& bench,
                         long frames, int blockFrames, bool inPlace,
                         ParameterChanges changes = ParameterChanges::Random);

// Parameter values read back from a restored state may round by a few steps of 1/2^16.
inline constexpr float kSameParameterValue = 1e-4f;

// The state group's program checks, on an instance whose parameters may have been changed.
void checkPrograms(ValidationContext& context, PluginInstance& plugin, CheckReport& report);

// The parameter's name as the plug-in gives it, for figures.
std::string parameterName(PluginInstance& plugin, VstInt32 index);

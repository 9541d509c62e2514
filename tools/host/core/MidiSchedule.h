// The MIDI notes of a render: parsed from the command line, turned into note-on and note-off
// events at sample frames, and handed to the effect block by block with their offsets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VstInterface.h"

struct NoteSpec {
  double startSeconds;
  double endSeconds;
  int key;           // 0..127
  int velocity;      // 1..127
  std::string text;  // as given, for messages
};

class MidiSchedule {
 public:
  // "START:END:KEY:VELOCITY" (seconds, seconds, 0..127, 1..127); throws std::runtime_error
  // naming the fault.
  static NoteSpec parseNote(const std::string& text);

  // Places the notes at frames (time × rate, rounded); every note-on and note-off must fall on
  // a frame of the file, else std::runtime_error.
  MidiSchedule(const std::vector<NoteSpec>& notes, int sampleRateHz, int64_t fileFrames);
  MidiSchedule(const MidiSchedule&) = delete;
  MidiSchedule& operator=(const MidiSchedule&) = delete;

  struct Event {
    int64_t frame;
    unsigned char status;  // 0x90 note-on or 0x80 note-off, channel 1
    unsigned char key;
    unsigned char velocity;
  };
  // Sorted by frame; at one frame note-offs come before note-ons, so a key released and struck
  // again at the same moment ends up held.
  const std::vector<Event>& events() const { return sorted; }

  // The events of the block [start, start + frames) with deltaFrames relative to its start, or
  // null when it has none. Blocks must be asked for in order; the list stays valid until the
  // next call.
  VstEvents* eventsForBlock(int64_t start, int frames);

 private:
  std::vector<Event> sorted;
  size_t next = 0;  // first event not yet handed out
  std::vector<VstMidiEvent> midi;
  std::unique_ptr<VstIntPtr[]> list;  // a VstEvents header followed by its pointers
};

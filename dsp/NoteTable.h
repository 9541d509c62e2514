// The process-wide table of the 128 MIDI keys' frequencies and note names.
#pragma once

struct NoteTable {
  static constexpr int kKeys = 128;

  float frequency[kKeys];       // Hz of MIDI key k, equal temperament from 8.1757989 Hz
  const char* name[kKeys + 1];  // "C-1" .. "G9"; name[128] is "Hz"

  // The one table of the process: built on the first call, safely even when two threads
  // ask at once, and never freed.
  static const NoteTable& instance();

 private:
  NoteTable();
  char nameText[kKeys][5];  // each name with its terminator; the longest is "C#-1"
};

// What the edit command prints: one line for every parameter change and gesture an editor
// reports to the host, flushed at once so that a reader sees it while the window is open.
#pragma once

#include <ostream>
#include <string>

#include "VstInterface.h"

class EditReport {
 public:
  explicit EditReport(std::ostream& out) : out(out) {}

  // Prints audioMasterAutomate as `automate INDEX "NAME" VALUE "DISPLAY"`, and
  // audioMasterBeginEdit / EndEdit as `begin INDEX "NAME"` / `end INDEX "NAME"`; other calls
  // print nothing. Names and displays are asked from the effect; an index outside its
  // parameters is printed without asking.
  void hostCall(AEffect* effect, VstInt32 opcode, VstInt32 index, float value);

 private:
  std::ostream& out;
};

// A text the effect writes for opcode and index, cut at `limit` characters, with quotes and
// control characters shown as '?'.
std::string effectText(AEffect* effect, VstInt32 opcode, VstInt32 index, size_t limit);

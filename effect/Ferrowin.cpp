#include "Ferrowin.h"

#include <cstring>
#include <new>

#include "AEffEditor.h"
#include "SDEditor.h"
#include "TextLimit.h"

Ferrowin::Ferrowin(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams), noteTable(&NoteTable::instance()) {
  programs = new (std::nothrow) ProgramRecord[kNumPrograms];
  shaper.driveTarget = 1.05f;
  shaper.foldEnabled = false;
  filterLeft.levelScale = 3.0f;
  filterRight.levelScale = 3.0f;
  if (programs) setProgram(0);  // replaces the working values above with program 0's
  setNumInputs(2);
  setNumOutputs(2);
  setUniqueID(kUniqueId);
  canProcessReplacing(true);
  // The editor registers itself; without memory the effect has none and tells the host so.
  setEditor(new (std::nothrow) SDEditor(this));
  askForMidi();
}

Ferrowin::~Ferrowin() {
  // The editor goes first: a window the host left open closes while the effect is whole, so
  // no control's last callback reaches a half-destroyed effect.
  delete editor;
  editor = nullptr;
  delete[] programs;
}

// Every construction and every resume asks the host for MIDI events.
void Ferrowin::askForMidi() {
  static char midiEvents[] = "receiveVstMidiEvent";
  if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(midiEvents) == 1) wantEvents(1);
}

void Ferrowin::resume() { askForMidi(); }

VstInt32 Ferrowin::getChunk(void** data, bool /*isPreset*/) {
  *data = chunk;
  return sizeof chunk;
}

bool Ferrowin::getEffectName(char* name) {
  copyLimited(name, "Ferrowin", kVstMaxEffectNameLen - 1);
  return true;
}

bool Ferrowin::getVendorString(char* text) {
  copyLimited(text, "Varn.VST.Ferrowin v0.5 BETA", kVstMaxVendorStrLen - 1);
  return true;
}

bool Ferrowin::getProductString(char* text) {
  copyLimited(text, "Ferrowin v0.5 BETA", kVstMaxProductStrLen - 1);
  return true;
}

VstInt32 Ferrowin::canDo(char* text) {
  // Whole words only: a text that merely begins with one of them is not understood.
  static const char* const kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                              "midiProgramNames"};
  for (const char* capability : kCapabilities)
    if (std::strcmp(text, capability) == 0) return 1;
  return -1;
}

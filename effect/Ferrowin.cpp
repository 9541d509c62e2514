#include "Ferrowin.h"

#include <cstring>

#include "TextLimit.h"

Ferrowin::Ferrowin(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
  // The modules, the program table and program 0 come here, before the identity.
  setNumInputs(2);
  setNumOutputs(2);
  setUniqueID(kUniqueId);
  canProcessReplacing(true);
  // The editor is created here; it registers itself with setEditor.
  askForMidi();
}

// Every construction and every resume asks the host for MIDI events.
void Ferrowin::askForMidi() {
  static char midiEvents[] = "receiveVstMidiEvent";
  if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(midiEvents) == 1) wantEvents(1);
}

void Ferrowin::resume() { askForMidi(); }

Ferrowin::~Ferrowin() = default;

void Ferrowin::processReplacing(float** /*inputs*/, float** /*outputs*/,
                                VstInt32 /*sampleFrames*/) {}

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

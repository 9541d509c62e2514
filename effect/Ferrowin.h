// The effect: owns the modules, the program table and the editor, and answers the host.
#pragma once

#include "AudioEffectX.h"

class Ferrowin final : public AudioEffectX {
 public:
  static constexpr VstInt32 kNumPrograms = 1;
  static constexpr VstInt32 kNumParams = 18;
  static constexpr VstInt32 kUniqueId = fourCharCode('F', 'r', 'w', '2');

  explicit Ferrowin(audioMasterCallback audioMaster);
  ~Ferrowin() override;

  void resume() override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  VstInt32 getChunk(void** data, bool isPreset) override;
  VstInt32 getNumMidiInputChannels() override { return 1; }
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override { return 1; }
  VstInt32 canDo(char* text) override;
  VstPlugCategory getPlugCategory() override { return kPlugCategEffect; }

 private:
  void askForMidi();

  // The chunk is a fixed marker; the host saves the state through the parameters instead.
  char chunk[10] = "Test Data";
};

// An effect whose operations are mocks, to observe what the dispatcher calls.
#pragma once

#include <gmock/gmock.h>

#include "AEffEditor.h"
#include "AudioEffectX.h"

class MockEffect : public AudioEffectX {
 public:
  static constexpr VstInt32 kPrograms = 3;
  explicit MockEffect(audioMasterCallback host = nullptr) : AudioEffectX(host, kPrograms, 5) {}
  ~MockEffect() override { ++destroyed; }

  MOCK_METHOD(void, processReplacing, (float**, float**, VstInt32), (override));
  MOCK_METHOD(void, processDoubleReplacing, (double**, double**, VstInt32), (override));
  MOCK_METHOD(void, process, (float**, float**, VstInt32), (override));
  MOCK_METHOD(void, open, (), (override));
  MOCK_METHOD(void, close, (), (override));
  MOCK_METHOD(void, suspend, (), (override));
  MOCK_METHOD(void, resume, (), (override));
  MOCK_METHOD(void, setSampleRate, (float), (override));
  MOCK_METHOD(void, setBlockSize, (VstInt32), (override));
  MOCK_METHOD(void, setParameter, (VstInt32, float), (override));
  MOCK_METHOD(float, getParameter, (VstInt32), (override));
  MOCK_METHOD(void, setProgram, (VstInt32), (override));
  MOCK_METHOD(VstInt32, getProgram, (), (override));
  MOCK_METHOD(void, setProgramName, (char*), (override));
  MOCK_METHOD(void, getProgramName, (char*), (override));
  MOCK_METHOD(void, getParameterLabel, (VstInt32, char*), (override));
  MOCK_METHOD(void, getParameterDisplay, (VstInt32, char*), (override));
  MOCK_METHOD(void, getParameterName, (VstInt32, char*), (override));
  MOCK_METHOD(VstInt32, getChunk, (void**, bool), (override));
  MOCK_METHOD(VstInt32, setChunk, (void*, VstInt32, bool), (override));
  MOCK_METHOD(float, getVu, (), (override));

  MOCK_METHOD(VstInt32, processEvents, (VstEvents*), (override));
  MOCK_METHOD(bool, canParameterBeAutomated, (VstInt32), (override));
  MOCK_METHOD(bool, string2parameter, (VstInt32, char*), (override));
  MOCK_METHOD(bool, getProgramNameIndexed, (VstInt32, VstInt32, char*), (override));
  MOCK_METHOD(VstPlugCategory, getPlugCategory, (), (override));
  MOCK_METHOD(bool, setBypass, (bool), (override));
  MOCK_METHOD(bool, getEffectName, (char*), (override));
  MOCK_METHOD(VstInt32, getVendorVersion, (), (override));
  MOCK_METHOD(VstIntPtr, vendorSpecific, (VstInt32, VstIntPtr, void*, float), (override));
  MOCK_METHOD(VstInt32, canDo, (char*), (override));
  MOCK_METHOD(bool, setSpeakerArrangement, (VstSpeakerArrangement*, VstSpeakerArrangement*),
              (override));
  MOCK_METHOD(bool, offlineNotify, (VstAudioFile*, VstInt32, bool), (override));
  MOCK_METHOD(VstInt32, setTotalSampleToProcess, (VstInt32), (override));
  MOCK_METHOD(bool, setPanLaw, (VstInt32, float), (override));
  MOCK_METHOD(VstInt32, getNumMidiInputChannels, (), (override));

  // Gives tests a way into the protected base members.
  VstInt32 currentProgram() const { return curProgram; }
  using AudioEffect::setEditor;

  static int destroyed;
};

// An editor that records what the dispatcher hands it.
class MockEditor : public AEffEditor {
 public:
  explicit MockEditor(AudioEffect* effect) : AEffEditor(effect) {}
  ~MockEditor() override { ++destroyed; }
  MOCK_METHOD(bool, getRect, (ERect**), (override));
  MOCK_METHOD(bool, open, (void*), (override));
  MOCK_METHOD(void, close, (), (override));
  MOCK_METHOD(void, idle, (), (override));
  MOCK_METHOD(bool, onKeyDown, (VstKeyCode&), (override));
  MOCK_METHOD(bool, onKeyUp, (VstKeyCode&), (override));
  MOCK_METHOD(bool, setKnobMode, (VstInt32), (override));
  static int destroyed;
};

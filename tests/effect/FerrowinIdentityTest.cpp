// The effect's identity, capability and chunk answers, seen through its record as a host
// sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Ferrowin.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace {

std::vector<VstInt32> hostOpcodes;
VstIntPtr versionAnswer = 2400;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  hostOpcodes.push_back(opcode);
  return opcode == audioMasterVersion ? versionAnswer : 0;
}

class FerrowinIdentity : public ::testing::Test {
 protected:
  void SetUp() override {
    hostOpcodes.clear();
    versionAnswer = 2400;
    effect = VSTPluginMain(host);
    ASSERT_NE(effect, nullptr);
  }
  void TearDown() override {
    if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  VstIntPtr call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
  }
  std::string text(VstInt32 opcode, VstIntPtr* result = nullptr) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    const VstIntPtr answer = call(opcode, 0, 0, buffer);
    if (result) *result = answer;
    return std::string(buffer, strnlen(buffer, sizeof buffer));
  }
  VstIntPtr canDo(const char* capability) {
    std::vector<char> copy(capability, capability + std::strlen(capability) + 1);
    return call(effCanDo, 0, 0, copy.data());
  }
  AEffect* effect = nullptr;
};

TEST_F(FerrowinIdentity, RecordAfterConstruction) {
  EXPECT_EQ(effect->magic, kEffectMagic);
  EXPECT_EQ(effect->numPrograms, 1);
  EXPECT_EQ(effect->numParams, 18);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->flags & ~effFlagsHasEditor, effFlagsCanReplacing);
  EXPECT_EQ(effect->uniqueID, ('F' << 24) | ('r' << 16) | ('w' << 8) | '2');
  EXPECT_EQ(effect->version, 1);
  EXPECT_EQ(effect->initialDelay, 0);
}

TEST_F(FerrowinIdentity, AsksTheVersionFirstThenForMidi) {
  ASSERT_GE(hostOpcodes.size(), 2u);
  EXPECT_EQ(hostOpcodes.front(), audioMasterVersion);
  EXPECT_EQ(std::count(hostOpcodes.begin(), hostOpcodes.end(), audioMasterWantMidi), 1);
}

TEST_F(FerrowinIdentity, NamesAndNumbers) {
  VstIntPtr result = 0;
  EXPECT_EQ(text(effGetEffectName, &result), "Ferrowin");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(text(effGetVendorString, &result), "Varn.VST.Ferrowin v0.5 BETA");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(text(effGetProductString, &result), "Ferrowin v0.5 BETA");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(call(effGetVendorVersion), 1);
  EXPECT_EQ(call(effGetPlugCategory), 1);
  EXPECT_EQ(call(effGetVstVersion), 2400);
  EXPECT_EQ(call(effGetNumMidiInputChannels), 1);
  EXPECT_EQ(call(effGetNumMidiOutputChannels), 0);
  EXPECT_EQ(call(effCanBeAutomated, 17), 1);
}

TEST_F(FerrowinIdentity, CanDoAnswersWholeWordsOnly) {
  EXPECT_EQ(canDo("receiveVstEvents"), 1);
  EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
  EXPECT_EQ(canDo("midiProgramNames"), 1);
  EXPECT_EQ(canDo("receiveVstMidiEvents"), -1);
  EXPECT_EQ(canDo("receiveVstMidiEven"), -1);
  EXPECT_EQ(canDo("bypass"), -1);
  EXPECT_EQ(canDo(""), -1);
}

TEST_F(FerrowinIdentity, ChunkIsAFixedMarker) {
  void* data = nullptr;
  EXPECT_EQ(call(effGetChunk, 0, 0, &data), 10);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::memcmp(data, "Test Data", 10), 0);
  void* presetData = nullptr;
  EXPECT_EQ(call(effGetChunk, 1, 0, &presetData), 10);
  EXPECT_EQ(presetData, data);
  char incoming[4] = "abc";
  EXPECT_EQ(call(effSetChunk, 0, 4, incoming), 0);
  EXPECT_EQ(std::memcmp(data, "Test Data", 10), 0);
}

TEST_F(FerrowinIdentity, ResumeAsksForMidiAgain) {
  hostOpcodes.clear();
  call(effMainsChanged, 0, 1);
  call(effMainsChanged, 0, 0);
  call(effMainsChanged, 0, 1);
  EXPECT_EQ(std::count(hostOpcodes.begin(), hostOpcodes.end(), audioMasterWantMidi), 2);
}

TEST(FerrowinEntry, AHostAnsweringVersionZeroGetsNothing) {
  hostOpcodes.clear();
  versionAnswer = 0;
  EXPECT_EQ(VSTPluginMain(host), nullptr);
  EXPECT_EQ(hostOpcodes, std::vector<VstInt32>{audioMasterVersion});
  EXPECT_EQ(VSTPluginMain(nullptr), nullptr);
  versionAnswer = 2400;
}

}  // namespace

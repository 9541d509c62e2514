// Host queries: what reaches the host callback, and the answers without a host.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "MockEffect.h"

using ::testing::NiceMock;

namespace {

struct Seen {
  AEffect* effect;
  VstInt32 opcode, index;
  VstIntPtr value;
  void* ptr;
  float opt;
};
std::vector<Seen> seen;
VstIntPtr nextAnswer = 0;

VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt) {
  seen.push_back({effect, opcode, index, value, ptr, opt});
  return nextAnswer;
}

class HostQuery : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    nextAnswer = 0;
  }
  NiceMock<MockEffect> effect{recordingHost};
  NiceMock<MockEffect> hostless{nullptr};

  // The one call the host saw, checked against the expected opcode and arguments.
  void expectOneCall(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].effect, effect.getAeffect());
    EXPECT_EQ(seen[0].opcode, opcode);
    EXPECT_EQ(seen[0].index, index);
    EXPECT_EQ(seen[0].value, value);
    EXPECT_EQ(seen[0].ptr, ptr);
    EXPECT_EQ(seen[0].opt, opt);
    seen.clear();
  }
};

TEST_F(HostQuery, AutomatedChangeSetsTheParameterThenTellsTheHost) {
  EXPECT_CALL(effect, setParameter(4, 0.125f));
  effect.setParameterAutomated(4, 0.125f);
  expectOneCall(audioMasterAutomate, 4, 0, nullptr, 0.125f);
  EXPECT_CALL(hostless, setParameter(1, 0.5f));  // still changes without a host
  hostless.setParameterAutomated(1, 0.5f);
}

TEST_F(HostQuery, BaseQueries) {
  nextAnswer = 0;
  EXPECT_EQ(effect.getMasterVersion(), 1);  // a host answering 0 counts as version 1
  expectOneCall(audioMasterVersion);
  nextAnswer = 2400;
  EXPECT_EQ(effect.getMasterVersion(), 2400);
  seen.clear();
  nextAnswer = 77;
  EXPECT_EQ(effect.getCurrentUniqueId(), 77);
  expectOneCall(audioMasterCurrentId);
  effect.masterIdle();
  expectOneCall(audioMasterIdle);
  nextAnswer = 0;
  EXPECT_TRUE(effect.isInputConnected(1));  // 0 means connected
  expectOneCall(audioMasterPinConnected, 1, 0);
  nextAnswer = 1;
  EXPECT_FALSE(effect.isOutputConnected(0));
  expectOneCall(audioMasterPinConnected, 0, 1);
}

TEST_F(HostQuery, WithoutAHostTheDefaultsAnswer) {
  EXPECT_EQ(hostless.getMasterVersion(), 1);
  EXPECT_EQ(hostless.getCurrentUniqueId(), 0);
  EXPECT_TRUE(hostless.isInputConnected(0));
  EXPECT_TRUE(hostless.isOutputConnected(1));
  hostless.masterIdle();
  hostless.wantEvents(1);
  hostless.setOutputSamplerate(48000.0f);
  EXPECT_FALSE(hostless.beginEdit(1));
  EXPECT_FALSE(hostless.ioChanged());
  EXPECT_FALSE(hostless.sizeWindow(10, 10));
  EXPECT_EQ(hostless.getTimeInfo(0), nullptr);
  EXPECT_EQ(hostless.canHostDo(const_cast<char*>("x")), 0);
  EXPECT_EQ(hostless.getDirectory(), nullptr);
  EXPECT_EQ(hostless.updateSampleRate(), 44100.0);
  EXPECT_EQ(hostless.updateBlockSize(), 1024);
  EXPECT_TRUE(seen.empty());
}

TEST_F(HostQuery, ExtendedQueriesPassTheirArguments) {
  char text[8] = "x";
  nextAnswer = 1;
  effect.wantEvents(1);
  expectOneCall(audioMasterWantMidi, 0, 1);
  EXPECT_TRUE(effect.beginEdit(5));
  expectOneCall(audioMasterBeginEdit, 5);
  EXPECT_TRUE(effect.endEdit(5));
  expectOneCall(audioMasterEndEdit, 5);
  EXPECT_TRUE(effect.sizeWindow(640, 480));
  expectOneCall(audioMasterSizeWindow, 640, 480);
  effect.setOutputSamplerate(22050.0f);
  expectOneCall(audioMasterSetOutputSampleRate, 0, 0, nullptr, 22050.0f);
  EXPECT_EQ(effect.canHostDo(text), 1);
  expectOneCall(audioMasterCanDo, 0, 0, text);
  EXPECT_TRUE(effect.getHostVendorString(text));
  expectOneCall(audioMasterGetVendorString, 0, 0, text);
  EXPECT_EQ(effect.hostVendorSpecific(3, 4, text, 0.5f), 1);
  expectOneCall(audioMasterVendorSpecific, 3, 4, text, 0.5f);
  EXPECT_TRUE(effect.offlineStart(nullptr, 2, 3));
  expectOneCall(audioMasterOfflineStart, 3, 2);
  EXPECT_TRUE(effect.offlineRead(nullptr, 6, true));
  expectOneCall(audioMasterOfflineRead, 1, 6);
  nextAnswer = 9;
  EXPECT_EQ(effect.tempoAt(1000), 9);
  expectOneCall(audioMasterTempoAt, 0, 1000);
  EXPECT_EQ(effect.getInputLatency(), 9);
  expectOneCall(audioMasterGetInputLatency);
  // A null selector never reaches the host.
  EXPECT_FALSE(effect.openFileSelector(nullptr));
  EXPECT_FALSE(effect.closeFileSelector(nullptr));
  EXPECT_FALSE(effect.getChunkFile(nullptr));
  EXPECT_TRUE(seen.empty());
}

TEST_F(HostQuery, SampleRateAndBlockSizeTakeOnlyPositiveAnswers) {
  nextAnswer = 48000;
  EXPECT_EQ(effect.updateSampleRate(), 48000.0);
  EXPECT_EQ(effect.getSampleRate(), 48000.0f);
  nextAnswer = 0;
  EXPECT_EQ(effect.updateSampleRate(), 48000.0);
  nextAnswer = -5;
  EXPECT_EQ(effect.updateBlockSize(), 1024);
  nextAnswer = 64;
  EXPECT_EQ(effect.updateBlockSize(), 64);
}

TEST(SpeakerArrangement, AllocateCopyMatchAndFree) {
  NiceMock<MockEffect> effect;
  VstSpeakerArrangement* source = nullptr;
  ASSERT_TRUE(effect.allocateArrangement(&source, 3));
  EXPECT_EQ(source->numChannels, 3);
  source->type = 12;
  VstSpeakerProperties* speakers = source->speakers;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(speakers[i].azimuth, 0.0f);  // cleared
    speakers[i].azimuth = 0.5f * static_cast<float>(i);
    speakers[i].type = i + 1;
    std::memset(speakers[i].name, 'a' + i, sizeof speakers[i].name);  // no terminator
  }
  VstSpeakerArrangement* copy = nullptr;
  ASSERT_TRUE(effect.matchArrangement(&copy, source));
  EXPECT_EQ(copy->type, 12);
  EXPECT_EQ(copy->numChannels, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(copy->speakers[i].azimuth, 0.5f * static_cast<float>(i));
    EXPECT_EQ(copy->speakers[i].type, i + 1);
    EXPECT_EQ(std::strlen(copy->speakers[i].name), 63u);
  }
  EXPECT_FALSE(effect.copySpeaker(nullptr, speakers));
  EXPECT_FALSE(effect.matchArrangement(&copy, nullptr));
  EXPECT_TRUE(effect.deallocateArrangement(&copy));
  EXPECT_EQ(copy, nullptr);
  EXPECT_TRUE(effect.deallocateArrangement(&source));
}

}  // namespace

// Loads the real plug-in library through the command-line host's loader, as a host does,
// and checks the record and the identity answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "HostCallback.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

namespace {

class PluginLoad : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(library.load(FERROWIN_PLUGIN_PATH)) << library.error(); }
  PluginLibrary library;
  HostCallback host;
};

TEST_F(PluginLoad, BothEntryNamesLeadToOneFunction) {
  void* first = library.symbol("VSTPluginMain");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(library.symbol("main"), first);
}

TEST_F(PluginLoad, RecordAndIdentity) {
  PluginInstance plugin(library.entry(), HostCallback::dispatch);
  ASSERT_TRUE(plugin.valid());
  const AEffect& r = *plugin.record();
  EXPECT_EQ(r.numPrograms, 1);
  EXPECT_EQ(r.numParams, 18);
  EXPECT_EQ(r.numInputs, 2);
  EXPECT_EQ(r.numOutputs, 2);
  EXPECT_EQ(r.flags, effFlagsHasEditor | effFlagsCanReplacing);
  EXPECT_EQ(fourCharText(r.uniqueID), "Frw2");
  EXPECT_EQ(r.version, 1);
  EXPECT_NE(r.processReplacing, nullptr);

  bool overrun = false;
  EXPECT_EQ(plugin.text(effGetEffectName, 0, kVstMaxEffectNameLen, &overrun), "Ferrowin");
  EXPECT_FALSE(overrun);
  EXPECT_EQ(plugin.text(effGetVendorString, 0, kVstMaxVendorStrLen, &overrun),
            "Varn.VST.Ferrowin v0.5 BETA");
  EXPECT_FALSE(overrun);
  EXPECT_EQ(plugin.text(effGetProductString, 0, kVstMaxProductStrLen, &overrun),
            "Ferrowin v0.5 BETA");
  EXPECT_FALSE(overrun);
  EXPECT_EQ(plugin.dispatch(effGetVendorVersion), 1);
  EXPECT_EQ(plugin.dispatch(effGetPlugCategory), 1);
  EXPECT_EQ(plugin.dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(plugin.canDo("receiveVstMidiEvent"), 1);
  EXPECT_EQ(plugin.canDo("receiveVstMidiEvent "), -1);
  void* chunk = nullptr;
  EXPECT_EQ(plugin.dispatch(effGetChunk, 0, 0, &chunk), 10);
  EXPECT_EQ(std::string(static_cast<const char*>(chunk)), "Test Data");
}

TEST_F(PluginLoad, EditorRectangleBeforeTheFirstOpen) {
  PluginInstance plugin(library.entry(), HostCallback::dispatch);
  ASSERT_TRUE(plugin.valid());
  ERect* rect = nullptr;
  ASSERT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  // The background bitmap's size, from the library's own resources.
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 371);
  EXPECT_EQ(rect->right, 691);
}

TEST_F(PluginLoad, HostCallbacksDuringCreation) {
  PluginInstance plugin(library.entry(), HostCallback::dispatch);
  ASSERT_TRUE(plugin.valid());
  ASSERT_FALSE(host.calls().empty());
  // The version query comes first and names no effect yet.
  EXPECT_EQ(host.calls().front().opcode, audioMasterVersion);
  EXPECT_FALSE(host.calls().front().effectKnown);
  EXPECT_EQ(host.count(audioMasterWantMidi), 1u);
}

TEST_F(PluginLoad, ManyInstancesComeAndGo) {
  for (int i = 0; i < 50; ++i) {
    PluginInstance a(library.entry(), HostCallback::dispatch);
    PluginInstance b(library.entry(), HostCallback::dispatch);
    ASSERT_TRUE(a.valid() && b.valid());
    EXPECT_NE(a.record(), b.record());
  }
}

TEST_F(PluginLoad, AnOldHostGetsNoEffect) {
  host.versionAnswer = 0;
  PluginInstance plugin(library.entry(), HostCallback::dispatch);
  EXPECT_FALSE(plugin.valid());
}

}  // namespace

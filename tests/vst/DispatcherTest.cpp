// Both dispatcher tables: which operation each opcode reaches, with which arguments, and
// what the host gets back.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "MockEffect.h"

using ::testing::_;
using ::testing::DoAll;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::SetArgPointee;
using ::testing::StrictMock;

int MockEffect::destroyed = 0;
int MockEditor::destroyed = 0;

namespace {

VstIntPtr call(AudioEffect& effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
               void* ptr = nullptr, float opt = 0.0f) {
  AEffect* record = effect.getAeffect();
  return record->dispatcher(record, opcode, index, value, ptr, opt);
}

TEST(AudioEffectRecord, ConstructorFillsTheRecord) {
  NiceMock<MockEffect> effect;
  const AEffect& r = *effect.getAeffect();
  EXPECT_EQ(r.magic, 0x56737450);
  EXPECT_EQ(r.numPrograms, MockEffect::kPrograms);
  EXPECT_EQ(r.numParams, 5);
  EXPECT_EQ(r.numInputs, 1);
  EXPECT_EQ(r.numOutputs, 2);
  EXPECT_EQ(r.flags, effFlagsCanReplacing);
  EXPECT_EQ(r.ioRatio, 1.0f);
  EXPECT_EQ(r.object, &effect);
  EXPECT_EQ(r.user, nullptr);
  EXPECT_EQ(r.uniqueID, 0x4E6F4566);
  EXPECT_EQ(r.version, 1);
  EXPECT_EQ(r.resvd1 | r.resvd2 | r.initialDelay | r.realQualities | r.offQualities, 0);
  for (char c : r.future) EXPECT_EQ(c, 0);
  EXPECT_EQ(effect.getSampleRate(), 44100.0f);
  EXPECT_EQ(effect.getBlockSize(), 1024);
}

TEST(AudioEffectRecord, EntriesForwardToTheObject) {
  NiceMock<MockEffect> effect;
  AEffect* r = effect.getAeffect();
  float left[4] = {}, right[4] = {};
  float* channels[2] = {left, right};
  double* doubles[2] = {nullptr, nullptr};
  EXPECT_CALL(effect, setParameter(3, 0.25f));
  EXPECT_CALL(effect, getParameter(4)).WillOnce(Return(0.75f));
  EXPECT_CALL(effect, processReplacing(channels, channels, 4));
  EXPECT_CALL(effect, processDoubleReplacing(doubles, doubles, 2));
  EXPECT_CALL(effect, process(channels, channels, 4));
  r->setParameter(r, 3, 0.25f);
  EXPECT_EQ(r->getParameter(r, 4), 0.75f);
  r->processReplacing(r, channels, channels, 4);
  r->processDoubleReplacing(r, doubles, doubles, 2);
  r->process(r, channels, channels, 4);
}

TEST(AudioEffectFlags, SettersManageTheirBits) {
  NiceMock<MockEffect> effect;
  const VstInt32& flags = effect.getAeffect()->flags;
  effect.canProcessReplacing(false);
  EXPECT_EQ(flags, 0);
  effect.hasVu(true);
  effect.hasClip(true);
  effect.canMono(true);
  effect.programsAreChunks(true);
  effect.canDoubleReplacing(true);
  effect.isSynth(true);
  effect.noTail(true);
  effect.wantAsyncOperation(true);
  effect.hasExternalBuffer(true);
  EXPECT_EQ(flags, 0x4 | 0x2 | 0x8 | 0x20 | 0x1000 | 0x100 | 0x200 | 0x400 | 0x800);
  effect.hasVu(false);
  effect.isSynth(false);
  EXPECT_EQ(flags, 0x2 | 0x8 | 0x20 | 0x1000 | 0x200 | 0x400 | 0x800);
  effect.setUniqueID(42);
  effect.setNumInputs(2);
  effect.setInitialDelay(7);
  effect.setRealtimeQualities(3);
  effect.setOfflineQualities(4);
  const AEffect& r = *effect.getAeffect();
  EXPECT_EQ(r.uniqueID, 42);
  EXPECT_EQ(r.numInputs, 2);
  EXPECT_EQ(r.initialDelay, 7);
  EXPECT_EQ(r.realQualities, 3);
  EXPECT_EQ(r.offQualities, 4);
}

TEST(BaseDispatcher, EveryRowReachesItsOperation) {
  NiceMock<MockEffect> effect;
  char text[64];
  void* chunkAddress = nullptr;
  EXPECT_CALL(effect, open());
  EXPECT_EQ(call(effect, effOpen), 0);
  EXPECT_CALL(effect, getProgram()).WillOnce(Return(-2));
  EXPECT_EQ(call(effect, effGetProgram), -2);  // sign-extended
  EXPECT_CALL(effect, setProgramName(text));
  EXPECT_EQ(call(effect, effSetProgramName, 0, 0, text), 0);
  EXPECT_CALL(effect, getProgramName(text));
  EXPECT_EQ(call(effect, effGetProgramName, 0, 0, text), 0);
  EXPECT_CALL(effect, getParameterLabel(4, text));
  EXPECT_EQ(call(effect, effGetParamLabel, 4, 0, text), 0);
  EXPECT_CALL(effect, getParameterDisplay(2, text));
  EXPECT_EQ(call(effect, effGetParamDisplay, 2, 0, text), 0);
  EXPECT_CALL(effect, getParameterName(1, text));
  EXPECT_EQ(call(effect, effGetParamName, 1, 0, text), 0);
  EXPECT_CALL(effect, setSampleRate(48000.0f));
  EXPECT_EQ(call(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
  EXPECT_CALL(effect, setBlockSize(256));
  EXPECT_EQ(call(effect, effSetBlockSize, 0, 256), 0);
  EXPECT_EQ(call(effect, effIdentify), 0x4E764566);
  EXPECT_CALL(effect, getChunk(reinterpret_cast<void**>(&chunkAddress), true)).WillOnce(Return(-5));
  EXPECT_EQ(call(effect, effGetChunk, 1, 0, &chunkAddress), -5);
  EXPECT_CALL(effect, getChunk(_, false)).WillOnce(Return(10));
  EXPECT_EQ(call(effect, effGetChunk, 0, 0, &chunkAddress), 10);
  EXPECT_CALL(effect, setChunk(text, 12, true)).WillOnce(Return(1));
  EXPECT_EQ(call(effect, effSetChunk, -3, 12, text), 1);
  EXPECT_CALL(effect, setChunk(text, 12, false)).WillOnce(Return(0));
  EXPECT_EQ(call(effect, effSetChunk, 0, 12, text), 0);
}

TEST(BaseDispatcher, MainsChangedSuspendsOnZeroAndResumesOnAnythingElse) {
  StrictMock<MockEffect> effect;
  {
    ::testing::InSequence order;
    EXPECT_CALL(effect, suspend());
    EXPECT_CALL(effect, resume());
    EXPECT_CALL(effect, resume());
  }
  call(effect, effMainsChanged, 0, 0);
  call(effect, effMainsChanged, 0, 1);
  call(effect, effMainsChanged, 0, -7);
}

TEST(BaseDispatcher, SetProgramAcceptsOnlyExistingPrograms) {
  NiceMock<MockEffect> effect;
  EXPECT_CALL(effect, setProgram(2));
  call(effect, effSetProgram, 0, 2);
  // Equal to the count, negative, or beyond 32 bits: ignored.
  EXPECT_CALL(effect, setProgram(_)).Times(0);
  call(effect, effSetProgram, 0, MockEffect::kPrograms);
  call(effect, effSetProgram, 0, -1);
  call(effect, effSetProgram, 0, static_cast<VstIntPtr>(1) << 32);
}

TEST(BaseDispatcher, UnhandledOpcodesAnswerZeroAndCallNothing) {
  StrictMock<MockEffect> effect;
  char buffer[64] = {};
  for (VstInt32 opcode :
       {9, 16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, 80, 81, 1000, -1})
    EXPECT_EQ(call(effect, opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
  // Editor opcodes without an editor.
  for (VstInt32 opcode : {13, 14, 15, 19, 59, 60, 61})
    EXPECT_EQ(call(effect, opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
}

TEST(BaseDispatcher, NullPointerWhereOneIsNeededIsRefused) {
  StrictMock<MockEffect> effect;
  for (VstInt32 opcode :
       {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
        effEditGetRect, effGetChunk, effSetChunk, effProcessEvents, effString2Parameter,
        effGetProgramNameIndexed, effGetEffectName, effGetVendorString, effGetProductString,
        effCanDo, effGetMidiProgramName, effGetCurrentMidiProgram, effGetSpeakerArrangement})
    EXPECT_EQ(call(effect, opcode, 0, 1, nullptr), 0) << "opcode " << opcode;
}

TEST(BaseDispatcher, CloseCallsCloseThenDestroysTheObject) {
  auto* effect = new NiceMock<MockEffect>;
  const int before = MockEffect::destroyed;
  EXPECT_CALL(*effect, close());
  EXPECT_EQ(call(*effect, effClose), 1);
  EXPECT_EQ(MockEffect::destroyed, before + 1);
}

TEST(BaseDispatcher, EditorOpcodesReachTheEditorAndDieWithTheEffect) {
  auto* effect = new NiceMock<MockEffect>;
  auto* editor = new StrictMock<MockEditor>(effect);
  effect->setEditor(editor);
  EXPECT_EQ(effect->getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
  ERect* rect = nullptr;
  int window = 0;
  EXPECT_CALL(*editor, getRect(&rect)).WillOnce(Return(true));
  EXPECT_EQ(call(*effect, effEditGetRect, 0, 0, &rect), 1);
  EXPECT_CALL(*editor, open(&window)).WillOnce(Return(false));
  EXPECT_EQ(call(*effect, effEditOpen, 0, 0, &window), 0);
  EXPECT_CALL(*editor, close());
  EXPECT_EQ(call(*effect, effEditClose), 0);
  EXPECT_CALL(*editor, idle());
  EXPECT_EQ(call(*effect, effEditIdle), 0);
  EXPECT_CALL(*editor, setKnobMode(2)).WillOnce(Return(true));
  EXPECT_EQ(call(*effect, effSetEditKnobMode, 0, 2), 1);

  VstKeyCode seen{};
  EXPECT_CALL(*editor, onKeyDown(_)).WillOnce(DoAll(::testing::SaveArg<0>(&seen), Return(true)));
  EXPECT_EQ(call(*effect, effEditKeyDown, 65, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(seen.character, 65);
  EXPECT_EQ(seen.virt, 0);
  EXPECT_EQ(seen.modifier, 0);
  // Virtual key from the low byte of value, modifier from the truncated opt.
  EXPECT_CALL(*editor, onKeyUp(_)).WillOnce(DoAll(::testing::SaveArg<0>(&seen), Return(false)));
  EXPECT_EQ(call(*effect, effEditKeyUp, 0, 0x10b, nullptr, 9.9f), 0);
  EXPECT_EQ(seen.virt, VKEY_LEFT);
  EXPECT_EQ(seen.modifier, 9);
  // A modifier beyond an int's range, or not a number, carries no modifier bits.
  for (const float opt : {-1.2377e17f, 3e9f, std::numeric_limits<float>::quiet_NaN()}) {
    EXPECT_CALL(*editor, onKeyDown(_)).WillOnce(DoAll(::testing::SaveArg<0>(&seen), Return(true)));
    EXPECT_EQ(call(*effect, effEditKeyDown, 0, 0, nullptr, opt), 1);
    EXPECT_EQ(seen.modifier, 0) << opt;
  }

  const int before = MockEditor::destroyed;
  call(*effect, effClose);
  EXPECT_EQ(MockEditor::destroyed, before + 1);
}

TEST(BaseDispatcher, AReplacedEditorIsDeletedOnceAndTheFlagFollows) {
  NiceMock<MockEffect> effect;
  auto* first = new NiceMock<MockEditor>(&effect);
  auto* second = new NiceMock<MockEditor>(&effect);
  const int before = MockEditor::destroyed;
  struct Step {
    AEffEditor* editor;
    int destroyedSoFar;
    bool hasEditorFlag;
  };
  // Setting the same editor again keeps it; null leaves the effect without one.
  const Step steps[] = {{first, 0, true},
                        {first, 0, true},
                        {second, 1, true},
                        {nullptr, 2, false},
                        {nullptr, 2, false}};
  for (const Step& step : steps) {
    effect.setEditor(step.editor);
    EXPECT_EQ(effect.getEditor(), step.editor);
    EXPECT_EQ(MockEditor::destroyed - before, step.destroyedSoFar);
    EXPECT_EQ((effect.getAeffect()->flags & effFlagsHasEditor) != 0, step.hasEditorFlag);
  }
}

TEST(ExtendedDispatcher, EveryRowReachesItsOperation) {
  NiceMock<MockEffect> effect;
  char text[64] = "bypass";
  VstEvents events{};
  EXPECT_CALL(effect, processEvents(&events)).WillOnce(Return(1));
  EXPECT_EQ(call(effect, effProcessEvents, 0, 0, &events), 1);
  EXPECT_CALL(effect, canParameterBeAutomated(3)).WillOnce(Return(true));
  EXPECT_EQ(call(effect, effCanBeAutomated, 3), 1);
  EXPECT_CALL(effect, string2parameter(2, text)).WillOnce(Return(false));
  EXPECT_EQ(call(effect, effString2Parameter, 2, 0, text), 0);
  EXPECT_CALL(effect, getProgramNameIndexed(7, 1, text)).WillOnce(Return(true));
  EXPECT_EQ(call(effect, effGetProgramNameIndexed, 1, 7, text), 1);
  EXPECT_CALL(effect, getPlugCategory()).WillOnce(Return(kPlugCategSynth));
  EXPECT_EQ(call(effect, effGetPlugCategory), 2);
  EXPECT_CALL(effect, setBypass(true)).WillOnce(Return(false));
  EXPECT_EQ(call(effect, effSetBypass, 0, 5), 0);
  EXPECT_CALL(effect, getEffectName(text)).WillOnce(Return(true));
  EXPECT_EQ(call(effect, effGetEffectName, 0, 0, text), 1);
  EXPECT_CALL(effect, getVendorVersion()).WillOnce(Return(-3));
  EXPECT_EQ(call(effect, effGetVendorVersion), -3);
  const VstIntPtr wide = static_cast<VstIntPtr>(0x123456789LL);
  EXPECT_CALL(effect, vendorSpecific(4, wide, text, 0.5f)).WillOnce(Return(wide));
  EXPECT_EQ(call(effect, effVendorSpecific, 4, wide, text, 0.5f), wide);
  EXPECT_CALL(effect, canDo(text)).WillOnce(Return(-1));
  EXPECT_EQ(call(effect, effCanDo, 0, 0, text), -1);
  VstSpeakerArrangement in{}, out{};
  EXPECT_CALL(effect, setSpeakerArrangement(&in, &out)).WillOnce(Return(true));
  EXPECT_EQ(call(effect, effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  EXPECT_CALL(effect, offlineNotify(nullptr, 3, true)).WillOnce(Return(true));
  EXPECT_EQ(call(effect, effOfflineNotify, 1, 3), 1);
  EXPECT_CALL(effect, setTotalSampleToProcess(77)).WillOnce(Return(77));
  EXPECT_EQ(call(effect, effSetTotalSampleToProcess, 0, 77), 77);
  EXPECT_CALL(effect, setPanLaw(1, 0.5f)).WillOnce(Return(true));
  EXPECT_EQ(call(effect, effSetPanLaw, 0, 1, nullptr, 0.5f), 1);
  EXPECT_CALL(effect, getNumMidiInputChannels()).WillOnce(Return(16));
  EXPECT_EQ(call(effect, effGetNumMidiInputChannels), 16);
}

TEST(ExtendedDispatcher, DefaultAnswers) {
  NiceMock<MockEffect> effect;
  char text[64] = {};
  EXPECT_EQ(call(effect, effGetVstVersion), 2400);
  EXPECT_EQ(call(effect, effGetTailSize), 0);
  EXPECT_EQ(call(effect, effGetCurrentMidiProgram, 0, 0, text), -1);
  EXPECT_EQ(call(effect, effGetMidiProgramName, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effGetMidiProgramCategory, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effHasMidiProgramsChanged), 0);
  EXPECT_EQ(call(effect, effGetMidiKeyName, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effSetProcessPrecision, 0, 1), 0);
  EXPECT_EQ(call(effect, effGetNumMidiOutputChannels), 0);
  EXPECT_EQ(call(effect, effBeginSetProgram), 0);
  EXPECT_EQ(call(effect, effEndSetProgram), 0);
  EXPECT_EQ(call(effect, effStartProcess), 0);
  EXPECT_EQ(call(effect, effStopProcess), 0);
  EXPECT_EQ(call(effect, effShellGetNextPlugin, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effBeginLoadBank, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effBeginLoadProgram, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effGetParameterProperties, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effGetInputProperties, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effGetOutputProperties, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effProcessVarIo, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effOfflinePrepare, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effOfflineRun, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effGetVendorString, 0, 0, text), 0);
  EXPECT_EQ(call(effect, effGetProductString, 0, 0, text), 0);

  VstSpeakerArrangement dummy{};
  VstSpeakerArrangement* input = &dummy;
  VstSpeakerArrangement* output = &dummy;
  EXPECT_EQ(call(effect, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
            0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
  EXPECT_EQ(effect.getNumCategories(), 1);
  EXPECT_EQ(effect.reportDestinationBuffer(), nullptr);
}

}  // namespace

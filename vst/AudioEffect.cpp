#include "AudioEffect.h"

#include <cmath>
#include <cstring>

#include "AEffEditor.h"
#include "TextLimit.h"

namespace {

AudioEffect* objectOf(AEffect* effect) { return static_cast<AudioEffect*>(effect->object); }

// Opcodes whose pointer argument the effect reads or writes through. A faulty host that passes
// null with one of them gets 0 and nothing happens.
bool usesPointer(VstInt32 opcode) {
  switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
      return true;
    default:
      return false;
  }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
  std::memset(&cEffect, 0, sizeof(cEffect));
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchEffectClass;
  cEffect.process = processClass;
  cEffect.setParameter = setParameterClass;
  cEffect.getParameter = getParameterClass;
  cEffect.numPrograms = numPrograms;
  cEffect.numParams = numParams;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.flags = effFlagsCanReplacing;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
  cEffect.version = 1;
  cEffect.processReplacing = processClassReplacing;
  cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect() { delete editor; }

void AudioEffect::setEditor(AEffEditor* newEditor) {
  // The effect owns its editor: one that is replaced goes.
  if (editor != newEditor) delete editor;
  editor = newEditor;
  setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
  if (state)
    cEffect.flags |= flag;
  else
    cEffect.flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  if (ptr == nullptr && usesPointer(opcode)) return 0;
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      // Only 0 .. numPrograms - 1: a negative value would index in front of the table.
      if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      setProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetProgramName:
      getProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamName:
      getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<VstInt32>(value));
      return 0;
    case effMainsChanged:
      if (value == 0)
        suspend();
      else
        resume();
      return 0;
    case effEditGetRect:
      return editor && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
      return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effIdentify:
      return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
      return 0;
  }
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstInt32 AudioEffect::getMasterVersion() {
  const VstInt32 version = static_cast<VstInt32>(callHost(audioMasterVersion));
  return version != 0 ? version : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
  return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

bool AudioEffect::isInputConnected(VstInt32 input) {
  return audioMaster ? callHost(audioMasterPinConnected, input, 0) == 0 : true;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
  return audioMaster ? callHost(audioMasterPinConnected, output, 1) == 0 : true;
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
  if (value <= 0)
    copyLimited(text, "-oo", static_cast<size_t>(maxLen));
  else
    float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
  const float sampleRateHz = getSampleRate();
  float2string(samples == 0.0f ? 0.0f : sampleRateHz / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
  float2string(static_cast<float>(samples * 1000.0 / getSampleRate()), text, maxLen);
}

// Eight characters: sign, integer digits, ".", then as many fraction digits as fit, every
// digit truncated toward zero.
void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
  const size_t limit = static_cast<size_t>(maxLen);
  double v = value;
  if (std::isnan(v)) {  // no digits to show, and none may reach the integer conversion
    copyLimited(text, "NaN", limit);
    return;
  }
  const bool negative = v < 0;
  int count = 0;
  if (negative) {
    v = -v;
    count = 1;
  }
  // Eight characters hold seven integer digits, six behind a sign. A larger value would lose
  // its leading digits and read as a different number; infinity lands here too.
  if (v >= (negative ? 1000000.0 : 10000000.0)) {
    copyLimited(text, "Huge!", limit);
    return;
  }

  char scratch[32];
  char* first = scratch + 30;
  scratch[30] = '.';
  scratch[31] = 0;
  double whole = std::floor(v);
  *--first = static_cast<char>('0' + static_cast<int>(std::fmod(whole, 10.0)));
  whole /= 10.0;
  count += 2;
  while (whole >= 1.0 && count < 8) {
    *--first = static_cast<char>('0' + static_cast<int>(std::fmod(whole, 10.0)));
    whole /= 10.0;
    ++count;
  }
  if (negative) *--first = '-';
  copyLimited(text, first, limit);
  if (count >= 8) return;

  const int fractionDigits = 8 - count;
  double fraction = std::fmod(v, 1.0) * std::pow(10.0, fractionDigits);
  char digits[9];
  digits[fractionDigits] = 0;
  for (int i = fractionDigits - 1; i >= 0; --i) {
    if (fraction <= 0) {
      digits[i] = '0';
    } else {
      digits[i] = static_cast<char>('0' + static_cast<int>(std::fmod(fraction, 10.0)));
      fraction /= 10.0;
    }
  }
  appendLimited(text, digits, limit);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
  const size_t limit = static_cast<size_t>(maxLen);
  // Nine digits and more, of either sign, do not fit the digit loop below.
  if (value >= 100000000 || value <= -100000000) {
    copyLimited(text, "Huge!", limit);
    return;
  }
  long long rest = value;
  if (rest < 0) {
    copyLimited(text, "-", limit);
    rest = -rest;
  } else {
    copyLimited(text, "", limit);
  }
  bool started = false;
  for (long long divisor = 100000000; divisor >= 1; divisor /= 10) {
    const long long digit = rest / divisor;
    rest -= digit * divisor;
    if (digit > 0) started = true;
    if (started) {
      // Below the "Huge!" bounds every digit is 0..9.
      const char piece[2] = {static_cast<char>('0' + digit), 0};
      appendLimited(text, piece, limit);
    }
  }
  if (!started) appendLimited(text, "0", limit);  // zero is written as "0", not as nothing
}

VstIntPtr AudioEffect::dispatchEffectClass(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt) {
  AudioEffect* object = objectOf(effect);
  if (opcode == effClose) {
    object->dispatcher(opcode, index, value, ptr, opt);
    delete object;
    return 1;
  }
  return object->dispatcher(opcode, index, value, ptr, opt);
}

float AudioEffect::getParameterClass(AEffect* effect, VstInt32 index) {
  return objectOf(effect)->getParameter(index);
}

void AudioEffect::setParameterClass(AEffect* effect, VstInt32 index, float value) {
  objectOf(effect)->setParameter(index, value);
}

void AudioEffect::processClass(AEffect* effect, float** inputs, float** outputs,
                               VstInt32 sampleFrames) {
  objectOf(effect)->process(inputs, outputs, sampleFrames);
}

void AudioEffect::processClassReplacing(AEffect* effect, float** inputs, float** outputs,
                                        VstInt32 sampleFrames) {
  objectOf(effect)->processReplacing(inputs, outputs, sampleFrames);
}

void AudioEffect::processClassDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                              VstInt32 sampleFrames) {
  objectOf(effect)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

#include "FuzzedEffect.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace {

VstIntPtr hostStub(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

constexpr int kMaxEvents = 64;
constexpr size_t kSlotBytes = 64;  // room for the longest event record, zero behind the input's
constexpr size_t kEventPointerBytes = sizeof(void*);

}  // namespace

FuzzedEffect::FuzzedEffect() : effect(VSTPluginMain(hostStub)) {
  for (std::vector<float>& buffer : buffers) buffer.resize(kMaxFrames);
  dispatch(effOpen);
  dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  dispatch(effSetBlockSize, 0, 512);
  dispatch(effMainsChanged, 0, 1);
}

FuzzedEffect::~FuzzedEffect() {
  if (effect != nullptr) dispatch(effClose);
}

VstIntPtr FuzzedEffect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void FuzzedEffect::process(FuzzInput& input, int frames, bool inPlace, bool mono) {
  const int count = frames < kMaxFrames ? frames : kMaxFrames;
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < count; ++i) buffers[c][i] = input.take<float>();
  float* inputs[2] = {buffers[0].data(), mono ? nullptr : buffers[1].data()};
  float* outputs[2] = {inPlace ? buffers[0].data() : buffers[2].data(), mono ? nullptr
                                                                        : inPlace
                                                                            ? buffers[1].data()
                                                                            : buffers[3].data()};
  effect->processReplacing(effect, inputs, outputs, count);
}

void FuzzedEffect::sendEvents(FuzzInput& input) {
  const int count = input.takeInRange(0, kMaxEvents);
  std::vector<unsigned char> slots(count * kSlotBytes, 0);
  std::vector<unsigned char> list(offsetof(VstEvents, events) + (count + 2) * kEventPointerBytes,
                                  0);
  auto* events = reinterpret_cast<VstEvents*>(list.data());
  events->numEvents = count;
  VstEvent** pointers = events->events;  // declared with two entries, really `count`
  for (int i = 0; i < count; ++i) {
    input.takeBytes(&slots[i * kSlotBytes], sizeof(VstMidiEvent));
    pointers[i] = reinterpret_cast<VstEvent*>(&slots[i * kSlotBytes]);
  }
  dispatch(effProcessEvents, 0, 0, events);
}

// A small well-behaved stereo gain effect for the validator's tests, built once as is, once per
// deliberate fault (FAULT below), each fault one that hosts fail a plug-in for, and once per
// legitimate habit that a validator must not mistake for a fault. On Windows it has an editor:
// a plain child window.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "VstInterface.h"

#if defined(_WIN32)
#include <windows.h>
#define TEST_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#define FAULT_NONE 0
#define FAULT_NAN_OUTPUT 1
#define FAULT_SUBNORMAL_OUTPUT 2
#define FAULT_OVERLONG_NAME 3
#define FAULT_WRITE_PAST_END 4
#define FAULT_CRASH 5
#define FAULT_HANG 6
#define FAULT_ALLOCATION 7
// Legitimate habits: buffers sized at resume for the announced block size (a longer block, or a
// rate or size changed while resumed, aborts); a worker thread that allocates for each longer
// block while processReplacing waits for it; stepped parameters with displays of 24 characters.
#define HABIT_RESUME_SIZED 8
#define HABIT_WORKER_THREAD 9
#define HABIT_STEPPED 10
// 64 inputs and outputs, as a surround or ambisonics effect has; channels pair up with the
// left and right gains.
#define HABIT_WIDE 11
// State shared by all instances (a smoothing filter kept in a static, cleared at resume), which
// makes instances processed in turn hear each other.
#define FAULT_SHARED_STATE 12
// The parameters kept in a bank chunk; and a chunk that is taken but not restored.
#define HABIT_CHUNKS 13
#define FAULT_LOSSY_CHUNK 14
// An instrument that stays silent whatever notes it is given.
#define FAULT_SILENT_SYNTH 15
// Processing that only works on the thread that created the effect: a trim factor kept in
// thread-local storage, set up by the entry point and left NaN on every other thread.
#define FAULT_THREAD_BOUND 16
// Tails: an echo with feedback 0.5 and no guard against subnormal values, which it leaves in
// its output for a while once the input falls silent; an echo whose feedback is 1, whose
// repeats never die away.
#define FAULT_SUBNORMAL_TAIL 17
#define FAULT_ENDLESS_TAIL 18
// Three programs that keep their edits; and three stored as the values that differ from the
// defaults, which are loaded over the current values instead of over the defaults, so a program
// sounds different after each program it follows.
#define HABIT_PROGRAMS 19
#define FAULT_SPARSE_PROGRAMS 20
// A tempo-synced effect that trusts the host's time record: with no answer, no tempo, or a rate
// other than the one it was given, it has no beat length and puts out NaN.
#define HABIT_TEMPO_SYNCED 21
// A balance law that divides by the headroom left under the top of both gains, which is none
// when both sit at their top: NaN there, and only there.
#define FAULT_CORNER_NAN 22
// Parameter changes queued for the audio thread in a queue of a fixed size that only a resume
// empties: after that many changes in one run, processing reads a slot never written (NaN).
#define FAULT_CHANGE_QUEUE 23
// An instrument whose two volumes silence it at 0: silent at those settings, not at its defaults.
#define HABIT_VOLUME_SYNTH 24
#ifndef FAULT
#define FAULT FAULT_NONE
#endif

namespace {

#if FAULT == FAULT_SHARED_STATE
float sharedSmoothing = 0.0f;
#elif FAULT == FAULT_THREAD_BOUND
thread_local float threadTrim = std::numeric_limits<float>::quiet_NaN();
#elif FAULT == HABIT_PROGRAMS || FAULT == FAULT_SPARSE_PROGRAMS
constexpr int kPrograms = 3;
constexpr float kDefaultValue = 0.5f;
constexpr float kProgramValues[kPrograms][2] = {{0.5f, 0.5f}, {0.25f, 0.5f}, {0.5f, 0.75f}};
#endif
#if FAULT == FAULT_SUBNORMAL_TAIL || FAULT == FAULT_ENDLESS_TAIL
constexpr float kEchoFeedback = FAULT == FAULT_ENDLESS_TAIL ? 1.0f : 0.5f;
constexpr size_t kEchoFrames = FAULT == FAULT_ENDLESS_TAIL ? 300 : 1;
#endif

struct TestEffect {
  AEffect record;
  float values[2] = {0.5f, 0.5f};
  char programName[kVstMaxProgNameLen] = "Default";
#if FAULT == HABIT_RESUME_SIZED
  int announcedFrames = 0;
  bool resumed = false;
  std::vector<float> scratch;  // sized at resume
#elif FAULT == HABIT_WORKER_THREAD
  std::atomic<bool> working{true};
  std::atomic<bool> requested{false};
  std::thread worker{[this] {
    while (working) {
      if (!requested) {
        std::this_thread::sleep_for(std::chrono::microseconds(20));
        continue;
      }
      const std::string chunk(4096, 'w');
      requested = chunk.empty();
    }
  }};
#endif
#if FAULT == FAULT_CHANGE_QUEUE
  int queuedChanges = 0;
#elif FAULT == HABIT_VOLUME_SYNTH
  bool noteHeld = false;
#endif
#if FAULT == FAULT_SUBNORMAL_TAIL || FAULT == FAULT_ENDLESS_TAIL
  std::vector<float> echo[2] = {std::vector<float>(kEchoFrames), std::vector<float>(kEchoFrames)};
  size_t echoAt = 0;
#elif FAULT == HABIT_PROGRAMS || FAULT == FAULT_SPARSE_PROGRAMS
  int program = 0;
  float programValues[kPrograms][2] = {};
#elif FAULT == HABIT_TEMPO_SYNCED
  audioMasterCallback host = nullptr;
  double rateHz = 44100.0;
#endif
#if defined(_WIN32)
  HWND window = nullptr;
  ERect rect = {0, 0, 120, 200};
#endif
};

TestEffect* effectOf(AEffect* record) { return static_cast<TestEffect*>(record->object); }

// Cut to limit - 1 characters and terminated.
void copyText(void* to, const char* text, size_t limit) {
  if (limit == 0) return;
  const size_t length = std::min(std::strlen(text), limit - 1);
  std::memcpy(to, text, length);
  static_cast<char*>(to)[length] = '\0';
}

// Gain 0..2 for a stored value; anything that is not a value 0..1 counts as unity.
float gainOf(float value) { return value >= 0.0f && value <= 1.0f ? 2.0f * value : 1.0f; }

#if FAULT == HABIT_STEPPED
constexpr float kSteps = 8.0f;
#endif

// The value the effect keeps for a value set.
float stored(float value) {
#if FAULT == HABIT_STEPPED
  if (value >= 0.0f && value <= 1.0f) return std::round(value * kSteps) / kSteps;
#endif
  return value;
}

// Keeps the rules a plug-in that sizes its buffers at resume relies on; aborts when broken.
[[maybe_unused]] void expect(bool rule) {
  if (!rule) std::abort();
}

#if defined(_WIN32)
VstIntPtr editor(TestEffect& effect, VstInt32 opcode, void* ptr) {
  switch (opcode) {
    case effEditGetRect:
      *static_cast<ERect**>(ptr) = &effect.rect;
      return 1;
    case effEditOpen:
      effect.window = CreateWindowExA(0, "STATIC", "gain", WS_CHILD | WS_VISIBLE, 0, 0, 200, 120,
                                      static_cast<HWND>(ptr), nullptr, nullptr, nullptr);
      return effect.window != nullptr;
    case effEditClose:
      if (effect.window) DestroyWindow(effect.window);
      effect.window = nullptr;
      return 0;
    default:
      return 0;
  }
}
#endif

VstIntPtr dispatch(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  TestEffect& effect = *effectOf(record);
  (void)value;  // read by some variants only
  (void)opt;
  const bool parameter = index >= 0 && index < 2;
  switch (opcode) {
    case effClose:
#if FAULT == HABIT_WORKER_THREAD
      effect.working = false;
      effect.worker.join();
#endif
#if defined(_WIN32)
      editor(effect, effEditClose, nullptr);
#endif
      delete &effect;
      return 1;
    case effGetParamName:
      if (parameter) copyText(ptr, index == 0 ? "Left" : "Right", kVstMaxParamStrLen + 1);
      return 0;
    case effGetParamLabel:
      if (parameter) copyText(ptr, "x", kVstMaxParamStrLen + 1);
      return 0;
    case effGetParamDisplay:
      if (parameter) {
        char text[32];
#if FAULT == HABIT_STEPPED
        std::snprintf(text, sizeof text, "step %d of 8, gain %.4f",
                      static_cast<int>(std::lround(effect.values[index] * kSteps)),
                      static_cast<double>(gainOf(effect.values[index])));
#else
        std::snprintf(text, sizeof text, "%.3f", static_cast<double>(gainOf(effect.values[index])));
#endif
        copyText(ptr, text, sizeof text);
      }
      return 0;
    case effGetProgramName:
      copyText(ptr, effect.programName, kVstMaxProgNameLen);
      return 0;
    case effSetProgramName:
      copyText(effect.programName, static_cast<const char*>(ptr), kVstMaxProgNameLen);
      return 0;
    case effGetEffectName:
#if FAULT == FAULT_OVERLONG_NAME
      // The fault itself: no limit.
      std::strcpy(static_cast<char*>(ptr), "A gain effect whose name runs on and on");  // NOLINT
#else
      copyText(ptr, "Validator Gain", kVstMaxEffectNameLen);
#endif
      return 1;
    case effGetVendorString:
      copyText(ptr, "Ferrowin tests", kVstMaxVendorStrLen);
      return 1;
    case effCanDo:
      return std::strcmp(static_cast<const char*>(ptr), "receiveVstMidiEvent") == 0 ? 1 : -1;
    case effCanBeAutomated:
      return parameter ? 1 : 0;
    case effGetPlugCategory:
      return FAULT == HABIT_VOLUME_SYNTH ? kPlugCategSynth : kPlugCategEffect;
    case effGetVstVersion:
      return kVstVersion;
    case effProcessEvents:
#if FAULT == HABIT_VOLUME_SYNTH
      if (const auto* events = static_cast<const VstEvents*>(ptr))
        for (VstInt32 i = 0; i < events->numEvents; ++i) {
          const VstEvent* event = events->events[i];
          if (event == nullptr || event->type != kVstMidiType) continue;
          const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
          const int status = static_cast<unsigned char>(midi->midiData[0]) & 0xf0;
          if (status == 0x90 || status == 0x80)
            effect.noteHeld = status == 0x90 && midi->midiData[2];
        }
#endif
      return 1;
#if FAULT == HABIT_RESUME_SIZED
    case effSetSampleRate:
      expect(!effect.resumed);
      return 0;
    case effSetBlockSize:
      expect(!effect.resumed);
      effect.announcedFrames = static_cast<int>(value);
      return 0;
    case effMainsChanged:
      effect.resumed = value != 0;
      if (effect.resumed) effect.scratch.assign(static_cast<size_t>(effect.announcedFrames), 0.0f);
      return 0;
#endif
#if FAULT == FAULT_SHARED_STATE
    case effMainsChanged:
      sharedSmoothing = 0.0f;
      return 0;
#endif
#if FAULT == FAULT_CHANGE_QUEUE
    case effMainsChanged:
      effect.queuedChanges = 0;
      return 0;
#endif
#if FAULT == HABIT_CHUNKS || FAULT == FAULT_LOSSY_CHUNK
    case effGetChunk:
      *static_cast<void**>(ptr) = effect.values;
      return sizeof effect.values;
    case effSetChunk:
      if (FAULT == HABIT_CHUNKS && value == sizeof effect.values)
        std::memcpy(effect.values, ptr, sizeof effect.values);
      return 0;
#endif
#if FAULT == FAULT_SUBNORMAL_TAIL || FAULT == FAULT_ENDLESS_TAIL
    case effMainsChanged:
      for (std::vector<float>& line : effect.echo) std::fill(line.begin(), line.end(), 0.0f);
      return 0;
#elif FAULT == HABIT_PROGRAMS || FAULT == FAULT_SPARSE_PROGRAMS
    case effSetProgram:
      if (value < 0 || value >= kPrograms) return 0;
      std::copy(effect.values, effect.values + 2, effect.programValues[effect.program]);
      effect.program = static_cast<int>(value);
      for (int i = 0; i < 2; ++i)
        if (FAULT == HABIT_PROGRAMS || effect.programValues[value][i] != kDefaultValue)
          effect.values[i] = effect.programValues[value][i];
      return 0;
    case effGetProgram:
      return effect.program;
#elif FAULT == HABIT_TEMPO_SYNCED
    case effSetSampleRate:
      effect.rateHz = opt;
      return 0;
#endif
    default:
#if defined(_WIN32)
      return editor(effect, opcode, ptr);
#else
      return 0;
#endif
  }
}

void processReplacing(AEffect* record, [[maybe_unused]] float** inputs, float** outputs,
                      VstInt32 frames) {
  TestEffect& effect = *effectOf(record);
#if FAULT == HABIT_RESUME_SIZED
  expect(frames <= static_cast<VstInt32>(effect.scratch.size()));
  std::fill(effect.scratch.begin(), effect.scratch.begin() + frames, 0.0f);
#endif
#if FAULT == HABIT_WORKER_THREAD
  // Longer blocks only, so that the many one-frame blocks of a validation stay quick.
  constexpr VstInt32 kServedFrames = 64;
  if (frames >= kServedFrames) {
    effect.requested = true;
    while (effect.requested) {
    }
  }
#endif
#if FAULT == FAULT_CRASH
  // An illegal instruction: a crash the sanitizers leave to the system, as a plug-in built
  // without them crashes.
  if (frames > 0) __builtin_trap();
#elif FAULT == FAULT_HANG
  for (volatile bool spinning = true; spinning;) {
  }
#elif FAULT == FAULT_ALLOCATION
  volatile float* scratch = new float[frames > 0 ? frames : 1];
  scratch[0] = 0.0f;
  delete[] scratch;
#endif
#if FAULT == FAULT_THREAD_BOUND
  const float trim = threadTrim;
#elif FAULT == HABIT_TEMPO_SYNCED
  const auto* time = reinterpret_cast<const VstTimeInfo*>(
      effect.host ? effect.host(record, audioMasterGetTime, 0, kVstTempoValid, nullptr, 0.0f) : 0);
  const bool synced = time != nullptr && (time->flags & kVstTempoValid) && time->tempo > 0.0 &&
                      time->sampleRate == effect.rateHz;
  const float trim = synced ? 1.0f : std::numeric_limits<float>::quiet_NaN();
#else
  constexpr float trim = 1.0f;
#endif
  for (int c = 0; c < record->numOutputs; ++c) {
    const float gain = trim * gainOf(effect.values[c % 2]);
#if FAULT == HABIT_VOLUME_SYNTH
    constexpr float kNoteLevel = 0.25f;  // a held note, as a steady level
    for (VstInt32 i = 0; i < frames; ++i)
      outputs[c][i] = effect.noteHeld ? gain * kNoteLevel : 0.0f;
#else
    for (VstInt32 i = 0; i < frames; ++i)
      outputs[c][i] = c < record->numInputs ? gain * inputs[c][i] : 0.0f;
#endif
  }
  if (frames <= 0) return;
#if FAULT == FAULT_SHARED_STATE
  for (VstInt32 i = 0; i < frames; ++i) {
    sharedSmoothing += 0.5f * (outputs[0][i] - sharedSmoothing);
    outputs[0][i] = sharedSmoothing;
  }
#endif
#if FAULT == FAULT_SUBNORMAL_TAIL || FAULT == FAULT_ENDLESS_TAIL
  size_t at = effect.echoAt;
  for (VstInt32 i = 0; i < frames; ++i) {
    for (int c = 0; c < 2; ++c) {
      outputs[c][i] += kEchoFeedback * effect.echo[c][at];
      effect.echo[c][at] = outputs[c][i];
    }
    at = (at + 1) % kEchoFrames;
  }
  effect.echoAt = at;
#endif
#if FAULT == FAULT_CORNER_NAN
  const float headroom = 2.0f - effect.values[0] - effect.values[1];
  if (headroom == 0.0f) outputs[0][0] = std::numeric_limits<float>::quiet_NaN();
#elif FAULT == FAULT_CHANGE_QUEUE
  constexpr int kQueueSlots = 64;
  if (effect.queuedChanges > kQueueSlots) outputs[0][0] = std::numeric_limits<float>::quiet_NaN();
#elif FAULT == FAULT_NAN_OUTPUT
  outputs[0][frames / 2] = std::numeric_limits<float>::quiet_NaN();
#elif FAULT == FAULT_SUBNORMAL_OUTPUT
  outputs[1][0] = 1e-40f;
#elif FAULT == FAULT_WRITE_PAST_END
  outputs[1][frames] = 0.0f;
#endif
}

void setParameter(AEffect* record, VstInt32 index, float value) {
#if FAULT == FAULT_CHANGE_QUEUE
  ++effectOf(record)->queuedChanges;
#endif
  if (index >= 0 && index < 2) effectOf(record)->values[index] = stored(value);
}

float getParameter(AEffect* record, VstInt32 index) {
  return index >= 0 && index < 2 ? effectOf(record)->values[index] : 0.0f;
}

}  // namespace

TEST_PLUGIN_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
  auto* effect = new TestEffect{};
  AEffect& r = effect->record;
  r.magic = kEffectMagic;
  r.dispatcher = dispatch;
  r.setParameter = setParameter;
  r.getParameter = getParameter;
  r.numPrograms = 1;
  r.numParams = 2;
#if FAULT == HABIT_WIDE
  r.numInputs = 64;
  r.numOutputs = 64;
#elif FAULT == FAULT_SILENT_SYNTH || FAULT == HABIT_VOLUME_SYNTH
  r.numInputs = 0;
  r.numOutputs = 2;
#else
  r.numInputs = 2;
  r.numOutputs = 2;
#endif
  r.flags = effFlagsCanReplacing;
#if FAULT == HABIT_CHUNKS || FAULT == FAULT_LOSSY_CHUNK
  r.flags |= effFlagsProgramChunks;
#elif FAULT == FAULT_SILENT_SYNTH || FAULT == HABIT_VOLUME_SYNTH
  r.flags |= effFlagsIsSynth;
#endif
#if defined(_WIN32)
  r.flags |= effFlagsHasEditor;
#endif
#if FAULT == FAULT_THREAD_BOUND
  threadTrim = 1.0f;
#elif FAULT == HABIT_PROGRAMS || FAULT == FAULT_SPARSE_PROGRAMS
  r.numPrograms = kPrograms;
  std::memcpy(effect->programValues, kProgramValues, sizeof kProgramValues);
#elif FAULT == HABIT_TEMPO_SYNCED
  effect->host = host;
#endif
  r.object = effect;
  r.uniqueID = fourCharCode('V', 'a', 'l', 'G');
  r.version = 1;
  r.processReplacing = processReplacing;
  if (host) host(&r, audioMasterWantMidi, 0, 1, nullptr, 0.0f);
  return &r;
}

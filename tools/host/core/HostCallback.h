// The host side of the interface: answers the plug-in's callbacks and records every one.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "VstInterface.h"

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
  bool effectKnown;  // the call named an effect record (false for the entry point's query)
};

class HostCallback {
 public:
  HostCallback();
  ~HostCallback();
  HostCallback(const HostCallback&) = delete;
  HostCallback& operator=(const HostCallback&) = delete;

  // The function handed to the plug-in; it reaches the one active HostCallback.
  static VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);

  // Moves the transport on by a processed block.
  void advance(VstInt32 frames) { positionFrames += frames; }

  const std::vector<HostCall>& calls() const { return recorded; }
  size_t count(VstInt32 opcode) const;
  void clear() {
    const std::lock_guard<std::mutex> lock(answering);
    recorded.clear();
  }

  VstIntPtr versionAnswer = kVstVersion;  // what audioMasterVersion answers
  float sampleRateHz = 44100.0f;
  VstInt32 blockSize = 512;
  double tempoBpm = 120.0;

 private:
  VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt);
  VstTimeInfo* timeAnswer();

  // A plug-in may call from its audio thread and another at once (the validator's thread check
  // does that): one answer at a time keeps the record and the time answer whole.
  mutable std::mutex answering;
  std::vector<HostCall> recorded;
  double positionFrames = 0.0;
  VstTimeInfo time{};
};

// What the host answers to audioMasterGetVendorString and audioMasterGetProductString.
inline constexpr char kHostVendor[] = "Ferrowin";
inline constexpr char kHostProduct[] = "ferrowin-host";

// The name of a host callback opcode, for printing.
std::string hostOpcodeName(VstInt32 opcode);

// The `info` command: everything a host learns about an effect without processing audio.
#pragma once

#include <ostream>

#include "HostCallback.h"
#include "PluginInstance.h"

// Capability words a host commonly asks about.
extern const char* const kCommonCapabilities[];
extern const int kCommonCapabilityCount;

void printInfo(std::ostream& out, PluginInstance& plugin, const HostCallback& host);

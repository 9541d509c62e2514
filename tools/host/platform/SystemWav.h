// The WAV reader and writer of this platform: libsndfile natively, the system's multimedia file
// functions on Windows.
#pragma once

#if defined(_WIN32)
#include "MmioWavSink.h"
#include "MmioWavSource.h"
using WavSink = MmioWavSink;
using WavSource = MmioWavSource;
#else
#include "WavSink.h"
#include "WavSource.h"
#endif

// The host's answers that plug-ins build on: a transport that moves with the processed frames,
// and the host's vendor and product.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "HostCallback.h"

namespace {

// Positions are sums of whole frames and exact products: no rounding to allow for.
constexpr double kExact = 0.0;

struct TransportCase {
  float rateHz;
  double tempoBpm;
  VstInt32 framesProcessed;
  double quarterNotes;
  double barStartQuarterNotes;
};

TEST(HostCallback, TimeFollowsTheProcessedFrames) {
  const TransportCase cases[] = {
      {44100.0f, 120.0, 0, 0.0, 0.0},
      {44100.0f, 120.0, 44100, 2.0, 0.0},
      {48000.0f, 90.0, 48000 * 4, 6.0, 4.0},
      {22050.0f, 120.0, 22050 * 5, 10.0, 8.0},
  };
  for (const TransportCase& c : cases) {
    HostCallback host;
    host.sampleRateHz = c.rateHz;
    host.tempoBpm = c.tempoBpm;
    host.advance(c.framesProcessed);
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        HostCallback::dispatch(nullptr, audioMasterGetTime, 0, 0, nullptr, 0.0f));
    ASSERT_NE(time, nullptr);
    EXPECT_NEAR(time->samplePos, c.framesProcessed, kExact);
    EXPECT_NEAR(time->sampleRate, c.rateHz, kExact);
    EXPECT_NEAR(time->ppqPos, c.quarterNotes, kExact) << c.framesProcessed;
    EXPECT_NEAR(time->barStartPos, c.barStartQuarterNotes, kExact) << c.framesProcessed;
    EXPECT_NEAR(time->tempo, c.tempoBpm, kExact);
    EXPECT_EQ(time->timeSigNumerator, 4);
    EXPECT_EQ(time->timeSigDenominator, 4);
    const VstInt32 promised =
        kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
    EXPECT_EQ(time->flags & promised, promised);
  }
}

TEST(HostCallback, NamesItsVendorAndProduct) {
  HostCallback host;
  for (const auto& [opcode, expected] : {std::pair{audioMasterGetVendorString, kHostVendor},
                                         std::pair{audioMasterGetProductString, kHostProduct}}) {
    char text[kVstMaxVendorStrLen];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(HostCallback::dispatch(nullptr, opcode, 0, 0, text, 0.0f), 1);
    EXPECT_EQ(std::string(text), expected);
  }
  EXPECT_EQ(HostCallback::dispatch(nullptr, audioMasterGetVendorString, 0, 0, nullptr, 0.0f), 0);
}

}  // namespace

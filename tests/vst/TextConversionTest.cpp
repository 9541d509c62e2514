// The five value-to-text conversions at their edge values.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "MockEffect.h"

using ::testing::NiceMock;

namespace {

class TextConversion : public ::testing::Test {
 protected:
  // Runs a conversion into a buffer guarded by sentinels, checks that nothing beyond
  // text[maxLen] was written, and returns the text.
  template <typename Convert>
  std::string convert(Convert conversion, int maxLen = 8) {
    char buffer[40];
    std::memset(buffer, '#', sizeof buffer);
    buffer[0] = 0;
    conversion(buffer, maxLen);
    EXPECT_EQ(buffer[maxLen], 0) << "no terminator at maxLen";
    for (size_t i = static_cast<size_t>(maxLen) + 1; i < sizeof buffer; ++i)
      EXPECT_EQ(buffer[i], '#') << "written beyond maxLen at " << i;
    return buffer;
  }
  std::string float2string(float value, int maxLen = 8) {
    return convert([&](char* t, int n) { effect.float2string(value, t, n); }, maxLen);
  }
  std::string int2string(VstInt32 value, int maxLen = 8) {
    return convert([&](char* t, int n) { effect.int2string(value, t, n); }, maxLen);
  }
  NiceMock<MockEffect> effect;
};

TEST_F(TextConversion, FloatHasEightCharactersWithTruncatedDigits) {
  EXPECT_EQ(float2string(0.0f), "0.000000");
  EXPECT_EQ(float2string(0.5f), "0.500000");
  EXPECT_EQ(float2string(0.25f), "0.250000");
  EXPECT_EQ(float2string(-0.5f), "-0.50000");
  EXPECT_EQ(float2string(1000.0f), "1000.000");
  EXPECT_EQ(float2string(-1000.0f), "-1000.00");
  EXPECT_EQ(float2string(12543.849609375f), "12543.84");
  EXPECT_EQ(float2string(34.647827f), "34.64782");
  EXPECT_EQ(float2string(0.99999994f), "0.999999");  // truncated, never rounded up
  EXPECT_EQ(float2string(1234567.0f), "1234567.");
  EXPECT_EQ(float2string(-123456.0f), "-123456.");
}

// A value the eight characters cannot show whole gets a text no one can read as a number.
TEST_F(TextConversion, FloatOutOfRangeIsHuge) {
  const std::pair<float, const char*> cases[] = {
      {1e9f, "Huge!"},
      {-1e8f, "Huge!"},
      {10001000.0f, "Huge!"},  // would lose its leading digit and read 0001000.
      {10000000.0f, "Huge!"},
      {9999999.0f, "9999999."},
      {-1000000.0f, "Huge!"},  // behind a sign only six digits fit
      {-999999.0f, "-999999."},
      {std::numeric_limits<float>::infinity(), "Huge!"},
      {-std::numeric_limits<float>::infinity(), "Huge!"},
      {std::numeric_limits<float>::quiet_NaN(), "NaN"},
      {-std::numeric_limits<float>::quiet_NaN(), "NaN"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(float2string(value), expected) << value;
  EXPECT_EQ(float2string(1e9f, 3), "Hug");  // cut at maxLen
}

TEST_F(TextConversion, FloatIsCutAtMaxLen) {
  EXPECT_EQ(float2string(0.5f, 4), "0.50");
  EXPECT_EQ(float2string(-1000.0f, 2), "-1");
}

TEST_F(TextConversion, Decibels) {
  auto dB = [&](float value) {
    return convert([&](char* t, int n) { effect.dB2string(value, t, n); });
  };
  EXPECT_EQ(dB(0.0f), "-oo");
  EXPECT_EQ(dB(-1.0f), "-oo");
  EXPECT_EQ(dB(1.0f), "0.000000");
  EXPECT_EQ(dB(10.0f), "20.00000");
  EXPECT_EQ(dB(0.1f), "-20.0000");
}

TEST_F(TextConversion, HertzAndMillisecondsUseTheSampleRate) {
  auto hz = [&](float samples) {
    return convert([&](char* t, int n) { effect.Hz2string(samples, t, n); });
  };
  auto ms = [&](float samples) {
    return convert([&](char* t, int n) { effect.ms2string(samples, t, n); });
  };
  EXPECT_EQ(hz(0.0f), "0.000000");
  EXPECT_EQ(hz(100.0f), "441.0000");
  EXPECT_EQ(ms(441.0f), "10.00000");
  EXPECT_EQ(ms(0.0f), "0.000000");
}

TEST_F(TextConversion, Integers) {
  EXPECT_EQ(int2string(-42), "-42");
  EXPECT_EQ(int2string(0), "0");
  EXPECT_EQ(int2string(7), "7");
  EXPECT_EQ(int2string(1000), "1000");  // inner zeros kept
  EXPECT_EQ(int2string(99999999), "99999999");
  EXPECT_EQ(int2string(100000000), "Huge!");
  EXPECT_EQ(int2string(123456, 3), "123");
  EXPECT_EQ(int2string(-99999999), "-9999999");  // cut at maxLen
  EXPECT_EQ(int2string(-100000000), "Huge!");
  EXPECT_EQ(int2string(-2147483647 - 1), "Huge!");
}

}  // namespace

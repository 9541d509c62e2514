// NAME=VALUE settings from the command line.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "ParameterSetting.h"

namespace {

std::string parseError(const std::string& text) {
  try {
    ParameterSetting::parse(text);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(ParameterSetting, ParsesNameAndNormalizedValue) {
  const ParameterSetting cutoff = ParameterSetting::parse("CutOff=0.3");
  EXPECT_EQ(cutoff.name, "CutOff");
  EXPECT_FLOAT_EQ(cutoff.value, 0.3f);
  EXPECT_EQ(ParameterSetting::parse("Osc.KeyTrack=1").value, 1.0f);
  EXPECT_EQ(ParameterSetting::parse("Dry=0").value, 0.0f);
  EXPECT_EQ(ParameterSetting::parse("Dry=5e-1").value, 0.5f);
}

TEST(ParameterSetting, RejectsMalformedSettings) {
  const struct {
    const char* text;
    const char* complaint;
  } cases[] = {
      {"CutOff", "expected NAME=VALUE"},
      {"=0.3", "expected NAME=VALUE"},
      {"CutOff=", "'' is not a number"},
      {"CutOff=abc", "'abc' is not a number"},
      {"CutOff=0.3x", "'0.3x' is not a number"},
      {"CutOff=nan", "'nan' is not a number"},
      {"CutOff=1.5", "from 0 to 1"},
      {"CutOff=-0.1", "from 0 to 1"},
  };
  for (const auto& c : cases) {
    const std::string message = parseError(c.text);
    EXPECT_NE(message.find(c.complaint), std::string::npos) << c.text << " -> " << message;
    EXPECT_NE(message.find(std::string("'") + c.text + "'"), std::string::npos) << message;
  }
}

}  // namespace

// The progress line: shown only for long renders on a terminal, rewritten per percent.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "ProgressDisplay.h"

namespace {

constexpr int kRateHz = 1000;

TEST(ProgressDisplay, SilentWhenNotATerminalOrShort) {
  std::ostringstream notTerminal;
  ProgressDisplay off(notTerminal, false, 60 * kRateHz, kRateHz);
  off.update(30 * kRateHz);
  off.finish();
  EXPECT_EQ(notTerminal.str(), "");

  std::ostringstream shortRender;
  ProgressDisplay brief(shortRender, true, 4 * kRateHz, kRateHz);
  EXPECT_FALSE(brief.active());
  brief.update(2 * kRateHz);
  brief.finish();
  EXPECT_EQ(shortRender.str(), "");
}

TEST(ProgressDisplay, RewritesOneLinePerPercentAndErasesIt) {
  std::ostringstream terminal;
  ProgressDisplay progress(terminal, true, 10 * kRateHz, kRateHz);
  ASSERT_TRUE(progress.active());
  progress.update(5 * kRateHz);
  EXPECT_EQ(terminal.str(), "\rrendering  50%  5.0 of 10.0 s");
  progress.update(5 * kRateHz + 50);  // still 50 %
  EXPECT_EQ(terminal.str(), "\rrendering  50%  5.0 of 10.0 s");
  for (int done = 0; done <= 10 * kRateHz; done += 10) progress.update(done);
  progress.finish();
  const std::string text = terminal.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 1 + 101 + 2);
  EXPECT_NE(text.find("\rrendering 100%  10.0 of 10.0 s"), std::string::npos);
  const std::string longest = "rendering 100%  10.0 of 10.0 s";
  EXPECT_EQ(text.substr(text.size() - longest.size() - 2),
            "\r" + std::string(longest.size(), ' ') + "\r");
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

}  // namespace

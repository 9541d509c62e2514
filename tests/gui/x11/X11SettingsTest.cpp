// The user settings file of the X11 layer: what it reads from files as a user or a crash may
// leave them, and that a write keeps the other settings and fails cleanly where it cannot go.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/PlatformSettings.h"

namespace gui {
namespace platform {
namespace {

class X11Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ferrowin-settings-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
    setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
  }
  void TearDown() override { std::system(("rm -rf '" + directory + "'").c_str()); }
  std::string file() const { return directory + "/ferrowin/editor.conf"; }
  void writeFile(const std::string& text) {
    ASSERT_EQ(std::system(("mkdir -p '" + directory + "/ferrowin'").c_str()), 0);
    std::ofstream(file()) << text;
  }
  std::string readFile() const {
    std::ostringstream text;
    text << std::ifstream(file()).rdbuf();
    return text.str();
  }
  std::string directory;
};

TEST_F(X11Settings, ReadsOnlyWholeNumbersOfItsOwnName) {
  struct Case {
    const char* file;  // null: no file
    bool found;
    int32_t value;
  };
  const Case cases[] = {
      {nullptr, false, 0},
      {"Ferrowin/Scale=150\n", true, 150},
      {"Ferrowin/Scale=-7", true, -7},
      {"Other/Scale=200\nFerrowin/Scale=100\n", true, 100},
      {"a line of no setting\nFerrowin/Scale=200\n", true, 200},
      {"Ferrowin/Scale=abc\n", false, 0},
      {"Ferrowin/Scale=\n", false, 0},
      {"Ferrowin/Scale=150%\n", false, 0},
      {"Ferrowin/Scale=99999999999\n", false, 0},
      {"Ferrowin/Scales=150\n", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "no file");
    std::remove(file().c_str());
    if (c.file) writeFile(c.file);
    int32_t value = 0;
    EXPECT_EQ(readUserSetting("Ferrowin", "Scale", value), c.found);
    EXPECT_EQ(value, c.value);
  }
}

TEST_F(X11Settings, AWriteKeepsTheOtherSettingsAndRefusesWhatItCannotStore) {
  // The directory is made on the first write.
  ASSERT_TRUE(writeUserSetting("Ferrowin", "Scale", 150));
  ASSERT_TRUE(writeUserSetting("Ferrowin", "Other", 7));
  ASSERT_TRUE(writeUserSetting("Ferrowin", "Scale", 200));
  EXPECT_EQ(readFile(), "Ferrowin/Other=7\nFerrowin/Scale=200\n");
  int32_t value = 0;
  ASSERT_TRUE(readUserSetting("Ferrowin", "Other", value));
  EXPECT_EQ(value, 7);

  // Names that the file could not hold apart are refused, as is a place that is no directory.
  EXPECT_FALSE(writeUserSetting("Ferrowin", "A=B", 1));
  EXPECT_FALSE(writeUserSetting("Ferro/win", "Scale", 1));
  EXPECT_FALSE(writeUserSetting("Ferrowin", nullptr, 1));
  const std::string notADirectory = directory + "/file";
  std::ofstream(notADirectory) << "x";
  setenv("XDG_CONFIG_HOME", notADirectory.c_str(), 1);
  EXPECT_FALSE(writeUserSetting("Ferrowin", "Scale", 100));
  EXPECT_FALSE(readUserSetting("Ferrowin", "Scale", value));
}

}  // namespace
}  // namespace platform
}  // namespace gui

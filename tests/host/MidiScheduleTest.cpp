// Notes from the command line: parsing and placement at frames. Delivery block by block, with
// offsets, is checked through the gain test plug-in in RenderCommandTest.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "MidiSchedule.h"

namespace {

// The complaint about a note placed in a file of 1000 frames at 1000 Hz, or "" if none.
std::string complaint(const std::string& text) {
  try {
    MidiSchedule schedule({MidiSchedule::parseNote(text)}, 1000, 1000);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(MidiSchedule, ParsesStartEndKeyVelocity) {
  const NoteSpec note = MidiSchedule::parseNote("0.5:2.0:60:100");
  EXPECT_DOUBLE_EQ(note.startSeconds, 0.5);
  EXPECT_DOUBLE_EQ(note.endSeconds, 2.0);
  EXPECT_EQ(note.key, 60);
  EXPECT_EQ(note.velocity, 100);
  const NoteSpec edges = MidiSchedule::parseNote("0:1e-3:127:1");
  EXPECT_DOUBLE_EQ(edges.endSeconds, 0.001);
  EXPECT_EQ(edges.key, 127);
  EXPECT_EQ(edges.velocity, 1);
}

// Each refusal quotes the note and names the part at fault; every event must fall on a frame
// of the file, and a note must last at least one frame.
TEST(MidiSchedule, RejectsMalformedOrMisplacedNotesNamingThePart) {
  const struct {
    const char* text;
    const char* complaint;
  } cases[] = {
      {"", "expected START:END:KEY:VELOCITY"},
      {"0.5:0.9:60", "expected START:END:KEY:VELOCITY"},
      {"0.5:0.9:60:100:1", "expected START:END:KEY:VELOCITY"},
      {"a:0.9:60:100", "start 'a'"},
      {"-1:0.9:60:100", "start '-1'"},
      {" 0.5:0.9:60:100", "start ' 0.5'"},
      {"0.5:inf:60:100", "end 'inf'"},
      {"0.5:2s:60:100", "end '2s'"},
      {"0.9:0.5:60:100", "ends before it starts"},
      {"0.5:0.5:60:100", "ends before it starts"},
      {"0.5:0.9:128:100", "key '128'"},
      {"0.5:0.9:60.5:100", "key '60.5'"},
      {"0.5:0.9:60:0", "velocity '0'"},
      {"0.5:0.9:60:128", "velocity '128'"},
      {"0.5:1.0:60:100", "lies outside the file (1 s, 1000 frames)"},
      {"2:3:60:100", "lies outside the file"},
      {"0.1:0.1004:60:100", "is shorter than one frame"},
  };
  for (const auto& c : cases) {
    const std::string message = complaint(c.text);
    EXPECT_NE(message.find(c.complaint), std::string::npos) << c.text << " -> " << message;
    EXPECT_NE(message.find(std::string("'") + c.text + "'"), std::string::npos) << message;
  }
  EXPECT_EQ(complaint("0.5:0.999:60:100"), "");  // the last frame is in the file
}

}  // namespace

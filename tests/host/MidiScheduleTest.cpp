// Notes from the command line: parsing, placement at frames, and delivery block by block.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "MidiSchedule.h"

namespace {

std::string parseError(const std::string& text) {
  try {
    MidiSchedule::parseNote(text);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

std::string placementError(const std::vector<std::string>& texts, int rateHz, int64_t frames) {
  std::vector<NoteSpec> notes;
  for (const std::string& text : texts) notes.push_back(MidiSchedule::parseNote(text));
  try {
    MidiSchedule schedule(notes, rateHz, frames);
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

TEST(MidiSchedule, RejectsMalformedNotesNamingThePart) {
  const struct {
    const char* text;
    const char* complaint;
  } cases[] = {
      {"", "expected START:END:KEY:VELOCITY"},
      {"0.5:2.0:60", "expected START:END:KEY:VELOCITY"},
      {"0.5:2.0:60:100:1", "expected START:END:KEY:VELOCITY"},
      {"a:2:60:100", "start 'a'"},
      {"-1:2:60:100", "start '-1'"},
      {" 0.5:2:60:100", "start ' 0.5'"},
      {"0.5:inf:60:100", "end 'inf'"},
      {"0.5:2s:60:100", "end '2s'"},
      {"2:1:60:100", "ends before it starts"},
      {"1:1:60:100", "ends before it starts"},
      {"0.5:2:128:100", "key '128'"},
      {"0.5:2:60.5:100", "key '60.5'"},
      {"0.5:2:60:0", "velocity '0'"},
      {"0.5:2:60:128", "velocity '128'"},
  };
  for (const auto& c : cases) {
    const std::string message = parseError(c.text);
    EXPECT_NE(message.find(c.complaint), std::string::npos) << c.text << " -> " << message;
    EXPECT_NE(message.find(std::string("'") + c.text + "'"), std::string::npos) << message;
  }
}

TEST(MidiSchedule, PlacesNotesAtRoundedFramesWithNoteOffsFirst) {
  const std::vector<NoteSpec> notes = {MidiSchedule::parseNote("0.5:0.9:64:90"),
                                       MidiSchedule::parseNote("0.1004:0.5:60:100")};
  MidiSchedule schedule(notes, 1000, 1000);
  const auto& events = schedule.events();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].frame, 100);  // 100.4 rounds down
  EXPECT_EQ(events[0].status, 0x90);
  EXPECT_EQ(events[0].velocity, 100);
  // Frame 500: the release of key 60 before the strike of key 64.
  EXPECT_EQ(events[1].frame, 500);
  EXPECT_EQ(events[1].status, 0x80);
  EXPECT_EQ(events[1].key, 60);
  EXPECT_EQ(events[2].frame, 500);
  EXPECT_EQ(events[2].status, 0x90);
  EXPECT_EQ(events[2].key, 64);
  EXPECT_EQ(events[3].frame, 900);
  EXPECT_EQ(events[3].status, 0x80);
}

TEST(MidiSchedule, EveryEventMustFallOnAFrameOfTheFile) {
  EXPECT_EQ(placementError({"0.5:0.999:60:100"}, 1000, 1000), "");
  const std::string atEnd = placementError({"0.5:1.0:60:100"}, 1000, 1000);
  EXPECT_NE(atEnd.find("'0.5:1.0:60:100' lies outside the file (1 s, 1000 frames)"),
            std::string::npos)
      << atEnd;
  EXPECT_NE(placementError({"2:3:60:100"}, 1000, 1000).find("outside"), std::string::npos);
  EXPECT_NE(placementError({"0:0.1:60:100"}, 1000, 0).find("outside"), std::string::npos);
  EXPECT_NE(placementError({"0.1:0.1004:60:100"}, 1000, 1000).find("shorter than one frame"),
            std::string::npos);
}

TEST(MidiSchedule, HandsEachBlockItsEventsWithOffsets) {
  const std::vector<NoteSpec> notes = {MidiSchedule::parseNote("0.1:0.128:60:100"),
                                       MidiSchedule::parseNote("0.127:0.3:62:80")};
  MidiSchedule schedule(notes, 1000, 400);
  // Blocks of 64: frame 100 is in [64, 128) at 36; frames 127 and 128 straddle a boundary.
  EXPECT_EQ(schedule.eventsForBlock(0, 64), nullptr);
  VstEvents* second = schedule.eventsForBlock(64, 64);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(second->numEvents, 2);
  const auto* first = reinterpret_cast<const VstMidiEvent*>(second->events[0]);
  EXPECT_EQ(first->type, kVstMidiType);
  EXPECT_EQ(first->byteSize, 24);
  EXPECT_EQ(first->deltaFrames, 36);
  EXPECT_EQ(static_cast<unsigned char>(first->midiData[0]), 0x90);
  EXPECT_EQ(first->midiData[1], 60);
  EXPECT_EQ(first->midiData[2], 100);
  EXPECT_EQ(reinterpret_cast<const VstMidiEvent*>(second->events[1])->deltaFrames, 63);
  VstEvents* third = schedule.eventsForBlock(128, 64);
  ASSERT_NE(third, nullptr);
  ASSERT_EQ(third->numEvents, 1);
  const auto* release = reinterpret_cast<const VstMidiEvent*>(third->events[0]);
  EXPECT_EQ(release->deltaFrames, 0);
  EXPECT_EQ(static_cast<unsigned char>(release->midiData[0]), 0x80);
  EXPECT_EQ(release->midiData[2], 0);
  EXPECT_EQ(schedule.eventsForBlock(192, 64), nullptr);
  // A short last block still gets its event.
  VstEvents* last = schedule.eventsForBlock(256, 50);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(reinterpret_cast<const VstMidiEvent*>(last->events[0])->deltaFrames, 44);
}

}  // namespace

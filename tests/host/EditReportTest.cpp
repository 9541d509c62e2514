// The lines the edit command prints for what an editor reports to the host.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "EditReport.h"

namespace {

// An effect of three parameters whose names and displays test the printing: a plain one, one
// with a quote and a line break, and one longer than any host allows.
const char* const kNames[3] = {"Cutoff", "Say \"hi\"\n",
                               "AVeryLongNameThatNoHostWouldEverShowInFull"};
int questions = 0;

VstIntPtr fakeDispatcher(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index, VstIntPtr /*value*/,
                         void* ptr, float /*opt*/) {
  ++questions;
  char* text = static_cast<char*>(ptr);  // the report passes more room than this
  if (opcode == effGetParamName) std::snprintf(text, 64, "%s", kNames[index]);
  if (opcode == effGetParamDisplay) std::snprintf(text, 64, "%s", index == 0 ? "1200 Hz" : "on");
  return 0;
}

TEST(EditReport, PrintsOneLinePerChangeAndGestureAndNothingElse) {
  AEffect effect{};
  effect.dispatcher = fakeDispatcher;
  effect.numParams = 3;
  struct Case {
    VstInt32 opcode;
    VstInt32 index;
    const char* line;
    float value;
    int questionsAsked;
  };
  const Case cases[] = {
      {audioMasterAutomate, 0, "automate 0 \"Cutoff\" 0.250000 \"1200 Hz\"\n", 0.25f, 2},
      {audioMasterBeginEdit, 0, "begin 0 \"Cutoff\"\n", 0.0f, 1},
      {audioMasterEndEdit, 0, "end 0 \"Cutoff\"\n", 0.0f, 1},
      {audioMasterBeginEdit, 1, "begin 1 \"Say ?hi??\"\n", 0.0f, 1},
      {audioMasterEndEdit, 2, "end 2 \"AVeryLongNameThatNoHostWouldEver\"\n", 0.0f, 1},
      // Indices outside the effect's parameters are not asked about.
      {audioMasterAutomate, 3, "automate 3 \"\" 1.000000 \"\"\n", 1.0f, 0},
      {audioMasterBeginEdit, -1, "begin -1 \"\"\n", 0.0f, 0},
      {audioMasterIdle, 0, "", 0.0f, 0},
      {audioMasterWantMidi, 0, "", 0.0f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::ostringstream out;
    questions = 0;
    EditReport(out).hostCall(&effect, c.opcode, c.index, c.value);
    EXPECT_EQ(out.str(), c.line);
    EXPECT_EQ(questions, c.questionsAsked);
  }
}

}  // namespace

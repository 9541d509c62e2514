// Runs a program to completion with its output and error streams captured in files (line
// ends read as "\n" on both platforms).
#pragma once

#include <string>
#include <vector>

struct ChildResult {
  int exitCode = -1;  // 128 + the signal's number when a signal ended it
  int signal = 0;     // the signal that ended it, or 0
  std::string out;
  std::string err;
};

// `arguments[0]` is the program's path; `scratch` is a folder for the captured streams.
ChildResult runChild(const std::vector<std::string>& arguments, const std::string& scratch);

#if !defined(_WIN32)
// The same in two steps, for a test that acts on the running program.
int startChild(const std::vector<std::string>& arguments, const std::string& scratch);
ChildResult finishChild(int processId, const std::string& scratch);
#endif

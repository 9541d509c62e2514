// Runs a program to completion with its output and error streams captured in files (line
// ends read as "\n" on both platforms).
#pragma once

#include <string>
#include <vector>

struct ChildResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// `arguments[0]` is the program's path; `scratch` is a folder for the captured streams.
ChildResult runChild(const std::vector<std::string>& arguments, const std::string& scratch);

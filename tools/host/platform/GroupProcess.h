// Runs one group of validation checks in a child process of this program, with a time limit,
// so that a plug-in that crashes or hangs takes only that group down.
#pragma once

#include <string>
#include <vector>

struct GroupOutcome {
  enum Kind { Exited, Crashed, TimedOut, NotStarted };
  Kind kind = NotStarted;
  unsigned code = 0;    // exit code, signal number or exception code
  std::string console;  // what the child wrote to its standard output and error
};

// Starts this program with `arguments` (not including the program itself), its standard output
// and error captured, and waits at most `timeoutSeconds` before it kills the child.
GroupOutcome runGroupProcess(const std::vector<std::string>& arguments, double timeoutSeconds);

// One word of a Windows command line, quoted so that the C runtime splits it out again
// unchanged (backslashes before quotes doubled).
std::string quotedCommandWord(const std::string& word);

// A new empty file in the temporary folder, named after `stem`; empty when none can be made.
std::string temporaryFile(const std::string& stem);

// The whole content of a file; empty when it cannot be read.
std::string fileText(const std::string& path);

// How a crash of a child shows in its exit: "signal 11", or "exception 0xc0000005" on Windows.
std::string crashText(unsigned code);

// In a child: a crash ends the process at once with its exception code, without the system's
// crash dialog or debugger (Windows; nothing to do elsewhere).
void reportCrashesByExitCode();

// File operations whose system calls differ between the platforms.
#pragma once

#include <string>

// Creates `path` as a new empty file, never opening one that exists; false when it exists or
// cannot be made.
bool createNewFile(const std::string& path);

// Moves `from` over `to`, replacing the file `to` names; empty when done, else the reason.
std::string replaceFile(const std::string& from, const std::string& to);

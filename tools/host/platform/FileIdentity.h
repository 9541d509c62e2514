// Whether two paths name the same file, whatever the spelling: links, "..", other names of a
// hard-linked file.
#pragma once

#include <string>

// False when either path does not exist or cannot be examined.
bool sameFile(const std::string& first, const std::string& second);

// Strict number parsing for command-line values: the whole text must be the number.
#pragma once

#include <string>

// A finite decimal number such as "0.3", "2" or "1e-3"; false for anything else.
bool parseDecimal(const std::string& text, double* value);
// A decimal integer such as "60"; false for anything else, including "60.0".
bool parseInteger(const std::string& text, long* value);

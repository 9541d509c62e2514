#include "NumberText.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {
// strtod and strtol skip leading blanks; a value on the command line may not have any.
bool startsCleanly(const std::string& text) {
  return !text.empty() && !std::isspace(static_cast<unsigned char>(text[0]));
}
}  // namespace

bool parseDecimal(const std::string& text, double* value) {
  if (!startsCleanly(text)) return false;
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno != 0 || !std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}

bool parseInteger(const std::string& text, long* value) {
  if (!startsCleanly(text)) return false;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno != 0) return false;
  *value = parsed;
  return true;
}

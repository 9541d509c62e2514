#include "CheckReport.h"

#include <cstdint>

namespace {

const char* const kStatusWords[] = {"PASS", "FAIL", "SKIP", "WARN"};
constexpr int kStatusCount = sizeof kStatusWords / sizeof kStatusWords[0];
const char kFinishLine[] = "END";

// Report lines are tab-separated; tabs and line ends inside a text would break them.
std::string flattened(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

void CheckReport::add(CheckStatus status, const std::string& what, const std::string& figure) {
  if (status == CheckStatus::Fail) ++failed;
  if (file == nullptr) return;
  std::fprintf(file, "%s\t%s\t%s\n", kStatusWords[static_cast<int>(status)],
               flattened(what).c_str(), flattened(figure).c_str());
  std::fflush(file);
}

void CheckReport::finish() {
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", kFinishLine);
  std::fflush(file);
}

bool isFinishLine(const std::string& line) { return line == kFinishLine; }

bool parseCheckLine(const std::string& line, CheckLine* parsed) {
  const size_t first = line.find('\t');
  const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
  if (second == std::string::npos) return false;
  const std::string word = line.substr(0, first);
  for (int status = 0; status < kStatusCount; ++status) {
    if (word != kStatusWords[status]) continue;
    parsed->status = static_cast<CheckStatus>(status);
    parsed->what = line.substr(first + 1, second - first - 1);
    parsed->figure = line.substr(second + 1);
    return true;
  }
  return false;
}

std::string formatCheckLine(const std::string& group, const CheckLine& line) {
  std::string text =
      std::string(kStatusWords[static_cast<int>(line.status)]) + "  " + group + ": " + line.what;
  if (!line.figure.empty()) text += ": " + line.figure;
  return text;
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

#include "CheckReport.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "StepWatchdog.h"

namespace {

const char* const kStatusWords[] = {"PASS", "FAIL", "SKIP", "WARN"};
constexpr int kStatusCount = sizeof kStatusWords / sizeof kStatusWords[0];
const char kFinishLine[] = "END";
const char kHungWord[] = "HUNG";
const char kStepWord[] = "STEP";
const char kNameWord[] = "NAME";
const char kValueWord[] = "SET";
const char kRenderWord[] = "RENDER";

// The tab-separated fields of a report line.
std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  for (size_t start = 0;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// A whole decimal number, or -1.
int wholeNumber(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || value < 0 || value > kMaxTrailParameters) return -1;
  return static_cast<int>(value);
}

// Report lines are tab-separated; tabs and line ends inside a text would break them.
std::string flattened(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

void CheckReport::add(CheckStatus status, const std::string& what, const std::string& figure) {
  // Up to the step to carry on after, an earlier child has reported already.
  lastLineKept = false;
  if (steps <= firstStep && firstStep > 0) return;
  StepWatchdog::noteProgress();
  if (!onlyCheck.empty() && what != onlyCheck && what != kExceptionCheck) return;
  lastLineKept = true;
  if (status == CheckStatus::Fail) ++failed;
  if (file == nullptr) return;
  std::fprintf(file, "%s\t%s\t%s\n", kStatusWords[static_cast<int>(status)],
               flattened(what).c_str(), flattened(figure).c_str());
  std::fflush(file);
}

bool CheckReport::step(const std::string& what, bool doubtful, const std::string& reproduce) {
  const int index = steps++;
  StepWatchdog::noteProgress();
  const bool kept = onlyCheck.empty() || what == onlyCheck;
  const bool rehearsed = !kept && rehearsing && !keptStepReached;
  // Also when skipped by a child carrying on after it: no step after it runs.
  if (!onlyCheck.empty() && what == onlyCheck) keptStepReached = true;
  if (index < firstStep || (!kept && !rehearsed)) return false;
  if (stepStarting) stepStarting(index);
  if (file != nullptr) {
    std::fprintf(file, "%s\t%d\t%d\t%s\t%s\n", kStepWord, index, doubtful ? 1 : 0,
                 flattened(what).c_str(), flattened(reproduce).c_str());
    std::fflush(file);
  }
  return true;
}

void CheckReport::parameterName(int index, const std::string& name) {
  if (file == nullptr) return;
  std::fprintf(file, "%s\t%d\t%s\n", kNameWord, index, flattened(name).c_str());
}

void CheckReport::parameterValue(int index, float value) {
  if (file == nullptr) return;
  // Flushed at once: the line must survive a hang that follows it.
  std::fprintf(file, "%s\t%d\t%.9f\n", kValueWord, index, static_cast<double>(value));
  std::fflush(file);
}

bool ParameterTrail::read(const std::string& line) {
  const std::vector<std::string> fields = fieldsOf(line);
  if (fields.size() != 3 || (fields[0] != kNameWord && fields[0] != kValueWord)) return false;
  const int index = wholeNumber(fields[1]);
  if (index < 0) return false;
  if (static_cast<size_t>(index) >= names.size()) {
    names.resize(static_cast<size_t>(index) + 1);
    values.resize(static_cast<size_t>(index) + 1);
  }
  (fields[0] == kNameWord ? names : values)[static_cast<size_t>(index)] = fields[2];
  return true;
}

std::string ParameterTrail::renderOptions() const {
  std::string options;
  for (size_t i = 0; i < names.size(); ++i)
    if (!names[i].empty() && !values[i].empty())
      options += " --set \"" + names[i] + "=" + values[i] + "\"";
  return options;
}

bool parseStepLine(const std::string& line, StepLine* parsed) {
  const std::vector<std::string> fields = fieldsOf(line);
  constexpr size_t kStepFields = 5;
  if (fields.size() != kStepFields || fields[0] != kStepWord) return false;
  const int index = wholeNumber(fields[1]);
  if (index < 0) return false;
  parsed->index = index;
  parsed->doubtful = fields[2] == "1";
  parsed->what = fields[3];
  parsed->reproduce = fields[4];
  return true;
}

void CheckReport::renderReproduces(bool reproduces) {
  if (file == nullptr || !lastLineKept) return;
  std::fprintf(file, "%s\t%d\n", kRenderWord, reproduces ? 1 : 0);
  std::fflush(file);
}

bool parseRenderReproducesLine(const std::string& line, bool* reproduces) {
  const std::vector<std::string> fields = fieldsOf(line);
  if (fields.size() != 2 || fields[0] != kRenderWord) return false;
  *reproduces = fields[1] == "1";
  return true;
}

void CheckReport::finish() {
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", kFinishLine);
  std::fflush(file);
}

bool isFinishLine(const std::string& line) { return line == kFinishLine; }

void CheckReport::hung(double seconds) {
  if (file == nullptr) return;
  std::fprintf(file, "%s\t%.1f\n", kHungWord, seconds);
  std::fflush(file);
}

bool parseHungLine(const std::string& line, double* seconds) {
  const std::vector<std::string> fields = fieldsOf(line);
  if (fields.size() != 2 || fields[0] != kHungWord) return false;
  char* end = nullptr;
  *seconds = std::strtod(fields[1].c_str(), &end);
  return end != fields[1].c_str() && *end == '\0';
}

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

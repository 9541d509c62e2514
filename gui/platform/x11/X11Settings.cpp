// User settings in a small text file of "section/name=value" lines, in the user's configuration
// directory ($XDG_CONFIG_HOME, else ~/.config) under ferrowin/editor.conf, where desktop
// programs keep theirs. A file that cannot be read or written only loses the setting.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "../PlatformSettings.h"

namespace gui {
namespace platform {

namespace {

constexpr const char* kDirectory = "ferrowin";
constexpr const char* kFile = "editor.conf";

// The configuration directory, empty when the environment names none.
std::string configDirectory() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.config";
  return "";
}

bool validPart(const char* text) {
  if (!text || !*text) return false;
  for (const char* p = text; *p; ++p)
    if (*p == '=' || *p == '\n' || *p == '/') return false;
  return true;
}

using Settings = std::map<std::string, std::string>;

Settings readAll(const std::string& path) {
  Settings settings;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) settings[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return settings;
}

}  // namespace

bool readUserSetting(const char* section, const char* name, int32_t& value) {
  const std::string directory = configDirectory();
  if (directory.empty() || !validPart(section) || !validPart(name)) return false;
  const Settings settings = readAll(directory + "/" + kDirectory + "/" + kFile);
  const auto it = settings.find(std::string(section) + "/" + name);
  if (it == settings.end()) return false;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(it->second.c_str(), &end, 10);
  if (end == it->second.c_str() || *end != '\0' || errno != 0 || parsed < INT32_MIN ||
      parsed > INT32_MAX)
    return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

bool writeUserSetting(const char* section, const char* name, int32_t value) {
  const std::string directory = configDirectory();
  if (directory.empty() || !validPart(section) || !validPart(name)) return false;
  const std::string own = directory + "/" + kDirectory;
  mkdir(directory.c_str(), 0700);  // either exists afterwards, or the file cannot be written
  mkdir(own.c_str(), 0700);
  const std::string path = own + "/" + kFile;
  Settings settings = readAll(path);
  settings[std::string(section) + "/" + name] = std::to_string(value);
  // Written whole beside the file and renamed over it, so that a reader never sees half of it.
  const std::string written = path + ".new";
  {
    std::ofstream out(written, std::ios::trunc);
    for (const auto& setting : settings) out << setting.first << '=' << setting.second << '\n';
    out.flush();
    if (!out) {
      std::remove(written.c_str());
      return false;
    }
  }
  return std::rename(written.c_str(), path.c_str()) == 0;
}

}  // namespace platform
}  // namespace gui

// Writes the bundle's manifest.ttl and plug-in description into a folder, at build time:
//   ferrowin-lv2-describe FOLDER BINARY_NAME
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "ParameterTable.h"
#include "TurtleDescription.h"

namespace {

constexpr const char* kDescriptionName = "Ferrowin.ttl";

bool write(const std::string& path, void (*fill)(std::ostream&, const std::string&),
           const std::string& binaryName) {
  std::ofstream out(path);
  fill(out, binaryName);
  out.close();
  if (out) return true;
  std::fprintf(stderr, "error: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER BINARY_NAME\n", argv[0]);
    return 2;
  }
  // Port symbols are what hosts store a session's values under: two alike would mix them up.
  std::set<std::string> symbols;
  for (const ParameterInfo& parameter : kParameterTable) {
    if (!symbols.insert(TurtleDescription::symbolOf(parameter.name)).second) {
      std::fprintf(stderr, "error: two parameters share the port symbol of \"%s\"\n",
                   parameter.name);
      return 1;
    }
  }
  const std::string folder = argv[1];
  const bool written =
      write(
          folder + "/manifest.ttl",
          [](std::ostream& out, const std::string& binary) {
            TurtleDescription::writeManifest(out, binary, kDescriptionName);
          },
          argv[2]) &&
      write(
          folder + "/" + kDescriptionName,
          [](std::ostream& out, const std::string&) { TurtleDescription::writePlugin(out); },
          argv[2]);
  return written ? 0 : 1;
}

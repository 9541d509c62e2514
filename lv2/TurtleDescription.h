// The bundle's description in Turtle, made from the parameter table and the adapter's ports, so
// that nothing in it is written down a second time.
#pragma once

#include <ostream>
#include <string>

class TurtleDescription {
 public:
  // The manifest: the plug-in's URI, its binary (a file name in the bundle) and description.
  static void writeManifest(std::ostream& out, const std::string& binaryName,
                            const std::string& descriptionName);
  // The plug-in: name, features and every port.
  static void writePlugin(std::ostream& out);

  // A port symbol from a parameter name: lower case, every character outside a-z and 0-9 an
  // underscore ("EF1.Osc.AM" becomes "ef1_osc_am").
  static std::string symbolOf(const char* name);
  // The shortest decimal that reads back as exactly `value`, always with a point or an exponent
  // (a Turtle decimal, not an integer).
  static std::string decimalOf(float value);
  // `text` as a quoted Turtle string.
  static std::string quoted(const std::string& text);
};

// The command-line form of `validate` and of the hidden `validate-group` that the validator
// starts for each group.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

#include "ValidationContext.h"

class ValidateCommandLine {
 public:
  void add(CLI::App& app);
  // Whether one of the two commands was chosen.
  bool chosen() const;
  int run(std::ostream& out, std::ostream& err) const;

 private:
  CLI::App* validate = nullptr;
  CLI::App* group = nullptr;
  ValidateOptions options;
  std::string groupName;
  std::string reportPath;
  int afterStep = -1;
};

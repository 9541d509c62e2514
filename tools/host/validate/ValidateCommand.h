// The `validate` command: runs every group of checks against a plug-in, each in a child process
// with a time limit, prints one line per check and "N passed, M failed".
#pragma once

#include <ostream>
#include <string>

#include "ValidationContext.h"

// Returns the exit code: 0 when no check failed, 1 otherwise (also when the plug-in's file
// cannot be opened, which is said in one line on `err`).
int runValidate(const ValidateOptions& options, std::ostream& out, std::ostream& err);

// In the child: runs one group and writes its lines to `reportPath`, skipping the steps up to
// `afterStep` (-1: none). Returns the exit code.
int runValidateGroup(const std::string& group, const ValidateOptions& options,
                     const std::string& reportPath, int afterStep);

// The time limit of one group at `level`, seconds.
double groupTimeLimitSeconds(int level);

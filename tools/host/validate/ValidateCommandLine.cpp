#include "ValidateCommandLine.h"

#include <string>
#include <vector>

#include "ValidateCommand.h"
#include "ValidationGroups.h"

namespace {

void addShared(CLI::App& command, ValidateOptions& options) {
  command.add_option("plugin", options.pluginPath, "path of the plug-in library")->required();
  command.add_option("--level", options.level, "amount of work per check, 1 to 10")
      ->capture_default_str()
      ->check(CLI::Range(1, 10));
  command.add_option("--seed", options.seed, "seed of the random values and noise")
      ->capture_default_str();
}

}  // namespace

void ValidateCommandLine::add(CLI::App& app) {
  validate = app.add_subcommand(
      "validate", "check that the plug-in survives what hosts do; exit 0 when nothing failed");
  addShared(*validate, options);
  validate
      ->add_option("--timeout", options.timeoutSeconds,
                   "time limit of each group of checks, seconds (default 10 + 3 x level)")
      ->check(CLI::Range(0.1, 3600.0));
  std::vector<std::string> groups;
  groups.reserve(kValidationGroupCount);
  for (int i = 0; i < kValidationGroupCount; ++i) groups.emplace_back(kValidationGroups[i].name);
  CLI::Option* onlyGroup =
      validate->add_option("--group", options.onlyGroup, "run this group of checks alone")
          ->check(CLI::IsMember(groups));
  validate
      ->add_option("--check", options.onlyCheck,
                   "in that group, report this check alone (named as the validator prints it), "
                   "as the reproduce lines do")
      ->needs(onlyGroup);
  validate->add_option("--json", options.jsonPath, "also write the results to this file as JSON");
  validate->add_flag("--in-process", options.inProcess,
                     "run the groups in this process, for a debugger: a crash or hang ends the "
                     "validation, and no time limit applies");

  group = app.add_subcommand("validate-group", "");
  group->group("");  // started by validate only
  group->add_option("group", groupName)->required();
  addShared(*group, options);
  group->add_option("--report", reportPath)->required();
  group->add_option("--after-step", afterStep);
  group->add_option("--check", options.onlyCheck);
  group->add_option("--step-limit", options.stepLimitSeconds);
}

bool ValidateCommandLine::chosen() const { return *validate || *group; }

int ValidateCommandLine::run(std::ostream& out, std::ostream& err) const {
  if (*group) return runValidateGroup(groupName, options, reportPath, afterStep);
  return runValidate(options, out, err);
}

// ferrowin-host: a small command-line host that loads a plug-in by path and drives it only
// through its interface record.
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "HostCallback.h"
#include "InfoReport.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

int main(int argc, char** argv) {
  CLI::App app{"Loads a plug-in and drives it as a host does."};
  app.require_subcommand(1);

  std::string pluginPath;
  CLI::App* info = app.add_subcommand("info", "print the effect's identity, parameters and capabilities");
  info->add_option("plugin", pluginPath, "path of the plug-in library")->required();

  CLI11_PARSE(app, argc, argv);

  PluginLibrary library;
  if (!library.load(pluginPath)) {
    std::cerr << "error: " << library.error() << "\n";
    return 1;
  }
  HostCallback host;
  PluginInstance plugin(library.entry(), HostCallback::dispatch);
  if (!plugin.valid()) {
    std::cerr << "error: " << pluginPath << " created no effect\n";
    return 1;
  }
  if (*info) printInfo(std::cout, plugin, host);
  plugin.close();
  return 0;
}

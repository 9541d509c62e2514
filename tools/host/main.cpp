// ferrowin-host: a small command-line host that loads a plug-in by path and drives it only
// through its interface record.
#include <CLI/CLI.hpp>
#include <iostream>
#include <stdexcept>
#include <string>
#include <utility>

#include "EditCommand.h"
#include "HostCallback.h"
#include "InfoReport.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"
#include "RenderCommand.h"
#include "ValidateCommandLine.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 1;

int runInfo(const std::string& pluginPath) {
  PluginLibrary library;
  if (!library.load(pluginPath)) {
    std::cerr << "error: " << library.error() << "\n";
    return kFailure;
  }
  HostCallback host;
  PluginInstance plugin(library.entry(), HostCallback::dispatch);
  if (!plugin.valid()) {
    std::cerr << "error: " << pluginPath << " created no effect\n";
    return kFailure;
  }
  // Opened as every host opens an effect before it asks it anything: many fill their texts,
  // programs and chunks in effOpen.
  plugin.dispatch(effOpen);
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, host.sampleRateHz);
  plugin.dispatch(effSetBlockSize, 0, host.blockSize);
  std::cout << pluginPath << "\n";
  printInfo(std::cout, plugin, host);
  // Out before the plug-in closes and unloads: a plug-in that crashes there still leaves its
  // report, and the status tells of the crash.
  std::cout << std::flush;
  plugin.close();
  return 0;
}

// Runs before the range check, whose message for a word would be "not in range".
const CLI::Validator kWholeNumber(
    [](const std::string& text) {
      const size_t digits = text.rfind('-', 0) == 0 ? 1 : 0;  // a sign is the range's concern
      const bool number =
          text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
      return number ? std::string() : "'" + text + "' is not a number";
    },
    "", "whole number");

void addRenderOptions(CLI::App& render, RenderOptions& options) {
  const std::string wav = "WAV file, or raw data with --raw";
  render.add_option("plugin", options.pluginPath, "path of the plug-in library")->required();
  // Not required by the parser: with --seconds the only path after the plug-in is the output.
  render.add_option("input", options.inputPath,
                    "input " + wav + " (WAV: mono or stereo, 16- or 24-bit PCM or 32-bit float)");
  render.add_option("output", options.outputPath, "output " + wav + " (stereo, 32-bit float)");
  render
      .add_option("--seconds", options.seconds,
                  "no input file: render this many seconds of silence (for instruments, with "
                  "--note; at --rate, default 44100 Hz)")
      ->check(CLI::Range(0.001, 86400.0));
  render.add_option("--block", options.blockFrames, "frames per processing block")
      ->capture_default_str()
      ->check(kWholeNumber)
      ->check(CLI::Range(1, 65536));
  render
      .add_option("--set", options.settings,
                  "set a parameter by name to a normalized value 0..1 (repeatable)")
      ->type_name("NAME=VALUE")
      ->allow_extra_args(false);
  render
      .add_option("--note", options.notes,
                  "play a MIDI note: start and end in seconds, key 0..127, velocity 1..127 "
                  "(repeatable)")
      ->type_name("START:END:KEY:VELOCITY")
      ->allow_extra_args(false);
  render.add_flag("--raw", options.raw,
                  "input and output are raw 32-bit float little-endian interleaved stereo");
  render.add_option("--rate", options.rawRateHz, "sample rate of raw input or of --seconds, Hz")
      ->type_name("HZ")
      ->check(kWholeNumber)
      ->check(CLI::Range(kMinSampleRateHz, kMaxSampleRateHz));
  render.add_flag("--print-peak", options.printPeak,
                  "print frames processed and each output channel's peak and RMS level");
}

// The paths after the plug-in: INPUT OUTPUT, or only OUTPUT with --seconds. Empty when they
// fit; else the parse error.
std::string arrangePaths(RenderOptions& options) {
  if (options.seconds > 0.0 && options.outputPath.empty())
    std::swap(options.inputPath, options.outputPath);
  if (options.seconds > 0.0 && !options.inputPath.empty())
    return "--seconds renders silence: give only the OUTPUT after the plug-in, no INPUT";
  if (options.seconds <= 0.0 && options.inputPath.empty()) return "input is required";
  if (options.outputPath.empty()) return "output is required";
  return "";
}

void addEditOptions(CLI::App& edit, EditOptions& options) {
  edit.add_option("plugin", options.pluginPath, "path of the plug-in library")->required();
  edit.add_option("--seconds", options.seconds,
                  "close the editor after this many seconds (default: when the window is closed)")
      ->check(CLI::Range(0.001, 86400.0));
  edit.add_option("--idle-ms", options.idleMs, "milliseconds between the editor's idle calls")
      ->capture_default_str()
      ->check(CLI::Range(10, 1000));
  edit.add_option("--automate", options.automation.rateHz,
                  "set the automated parameters this many times a second while the editor is "
                  "open, then as long again with it closed")
      ->type_name("HZ")
      ->check(CLI::Range(1.0, 1000.0));
  edit.add_option_function<std::string>(
          "--parameters",
          [&options](const std::string& text) {
            try {
              options.automation.indices = parseParameterList(text);
            } catch (const std::invalid_argument& error) {
              throw CLI::ValidationError("--parameters", error.what());
            }
          },
          "the parameters --automate sets, as indices (0,5,15); default: all")
      ->type_name("LIST");
  edit.add_flag("--cpu", options.automation.measureCpu,
                "print the CPU time the process used per second with the editor open (and, "
                "with --automate, closed)");
}

int run(int argc, char** argv) {
  CLI::App app{"Loads a plug-in and drives it as a host does."};
  app.require_subcommand(1);
  // Paths such as /tmp/in.f32 are paths under Wine too, never options.
  app.allow_windows_style_options(false);

  std::string infoPluginPath;
  CLI::App* info =
      app.add_subcommand("info", "print the effect's identity, parameters and capabilities");
  info->add_option("plugin", infoPluginPath, "path of the plug-in library")->required();

  RenderOptions renderOptions;
  CLI::App* render =
      app.add_subcommand("render", "run an audio file through the effect, block by block");
  addRenderOptions(*render, renderOptions);

  EditOptions editOptions;
  CLI::App* edit = app.add_subcommand(
      "edit", std::string("open the plug-in's editor in a window and print every parameter "
                          "change and gesture it reports") +
                  (editSupported() ? "" : " (Windows build only)"));
  addEditOptions(*edit, editOptions);

  ValidateCommandLine validate;
  validate.add(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    std::cerr << "error: " << e.what() << "\n";
    return kUsageError;
  }

  if (*render) {
    const std::string error = arrangePaths(renderOptions);
    if (!error.empty()) {
      std::cerr << "error: " << error << "\n";
      return kUsageError;
    }
  }
  if (*info) return runInfo(infoPluginPath);
  if (validate.chosen()) return validate.run(std::cout, std::cerr);
  try {
    if (*edit) {
      runEdit(editOptions, std::cout);
      return 0;
    }
    runRender(renderOptions, std::cout);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << "\n";
    return kFailure;
  }
  return 0;
}

}  // namespace

// Whatever escapes a command (a plug-in's exception, memory running out) still ends in one
// line and the failure status, never in an abort.
int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "error: an unknown exception ended the program\n";
  }
  return kFailure;
}

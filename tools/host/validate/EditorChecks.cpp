// Editor (Windows build, where a window can be made): its size once it is open (a plug-in may
// know no size before effEditOpen, as it may need the display to measure), opened and closed
// twice, opened while processing is off, parameters changed from a second thread while the
// editor opens and closes, and effClose with the window still open.
#include <atomic>
#include <random>
#include <string>
#include <thread>

#include "EditorHostWindow.h"
#include "ValidationGroups.h"

namespace {

std::string sizeText(PluginInstance& plugin) {
  ERect* rect = nullptr;
  const VstIntPtr answered = plugin.dispatch(effEditGetRect, 0, 0, &rect);
  if (!answered || rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top)
    return "";
  return std::to_string(rect->right - rect->left) + " x " +
         std::to_string(rect->bottom - rect->top);
}

void checkSize(PluginInstance& plugin, EditorHostWindow& host, CheckReport& report) {
  const std::string before = sizeText(plugin);
  plugin.dispatch(effEditOpen, 0, 0, host.handle());
  EditorHostWindow::pumpMessages();
  const std::string after = sizeText(plugin);
  plugin.dispatch(effEditClose);
  EditorHostWindow::pumpMessages();
  report.check(!after.empty(), "effEditGetRect gives a size once the editor is open",
               (after.empty() ? "no rectangle" : after) +
                   " (before effEditOpen: " + (before.empty() ? "none, accepted" : before) + ")");
}

// Opens the editor, idles it a few times and closes it; an empty text when all went well.
std::string openIdleClose(PluginInstance& plugin, EditorHostWindow& host, int idles) {
  const VstIntPtr opened = plugin.dispatch(effEditOpen, 0, 0, host.handle());
  EditorHostWindow::pumpMessages();
  void* window = host.editorWindow();
  for (int i = 0; i < idles; ++i) {
    plugin.dispatch(effEditIdle);
    EditorHostWindow::pumpMessages();
  }
  plugin.dispatch(effEditClose);
  EditorHostWindow::pumpMessages();
  if (!opened) return "effEditOpen answered 0";
  if (window == nullptr) return "no window inside the host's";
  if (EditorHostWindow::exists(window)) return "window still there after effEditClose";
  return "";
}

}  // namespace

void checkEditor(ValidationContext& context, CheckReport& report) {
  std::unique_ptr<PluginInstance> plugin = context.openChecked(report);
  if (!plugin) return;
  if (!(plugin->record()->flags & effFlagsHasEditor))
    return report.skip("editor checks", "the plug-in has no editor");
  EditorHostWindow host;
  if (!host.made()) return report.skip("editor checks", host.whyNot());
  const int idles = 2 + context.options.level;
  checkSize(*plugin, host, report);

  setProcessing(*plugin, true);
  for (int round = 1; round <= 2; ++round) {
    const std::string fault = openIdleClose(*plugin, host, idles);
    report.check(fault.empty(), "open, idle and close, round " + std::to_string(round),
                 fault.empty() ? std::to_string(idles) + " idle calls" : fault);
  }
  setProcessing(*plugin, false);
  std::string fault = openIdleClose(*plugin, host, idles);
  report.check(fault.empty(), "opened while processing is off", fault.empty() ? "closed" : fault);

  std::atomic<bool> running{true};
  std::atomic<long> changes{0};
  std::thread automation([&] {
    std::mt19937 random(context.options.seed);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    const VstInt32 parameters = plugin->record()->numParams;
    while (running && parameters > 0) {
      plugin->setParameter(static_cast<VstInt32>(random() % parameters), value(random));
      ++changes;
    }
  });
  for (int round = 0; round < 3 && fault.empty(); ++round)
    fault = openIdleClose(*plugin, host, idles);
  running = false;
  automation.join();
  report.check(fault.empty(), "parameters from a second thread during open and close",
               fault.empty() ? std::to_string(changes.load()) + " changes" : fault);

  plugin->dispatch(effEditOpen, 0, 0, host.handle());
  EditorHostWindow::pumpMessages();
  void* window = host.editorWindow();
  plugin->close();
  EditorHostWindow::pumpMessages();
  const bool gone = !EditorHostWindow::exists(window);
  report.check(gone, "effClose with the window open",
               gone ? "window closed with the effect" : "the editor's window outlived the effect");
}

// The user interface binary's entry point: its descriptor, whose functions forward to
// Lv2EditorUi, with the idle interface as its only extension data.
#include <cstring>

#include "Lv2EditorUi.h"

namespace {

Lv2EditorUi* ui(LV2UI_Handle handle) { return static_cast<Lv2EditorUi*>(handle); }

LV2UI_Handle instantiate(const LV2UI_Descriptor* /*descriptor*/, const char* /*pluginUri*/,
                         const char* /*bundlePath*/, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
  return Lv2EditorUi::create(write, controller, features, widget);
}

void cleanup(LV2UI_Handle handle) { delete ui(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format,
               const void* buffer) {
  ui(handle)->portEvent(port, bufferSize, format, buffer);
}

int idle(LV2UI_Handle handle) { return ui(handle)->idle(); }

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri) {
  return uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {Lv2EditorUi::kUri, instantiate, cleanup, portEvent,
                                      extensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}

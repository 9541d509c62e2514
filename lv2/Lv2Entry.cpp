// The bundle's entry point: the plug-in's descriptor, whose functions forward to Lv2Adapter.
#include "Lv2Adapter.h"

namespace {

Lv2Adapter* adapter(LV2_Handle instance) { return static_cast<Lv2Adapter*>(instance); }

LV2_Handle instantiate(const LV2_Descriptor* /*descriptor*/, double rateHz,
                       const char* /*bundlePath*/, const LV2_Feature* const* features) {
  return Lv2Adapter::create(rateHz, features);
}

void connectPort(LV2_Handle instance, uint32_t port, void* data) {
  adapter(instance)->connect(port, data);
}

void activate(LV2_Handle instance) { adapter(instance)->activate(); }

void run(LV2_Handle instance, uint32_t frames) { adapter(instance)->run(frames); }

void deactivate(LV2_Handle instance) { adapter(instance)->deactivate(); }

void cleanup(LV2_Handle instance) { delete adapter(instance); }

const void* extensionData(const char* /*uri*/) { return nullptr; }

const LV2_Descriptor kDescriptor = {Lv2Adapter::kUri, instantiate, connectPort,  activate, run,
                                    deactivate,       cleanup,     extensionData};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}

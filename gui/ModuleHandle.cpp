#include "ModuleHandle.h"

namespace gui {

namespace {
void* moduleHandle = nullptr;
}

void* getModuleHandle() { return moduleHandle; }
void setModuleHandle(void* handle) { moduleHandle = handle; }

}  // namespace gui

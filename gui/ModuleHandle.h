// The instance handle of the module that carries the toolkit: its resources and window class.
#pragma once

namespace gui {

// Null until the library's load entry (or a test program) sets it.
void* getModuleHandle();
void setModuleHandle(void* handle);

}  // namespace gui

// A shared library that exports a function but no plug-in entry point.
#include "TestPluginExport.h"

TEST_PLUGIN_EXPORT int notAnEntryPoint() { return 1; }

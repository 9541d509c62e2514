// How the test plug-ins export their entry point (and the gain plug-in its log) undecorated.
#pragma once

#if defined(_WIN32)
#define TEST_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The library's entry point, exported as VSTPluginMain and as main (one function, two names).
#include <new>

#include "Ferrowin.h"

#if defined(_WIN32)
#define FERROWIN_EXPORT  // the module definition file exports both names
#else
#define FERROWIN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" FERROWIN_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
  if (audioMaster == nullptr) return nullptr;
  // A host that answers 0 to the version query is too old, or not a host.
  if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  Ferrowin* effect = new (std::nothrow) Ferrowin(audioMaster);
  return effect ? effect->getAeffect() : nullptr;
}

#if defined(FERROWIN_MAIN_ALIAS)
// Older Linux hosts look for "main"; ::main cannot be declared with this signature, so the
// second name is an alias bound through an assembler label. (On Windows the module
// definition file gives the second name; test programs have a main of their own.)
extern "C" FERROWIN_EXPORT AEffect* vstPluginMainAlias(audioMasterCallback audioMaster) __asm__(
    "main") __attribute__((alias("VSTPluginMain")));
#endif

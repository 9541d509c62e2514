// What the leak checker of the sanitizer builds leaves out: the font library's per-process
// cache, which it never frees and which a plug-in that draws text fills. Programs that load
// such plug-ins compile this file in; other builds never call the function.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the sanitizer runtime's hook has this name
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

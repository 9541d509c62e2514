// Removes the output's temporary file when the process is stopped by a signal (Ctrl-C,
// SIGTERM, SIGHUP, or SIGXFSZ from a file-size limit) or crashes (a plug-in runs in this
// process), then lets the signal end the process as it would have without the handler, so the
// caller sees the usual signal status. On Windows a crash removes the file too.
#pragma once

namespace InterruptCleanup {

// Installs the handlers once and removes `path` on a signal or crash until forget() is called.
// `path` must stay valid until then; one path at a time.
void remove(const char* path);
void forget();

}  // namespace InterruptCleanup

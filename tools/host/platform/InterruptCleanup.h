// Removes the output's temporary file when the process is stopped by a signal (Ctrl-C,
// SIGTERM, SIGHUP, or SIGXFSZ from a file-size limit), then lets the signal end the process as
// it would have without the handler, so the caller sees the usual signal status.
#pragma once

namespace InterruptCleanup {

// Installs the handlers once (POSIX only; a no-op on Windows) and removes `path` on a signal
// until forget() is called. `path` must stay valid until then; one path at a time.
void remove(const char* path);
void forget();

}  // namespace InterruptCleanup

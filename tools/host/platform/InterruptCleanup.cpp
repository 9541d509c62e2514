#include "InterruptCleanup.h"

#include <atomic>

#if defined(_WIN32)
#include <windows.h>

#include <cstdio>
#else
#include <unistd.h>

#include <csignal>
#endif

namespace {

// Read by the signal handler, so it must be lock-free to be safe there.
std::atomic<const char*> doomedPath{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free, "read from a signal handler");

#if defined(_WIN32)
// Ends the process with the exception's code, as a crash does, but without the system's crash
// dialog or debugger, which would keep a scripted render waiting.
LONG WINAPI onCrash(EXCEPTION_POINTERS* exception) {
  if (const char* path = doomedPath.exchange(nullptr)) {
    // Windows deletes an open file only where its opener allowed it, as the WAV writer does:
    // the raw output's C stream is closed first.
    _fcloseall();
    DeleteFileA(path);
  }
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

void install() {
  static const bool installed = [] {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(onCrash);
    return true;
  }();
  (void)installed;
}
#else
// Stops, then crashes: after the handler the faulting instruction runs again and ends the
// process with its usual signal.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ, SIGSEGV,
                            SIGBUS, SIGFPE,  SIGILL, SIGABRT};

// Only async-signal-safe calls: unlink, sigaction, raise.
void onSignal(int signal) {
  if (const char* path = doomedPath.exchange(nullptr)) unlink(path);
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  raise(signal);  // delivered when the handler returns, as the signal is blocked until then
}

void install() {
  static const bool installed = [] {
    for (int signal : kSignals) {
      struct sigaction previous {};
      sigaction(signal, nullptr, &previous);
      // A signal the caller chose to ignore (nohup, a shell's background job) stays ignored.
      if (previous.sa_handler == SIG_IGN) continue;
      struct sigaction action {};
      action.sa_handler = onSignal;
      sigemptyset(&action.sa_mask);
      for (int other : kSignals) sigaddset(&action.sa_mask, other);
      sigaction(signal, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
}
#endif

}  // namespace

namespace InterruptCleanup {

void remove(const char* path) {
  install();
  doomedPath.store(path);
}

void forget() { doomedPath.store(nullptr); }

}  // namespace InterruptCleanup

#include "GroupProcess.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

#if defined(_WIN32)
std::string selfPath() {
  char path[MAX_PATH * 2];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, length);
}

LONG WINAPI exitWithExceptionCode(EXCEPTION_POINTERS* exception) {
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

GroupOutcome run(const std::vector<std::string>& arguments, const std::string& consolePath,
                 double timeoutSeconds) {
  GroupOutcome outcome;
  const std::string program = selfPath();
  std::string commandLine = quotedCommandWord(program);
  for (const std::string& word : arguments) commandLine += " " + quotedCommandWord(word);
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  HANDLE console =
      CreateFileA(consolePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (console == INVALID_HANDLE_VALUE) return outcome;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = console;
  startup.hStdError = console;
  PROCESS_INFORMATION process{};
  // Under Wine a start now and then fails for no reason of the program's own; try again.
  BOOL started = FALSE;
  for (int attempt = 0; attempt < 3 && !started; ++attempt)
    started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                             nullptr, &startup, &process);
  CloseHandle(console);
  if (!started) return outcome;
  const auto timeoutMs = static_cast<DWORD>(timeoutSeconds * 1000.0);
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    outcome.kind = GroupOutcome::TimedOut;
  } else {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    outcome.code = code;
    // Exception codes have the two top bits set (0xC0000005 is an access violation).
    outcome.kind =
        (code & 0xC0000000u) == 0xC0000000u ? GroupOutcome::Crashed : GroupOutcome::Exited;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return outcome;
}
#else
std::string selfPath() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

GroupOutcome run(const std::vector<std::string>& arguments, const std::string& consolePath,
                 double timeoutSeconds) {
  GroupOutcome outcome;
  const std::string program = selfPath();
  std::vector<std::string> words = {program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, consolePath.c_str(), O_WRONLY | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t child = 0;
  const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return outcome;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  int status = 0;
  // The child is polled rather than waited for, so that a hang is noticed at the deadline.
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      outcome.kind = GroupOutcome::TimedOut;
      return outcome;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFSIGNALED(status)) {
    outcome.kind = GroupOutcome::Crashed;
    outcome.code = static_cast<unsigned>(WTERMSIG(status));
  } else {
    outcome.kind = GroupOutcome::Exited;
    outcome.code = static_cast<unsigned>(WEXITSTATUS(status));
  }
  return outcome;
}
#endif

}  // namespace

std::string quotedCommandWord(const std::string& word) {
  std::string text = "\"";
  size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
    } else {
      if (c == '"') text.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    text += c;
  }
  text.append(backslashes, '\\');
  return text + "\"";
}

std::string temporaryFile(const std::string& stem) {
#if defined(_WIN32)
  char folder[MAX_PATH + 1];
  char path[MAX_PATH + 1];
  if (GetTempPathA(sizeof folder, folder) == 0) return "";
  if (GetTempFileNameA(folder, stem.substr(0, 3).c_str(), 0, path) == 0) return "";
  return path;
#else
  const char* folder = std::getenv("TMPDIR");
  std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/" + stem + "-XXXXXX";
  const int file = mkstemp(&pattern[0]);
  if (file < 0) return "";
  close(file);
  return pattern;
#endif
}

std::string fileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

GroupOutcome runGroupProcess(const std::vector<std::string>& arguments, double timeoutSeconds) {
  const std::string consolePath = temporaryFile("ferrowin-console");
  if (consolePath.empty()) return GroupOutcome{};
  GroupOutcome outcome = run(arguments, consolePath, timeoutSeconds);
  outcome.console = fileText(consolePath);
  std::remove(consolePath.c_str());
  return outcome;
}

std::string crashText(unsigned code) {
  char text[32];
#if defined(_WIN32)
  std::snprintf(text, sizeof text, "exception 0x%08x", code);
#else
  std::snprintf(text, sizeof text, "signal %u", code);
#endif
  return text;
}

void reportCrashesByExitCode() {
#if defined(_WIN32)
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(exitWithExceptionCode);
#endif
}

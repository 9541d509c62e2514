#include "ChildProcess.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "GroupProcess.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace {

// The file's text with Windows line ends turned into plain ones.
std::string slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream stream;
  stream << file.rdbuf();
  std::string text = stream.str();
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at, 1);
  return text;
}

#if defined(_WIN32)
HANDLE inheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}
#endif

}  // namespace

#if !defined(_WIN32)
int startChild(const std::vector<std::string>& arguments, const std::string& scratch) {
  const std::string outPath = scratch + "/child.out";
  const std::string errPath = scratch + "/child.err";
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& word : arguments) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t child = 0;
  const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start " + arguments[0]);
  return child;
}

ChildResult finishChild(int processId, const std::string& scratch) {
  ChildResult result;
  int status = 0;
  waitpid(processId, &status, 0);
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + result.signal;
  result.out = slurp(scratch + "/child.out");
  result.err = slurp(scratch + "/child.err");
  return result;
}
#endif

ChildResult runChild(const std::vector<std::string>& arguments, const std::string& scratch) {
#if defined(_WIN32)
  const std::string outPath = scratch + "/child.out";
  const std::string errPath = scratch + "/child.err";
  ChildResult result;
  std::string commandLine;
  for (const std::string& word : arguments)
    commandLine += (commandLine.empty() ? "" : " ") + quotedCommandWord(word);
  HANDLE out = inheritableFile(outPath);
  HANDLE err = inheritableFile(errPath);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  // Under Wine a start now and then fails (CreateProcess refused, after 1.7 s) for no
  // reason of the program's own; try again before calling it a failure.
  BOOL started = FALSE;
  DWORD error = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    started = CreateProcessA(arguments[0].c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                             nullptr, nullptr, &startup, &process);
    if (!started) error = GetLastError();
  }
  CloseHandle(out);
  CloseHandle(err);
  if (!started)
    throw std::runtime_error("cannot start " + arguments[0] + " (error " + std::to_string(error) +
                             ")");
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  result.exitCode = static_cast<int>(code);
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
#else
  return finishChild(startChild(arguments, scratch), scratch);
#endif
}

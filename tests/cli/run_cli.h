#pragma once

// Runs sw48230-cli as a process, as scripts do.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include "core/common/paths.h"
#include "core/common/windows_api.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include "support/temp_dir.h"

namespace sw48230::test {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

#ifdef _WIN32

// The started program splits its command line by the rules of the Microsoft
// C runtime; this quoting gives it back each argument as it was.
inline std::wstring quoted_argument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless a quote follows them.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

inline HANDLE inheritable_output(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

// Starts the tool with its output in the two files; the exit code, or -1.
inline int run_program(const std::vector<std::string>& args, const std::filesystem::path& out_file,
                       const std::filesystem::path& err_file) {
  const std::wstring program = path_from_utf8(SW48230_CLI).wstring();
  std::wstring command_line = quoted_argument(program);
  for (const std::string& arg : args) command_line += L" " + quoted_argument(path_from_utf8(arg).wstring());
  std::vector<wchar_t> buffer(command_line.begin(), command_line.end());
  buffer.push_back(L'\0');  // CreateProcessW may write into the command line

  const HANDLE out = inheritable_output(out_file);
  const HANDLE err = inheritable_output(err_file);
  if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot create the output files: system error " << GetLastError();
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  const bool started =
      out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
      CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
  if (!started) {
    ADD_FAILURE() << "cannot start " << SW48230_CLI << ": system error " << GetLastError();
    return -1;
  }
  CloseHandle(process.hThread);
  DWORD exit_code = 0;
  const bool ended = WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hProcess);
  if (!ended) {
    ADD_FAILURE() << "the tool did not exit normally";
    return -1;
  }
  return static_cast<int>(exit_code);
}

#else

inline int run_program(const std::vector<std::string>& args, const std::filesystem::path& out_file,
                       const std::filesystem::path& err_file) {
  std::vector<std::string> storage{SW48230_CLI};
  storage.insert(storage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : storage) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, SW48230_CLI, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << SW48230_CLI;
    return -1;
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
    ADD_FAILURE() << "the tool did not exit normally";
    return -1;
  }
  return WEXITSTATUS(status);
}

#endif

// Output goes to files in `dir` rather than pipes so that a large output on
// one stream cannot block the tool while the other is read. Each run has
// files of its own: Windows may hold the last run's files a moment after it
// has ended.
inline CliRun run_cli(const std::filesystem::path& dir, const std::vector<std::string>& args) {
  const std::string run = std::to_string(std::random_device()());
  const std::filesystem::path out_file = dir / ("stdout-" + run + ".txt");
  const std::filesystem::path err_file = dir / ("stderr-" + run + ".txt");
  CliRun result;
  result.exit_code = run_program(args, out_file, err_file);
  if (result.exit_code == -1) return result;
  result.out = read_file(out_file);
  result.err = read_file(err_file);
  return result;
}

}  // namespace sw48230::test

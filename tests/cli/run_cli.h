#pragma once

// Runs sw48230-cli as a process, as scripts do.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace sw48230::test {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Output goes to files in `dir` rather than pipes so that a large output on
// one stream cannot block the tool while the other is read.
inline CliRun run_cli(const std::filesystem::path& dir, const std::vector<std::string>& args) {
  const std::string out_file = (dir / "stdout.txt").string();
  const std::string err_file = (dir / "stderr.txt").string();

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

  CliRun result;
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << SW48230_CLI;
    return result;
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
    ADD_FAILURE() << "the tool did not exit normally";
    return result;
  }
  result.exit_code = WEXITSTATUS(status);
  result.out = read_file(out_file);
  result.err = read_file(err_file);
  return result;
}

}  // namespace sw48230::test

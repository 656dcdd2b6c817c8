#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/common/failure.h"

namespace sw48230::cli {

inline constexpr int Exit_Success = 0;
// The command ran but its input cannot be read or has problems.
inline constexpr int Exit_Failure = 1;
// The command line itself is wrong; scripts can tell this from a bad input.
inline constexpr int Exit_Usage = 2;

// What is wrong with a command line that does not fit the command's
// synopsis; the dispatcher reports it together with the usage text.
struct UsageError {
  std::string message;
};

// What a step of reading a command line gives: the value, or the usage error
// that ends the command before it does anything.
template <class T>
using Parsed = Result<T, UsageError>;

// A command's exit code, or the usage error of its arguments.
using CommandExit = Parsed<int>;

// `args` are the arguments after the command name.
using CommandFunction = CommandExit (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct Command {
  const char* name;
  const char* synopsis;  // the arguments, as shown in the usage text
  const char* summary;
  CommandFunction run;
};

// The one argument of a command that works on a project: its folder. A usage
// error for a wrong number of arguments; a path that is not a folder is
// reported on `err` and gives no folder.
Parsed<std::optional<std::filesystem::path>> project_folder_argument(const std::vector<std::string>& args,
                                                                     std::ostream& err);

// Flushes `out` and gives `code`, or Exit_Failure with a message on `err`
// when the output could not be written (a full disk, a closed pipe): a
// script must not take a cut-off report for a whole one.
int finish_output(std::ostream& out, std::ostream& err, int code);

CommandExit run_messages(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
CommandExit run_lint_lng(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
CommandExit run_dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
CommandExit run_build(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
CommandExit run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
CommandExit run_install_languages(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
CommandExit run_probe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
CommandExit run_export(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
CommandExit run_import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sw48230::cli

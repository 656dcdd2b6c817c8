#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sw48230::cli {

inline constexpr int Exit_Success = 0;
// The command ran but its input cannot be read or has problems.
inline constexpr int Exit_Failure = 1;
// The command line itself is wrong; scripts can tell this from a bad input.
inline constexpr int Exit_Usage = 2;

// Thrown by a command whose arguments do not fit its synopsis; the dispatcher
// reports it together with the usage text.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `args` are the arguments after the command name.
using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct Command {
  const char* name;
  const char* synopsis;  // the arguments, as shown in the usage text
  const char* summary;
  CommandFunction run;
};

// The one argument of a command that works on a project: its folder. Throws
// UsageError for a wrong number of arguments; reports a path that is not a
// folder on `err` and gives nothing.
std::optional<std::filesystem::path> project_folder_argument(const std::vector<std::string>& args, std::ostream& err);

// Flushes `out` and gives `code`, or Exit_Failure with a message on `err`
// when the output could not be written (a full disk, a closed pipe): a
// script must not take a cut-off report for a whole one.
int finish_output(std::ostream& out, std::ostream& err, int code);

int run_messages(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_lint_lng(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_build(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_install_languages(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_probe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_export(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sw48230::cli

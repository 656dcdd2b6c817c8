#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/app/program_dir.h"
#include "core/common/paths.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"

namespace sw48230::cli {

CommandExit run_install_languages(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 2) return UsageError{"the shipped language folder and the LANGUAGE folder are needed"};
  if (args.size() > 2) return UsageError{"unexpected argument \"" + args[2] + "\""};
  const std::filesystem::path shipped = path_from_utf8(args[0]);
  const std::filesystem::path target = path_from_utf8(args[1]);

  std::error_code error;
  if (!std::filesystem::is_directory(shipped, error)) {
    err << "sw48230-cli: " << args[0] << " is not a folder\n";
    return Exit_Failure;
  }
  std::filesystem::create_directories(target, error);
  if (!std::filesystem::is_directory(target, error)) {
    err << "sw48230-cli: cannot create the folder " << args[1] << '\n';
    return Exit_Failure;
  }

  const LanguageRefresh refresh = Refresh_Shipped_Languages(shipped, target);
  if (!refresh.kept.empty()) {
    out << "Kept your edited language files (the shipped versions were not installed):";
    for (const std::string& name : refresh.kept) out << ' ' << name;
    out << '\n';
  }
  // What could not be read is left as it is and does not stop the start of
  // the program; what could not be written leaves the folder short.
  for (const Failure& skipped : refresh.skipped) {
    err << "sw48230-cli: skipped " << skipped.file << ": " << skipped.reason << '\n';
  }
  for (const Failure& failure : refresh.not_written) {
    err << "sw48230-cli: " << Failure_Message(English_Messages(), failure) << '\n';
  }
  return finish_output(out, err, refresh.not_written.empty() ? Exit_Success : Exit_Failure);
}

}  // namespace sw48230::cli

#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/app/program_dir.h"
#include "core/common/paths.h"

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

  const std::vector<std::string> kept = Refresh_Shipped_Languages(shipped, target);
  if (!kept.empty()) {
    out << "Kept your edited language files (the shipped versions were not installed):";
    for (const std::string& name : kept) out << ' ' << name;
    out << '\n';
  }
  return finish_output(out, err, Exit_Success);
}

}  // namespace sw48230::cli

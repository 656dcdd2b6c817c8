#include <system_error>

#include "cli/command.h"
#include "core/common/paths.h"

namespace sw48230::cli {

Parsed<std::optional<std::filesystem::path>> project_folder_argument(const std::vector<std::string>& args,
                                                                     std::ostream& err) {
  if (args.empty()) return UsageError{"a project folder is needed"};
  if (args.size() > 1) return UsageError{"unexpected argument \"" + args[1] + "\""};
  std::filesystem::path dir = path_from_utf8(args.front());
  std::error_code error;
  if (!std::filesystem::is_directory(dir, error)) {
    err << "sw48230-cli: " << args.front() << " is not a project folder\n";
    return std::optional<std::filesystem::path>();
  }
  return std::optional<std::filesystem::path>(std::move(dir));
}

}  // namespace sw48230::cli

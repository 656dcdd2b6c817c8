#include <filesystem>
#include <string>

#include "cli/command.h"
#include "core/i18n/message_table.h"
#include "core/project/project_checks.h"

namespace sw48230::cli {

int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto folder = project_folder_argument(args, err);
  if (!folder) return Exit_Failure;
  const std::string& project = args.front();

  // Each failure is one line, "FILE: TEXT", with the text the screen's error
  // box would show.
  const std::vector<ProjectCheckFailure> failures = Check_Project(*folder, default_messages(), false);
  for (const ProjectCheckFailure& failure : failures) out << failure.file << ": " << failure.text << '\n';
  if (failures.empty()) out << project << ": all checks pass\n";
  if (finish_output(out, err, Exit_Success) != Exit_Success) return Exit_Failure;
  if (failures.empty()) return Exit_Success;
  const std::size_t count = failures.size();
  err << "sw48230-cli: " << project << ": " << count << (count == 1 ? " check fails" : " checks fail") << '\n';
  return Exit_Failure;
}

}  // namespace sw48230::cli

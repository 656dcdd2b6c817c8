#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/command.h"
#include "core/commsettings/comm_settings.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/project/project.h"
#include "core/project/project_checks.h"
#include "core/tables/network_warnings.h"
#include "core/tables/project_network.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"

namespace sw48230::cli {
namespace {

// The network warnings of both tables, as "warning: FILE: TEXT" lines after
// the failures. Returns how many there are.
int report_network_warnings(const Project& project, std::ostream& out) {
  const std::optional<ConverterNetwork> converter = Read_Converter_Network(project.settings);
  const TableContext context = project.table_context();
  int warnings = 0;
  for (const TableKind* kind : Table_Kinds()) {
    RequestTable table;
    // A file that cannot be read is a failure already.
    if (!Load_Table(project, *kind, table)) continue;
    for (const NetworkWarning& warning : Network_Warnings(*kind, table, context, converter)) {
      out << "warning: " << kind->file_name << ": " << Network_Warning_Text(English_Messages(), warning) << '\n';
      ++warnings;
    }
  }
  return warnings;
}

}  // namespace

CommandExit run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> rest = args;
  const auto strict_option = std::find(rest.begin(), rest.end(), "--strict");
  const bool strict = strict_option != rest.end();
  if (strict) rest.erase(strict_option);
  const auto argument = project_folder_argument(rest, err);
  if (!argument) return argument.failure();
  if (!*argument) return Exit_Failure;
  const std::filesystem::path& folder = **argument;
  const std::string& project = rest.front();

  // Each failure is one line, "FILE: TEXT", with the text the screen's error
  // box would show.
  const Project loaded = Load_Project(folder);
  const std::vector<ProjectCheckFailure> failures = Check_Project(loaded, English_Messages(), false);
  for (const ProjectCheckFailure& failure : failures) out << Located_Text(failure.file, failure.text) << '\n';
  const int warnings = report_network_warnings(loaded, out);
  if (failures.empty()) out << project << ": all checks pass\n";
  if (finish_output(out, err, Exit_Success) != Exit_Success) return Exit_Failure;
  const bool warnings_fail = strict && warnings > 0;
  if (failures.empty() && !warnings_fail) return Exit_Success;

  const std::size_t count = failures.size();
  err << "sw48230-cli: " << project << ": ";
  if (count > 0) err << count << (count == 1 ? " check fails" : " checks fail");
  if (count > 0 && warnings_fail) err << ", ";
  if (warnings_fail) err << warnings << (warnings == 1 ? " warning" : " warnings") << " (--strict)";
  err << '\n';
  return Exit_Failure;
}

}  // namespace sw48230::cli

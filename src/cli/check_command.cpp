#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/commsettings/comm_settings.h"
#include "core/i18n/message_table.h"
#include "core/project/project_checks.h"
#include "core/tables/network_warnings.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"

namespace sw48230::cli {
namespace {

// Where the converter sits on the network; nothing while ParGen.xml is
// missing or unreadable, since its defaults say nothing about the project.
std::optional<ConverterNetwork> converter_network(const std::filesystem::path& dir) {
  std::error_code error;
  if (!std::filesystem::exists(dir / ParGen_File_Name, error)) return std::nullopt;
  const CommSettingsLoad loaded = Load_Comm_Settings(dir / ParGen_File_Name);
  if (!loaded.error.empty()) return std::nullopt;
  return Converter_Network(loaded.settings);
}

// The network warnings of both tables, as "warning: FILE: TEXT" lines after
// the failures. Returns how many there are.
int report_network_warnings(const std::filesystem::path& dir, std::ostream& out) {
  const std::optional<ConverterNetwork> converter = converter_network(dir);
  const TableContext context = Read_Table_Context(dir / ParGen_File_Name);
  MessageTable messages;
  messages.Default_Messages();
  int warnings = 0;
  for (const TableKind* kind : {&Read_Requests(), &Write_Requests()}) {
    RequestTable table;
    // A file that cannot be read is a failure already.
    if (!Load_Requests(*kind, dir / kind->file_name, context, table).error.empty()) continue;
    for (const NetworkWarning& warning : Network_Warnings(*kind, table, context, converter)) {
      out << "warning: " << kind->file_name << ": " << Network_Warning_Text(messages, warning) << '\n';
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
  const std::vector<ProjectCheckFailure> failures = Check_Project(folder, default_messages(), false);
  for (const ProjectCheckFailure& failure : failures) out << failure.file << ": " << failure.text << '\n';
  const int warnings = report_network_warnings(folder, out);
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

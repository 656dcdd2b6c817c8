#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/common/paths.h"
#include "core/commsettings/comm_settings.h"
#include "core/i18n/message_table.h"
#include "core/tables/request_checks.h"
#include "core/tables/network_warnings.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"

namespace sw48230::cli {
namespace {

const std::string& message(int index) { return default_messages().at(static_cast<std::size_t>(index)); }

// Each failure is one line, "FILE: TEXT", with the text the screen's error
// box would show. Returns the number of failures.
int check_settings(const std::filesystem::path& dir, std::ostream& out) {
  const CommSettingsLoad loaded = Load_Comm_Settings(dir / ParGen_File_Name);
  if (!loaded.error.empty()) {
    // The screen would show the values of an empty file; checking those
    // would only hide what is wrong.
    out << ParGen_File_Name << ": cannot be read: " << loaded.error << '\n';
    return 1;
  }
  const int failed = Controllo_Dati(loaded.settings);
  if (failed == 0) return 0;
  out << ParGen_File_Name << ": " << message(failed) << '\n';
  return 1;
}

// The network warnings follow the failures, as "warning: FILE: TEXT" lines;
// their number is added to `warnings`.
int check_table(const TableKind& kind, const std::filesystem::path& dir,
                const std::optional<ConverterNetwork>& converter, std::ostream& out, int& warnings) {
  const TableContext context = Read_Table_Context(dir / ParGen_File_Name);
  RequestTable table;
  const RequestLoad loaded = Load_Requests(kind, dir / kind.file_name, context, table);
  int failures = 0;
  if (!loaded.error.empty()) {
    out << kind.file_name << ": cannot be read: " << loaded.error << '\n';
    ++failures;
  }
  if (loaded.rows_left_out > 0) {
    const bool one = loaded.rows_left_out == 1;
    out << kind.file_name << ": " << loaded.rows_left_out << (one ? " row" : " rows") << " beyond row "
        << RequestTable::Data_Rows << (one ? " is" : " are") << " not checked, and saving the table leaves "
        << (one ? "it" : "them") << " out\n";
    ++failures;
  }
  for (const RowFailure& failure : Check_Rows(kind, table, context, false)) {
    out << kind.file_name << ": " << message(kind.msg_error_row) << failure.row << message(failure.message) << '\n';
    ++failures;
  }
  MessageTable messages;
  messages.Default_Messages();
  for (const NetworkWarning& warning : Network_Warnings(kind, table, context, converter)) {
    out << "warning: " << kind.file_name << ": " << Network_Warning_Text(messages, warning) << '\n';
    ++warnings;
  }
  return failures;
}

// Where the converter sits on the network; nothing while ParGen.xml is
// missing or unreadable, since its defaults say nothing about the project.
std::optional<ConverterNetwork> converter_network(const std::filesystem::path& dir) {
  std::error_code error;
  if (!std::filesystem::exists(dir / ParGen_File_Name, error)) return std::nullopt;
  const CommSettingsLoad loaded = Load_Comm_Settings(dir / ParGen_File_Name);
  if (!loaded.error.empty()) return std::nullopt;
  return Converter_Network(loaded.settings);
}

}  // namespace

int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> rest = args;
  const auto strict_option = std::find(rest.begin(), rest.end(), "--strict");
  const bool strict = strict_option != rest.end();
  if (strict) rest.erase(strict_option);
  const auto folder = project_folder_argument(rest, err);
  if (!folder) return Exit_Failure;
  const std::filesystem::path& dir = *folder;
  const std::string& project = rest.front();

  // The files in the order of the workflow; a missing file is what its
  // screen would start from, defaults or an empty table, and passes.
  const auto converter = converter_network(dir);
  int warnings = 0;
  int failures = check_settings(dir, out);
  failures += check_table(Read_Requests(), dir, converter, out, warnings);
  failures += check_table(Write_Requests(), dir, converter, out, warnings);
  if (failures == 0) out << project << ": all checks pass\n";
  out.flush();
  if (failures == 0 && (warnings == 0 || !strict)) return Exit_Success;
  err << "sw48230-cli: " << project << ": ";
  if (failures > 0) err << failures << (failures == 1 ? " check fails" : " checks fail");
  if (failures > 0 && strict && warnings > 0) err << ", ";
  if (strict && warnings > 0) err << warnings << (warnings == 1 ? " warning" : " warnings") << " (--strict)";
  err << '\n';
  return Exit_Failure;
}

}  // namespace sw48230::cli

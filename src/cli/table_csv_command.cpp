// export and import: a request table to and from CSV for spreadsheets.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/common/atomic_file.h"
#include "core/common/paths.h"
#include "core/commsettings/comm_settings.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/project/project.h"
#include "core/tables/request_csv.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"

namespace sw48230::cli {
namespace {

struct TableArguments {
  std::filesystem::path project;
  const TableKind* kind = nullptr;
  std::optional<std::string> file;
};

// PROJECT_DIR --table read|write [FILE], the option anywhere.
// No arguments when the project is not a folder, which is reported on `err`.
Parsed<std::optional<TableArguments>> table_arguments(const std::vector<std::string>& args, bool file_required,
                                                      std::ostream& err) {
  std::vector<std::string> positional;
  const TableKind* kind = nullptr;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--table") {
      positional.push_back(args[i]);
      continue;
    }
    if (kind != nullptr) return UsageError{"--table given twice"};
    if (i + 1 == args.size()) return UsageError{"--table needs read or write"};
    const std::string& name = args[++i];
    kind = Find_Table_Kind(name);
    if (kind == nullptr) return UsageError{"--table takes read or write, not \"" + name + "\""};
  }
  if (kind == nullptr) return UsageError{"--table read|write is needed"};
  if (file_required && positional.size() < 2) return UsageError{"a CSV file is needed"};
  std::optional<std::string> file;
  if (positional.size() == 2) {
    file = positional.back();
    positional.pop_back();
  }
  const auto project = project_folder_argument(positional, err);
  if (!project) return project.failure();
  if (!*project) return std::optional<TableArguments>();
  return std::optional<TableArguments>(TableArguments{**project, kind, file});
}

}  // namespace

CommandExit run_export(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto parsed = table_arguments(args, false, err);
  if (!parsed) return parsed.failure();
  const std::optional<TableArguments>& arguments = *parsed;
  if (!arguments) return Exit_Failure;
  const TableKind& kind = *arguments->kind;
  RequestTable table;
  // Only the settings and this table count: the other table is not read.
  const TableContext context = Read_Table_Context(Read_ParGen_File(ParGen_Path(arguments->project)));
  const Result<RequestLoad> loaded =
      Load_Requests(kind, Read_Requests_File(Table_Path(arguments->project, kind)), context, table);
  if (!loaded) {
    err << "sw48230-cli: "
        << Failure_Message(English_Messages(), Cannot_Be_Read(kind.file_name, loaded.failure().reason)) << '\n';
    return Exit_Failure;
  }
  if (loaded->rows_left_out > 0) {
    err << "sw48230-cli: " << kind.file_name << ": " << loaded->rows_left_out << " rows beyond row "
        << RequestTable::Data_Rows << " are left out\n";
  }
  const std::string csv = Export_Csv(kind, table);
  if (!arguments->file) {
    out << csv;
    out.flush();
    return out ? Exit_Success : Exit_Failure;
  }
  if (const auto failure = write_file_atomically(path_from_utf8(*arguments->file), csv)) {
    err << "sw48230-cli: " << *arguments->file << ": cannot be written: " << failure->reason << '\n';
    return Exit_Failure;
  }
  return Exit_Success;
}

CommandExit run_import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto parsed = table_arguments(args, true, err);
  if (!parsed) return parsed.failure();
  const std::optional<TableArguments>& arguments = *parsed;
  if (!arguments) return Exit_Failure;
  const TableKind& kind = *arguments->kind;
  // Only the settings count for an import: the table is replaced as a whole.
  const TableContext context = Read_Table_Context(Read_ParGen_File(ParGen_Path(arguments->project)));
  const CsvImport imported = Import_Csv_File(kind, path_from_utf8(*arguments->file), context, CsvImportFor::File);
  if (!imported.ok()) {
    for (const CsvFailure& failure : imported.failures) {
      out << Located_Text(*arguments->file, Failure_Message(English_Messages(), failure)) << '\n';
    }
    out.flush();
    err << "sw48230-cli: " << *arguments->file << ": nothing imported, " << kind.file_name << " is unchanged\n";
    return Exit_Failure;
  }
  if (const auto failure = Save_Table(arguments->project, kind, imported.table)) {
    err << "sw48230-cli: " << kind.file_name << ": cannot be written: " << failure->reason << '\n';
    return Exit_Failure;
  }
  if (imported.requests == 0) {
    out << kind.file_name << ": emptied, " << *arguments->file << " holds no requests\n";
    return Exit_Success;
  }
  out << kind.file_name << ": " << imported.requests << (imported.requests == 1 ? " request" : " requests")
      << " imported from " << *arguments->file << '\n';
  return Exit_Success;
}

}  // namespace sw48230::cli

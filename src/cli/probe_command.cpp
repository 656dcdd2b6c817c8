#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "core/common/paths.h"
#include "core/commsettings/comm_settings.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/probe/probe_plan.h"
#include "core/probe/probe_run.h"
#include "core/project/project.h"
#include "core/project/project_checks.h"
#include "core/tables/table_kind.h"

namespace sw48230::cli {
namespace {

// Beyond the rows of a table screen: a hand-made file can hold more, and
// the image takes them.
constexpr int Largest_Row = 100000;
constexpr std::uint32_t Largest_Timeout_Ms = 65535;
constexpr int Largest_Parallel = 64;

struct ProbeArguments {
  std::string project;
  const TableKind* table = nullptr;  // none: both tables
  std::set<int> rows;  // empty: every row
  std::optional<std::uint32_t> timeout_ms;
  int parallel = Default_Probe_Parallel;
  bool json = false;
};

// A whole decimal number from `low` to `high`, nothing else.
std::optional<int> whole_number(std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

Parsed<std::set<int>> row_list(std::string_view text) {
  std::set<int> rows;
  const auto bad = [&] {
    return UsageError{"--rows takes row numbers and ranges such as 1,3,5-8, not \"" + std::string(text) + '"'};
  };
  std::string_view rest = text;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    const std::size_t dash = item.find('-');
    const auto first = whole_number(item.substr(0, dash), 1, Largest_Row);
    const auto last = dash == std::string_view::npos ? first : whole_number(item.substr(dash + 1), 1, Largest_Row);
    if (!first || !last || *last < *first) return bad();
    for (int row = *first; row <= *last; ++row) rows.insert(row);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return rows;
}

Parsed<ProbeArguments> parse_arguments(const std::vector<std::string>& args) {
  ProbeArguments parsed;
  bool have_project = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--json") {
      parsed.json = true;
      continue;
    }
    if (arg == "--table" || arg == "--rows" || arg == "--timeout" || arg == "--parallel") {
      if (i + 1 == args.size()) return UsageError{arg + " needs a value"};
      const std::string& value = args[++i];
      if (arg == "--table") {
        const TableKind* kind = Find_Table_Kind(value);
        if (kind == nullptr && value != "both") {
          return UsageError{"--table takes read, write or both, not \"" + value + '"'};
        }
        parsed.table = kind;
      } else if (arg == "--rows") {
        auto rows = row_list(value);
        if (!rows) return rows.failure();
        parsed.rows = std::move(*rows);
      } else if (arg == "--timeout") {
        const auto ms = whole_number(value, 1, static_cast<int>(Largest_Timeout_Ms));
        if (!ms) {
          return UsageError{"--timeout takes milliseconds from 1 to " + std::to_string(Largest_Timeout_Ms) +
                            ", not \"" + value + '"'};
        }
        parsed.timeout_ms = static_cast<std::uint32_t>(*ms);
      } else {
        const auto count = whole_number(value, 1, Largest_Parallel);
        if (!count) {
          return UsageError{"--parallel takes a number from 1 to " + std::to_string(Largest_Parallel) + ", not \"" +
                            value + '"'};
        }
        parsed.parallel = *count;
      }
      continue;
    }
    if (arg.size() > 1 && arg.front() == '-') return UsageError{"unknown option \"" + arg + '"'};
    if (have_project) return UsageError{"unexpected argument \"" + arg + '"'};
    parsed.project = arg;
    have_project = true;
  }
  if (!have_project) return UsageError{"a project folder is needed"};
  return parsed;
}

std::string exception_code_text(int code) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(code));
  return text;
}

// 'read row 3: ok 12 ms: 17 0 65535', 'read row 4: exception 02 Illegal
// Data Address', 'write row 1: refused: Connection refused'.
void print_line(const ProbeResult& result, std::ostream& out) {
  out << result.table->command_name << " row " << result.row << ": " << Probe_Status_Name(result.status);
  switch (result.status) {
    case ProbeStatus::Ok:
      out << ' ' << result.round_trip_ms << " ms:";
      for (const std::uint16_t value : result.values) out << ' ' << value;
      break;
    case ProbeStatus::Exception:
      out << ' ' << exception_code_text(result.exception_code);
      if (const auto name = Modbus_Exception_Name(result.exception_code)) out << ' ' << *name;
      break;
    default:
      out << ": " << result.reason;
      break;
  }
  out << '\n';
}

void print_summary(const std::vector<ProbeResult>& results, std::ostream& out) {
  if (results.empty()) {
    out << "no rows to probe\n";
    return;
  }
  out << "probed " << results.size() << (results.size() == 1 ? " row:" : " rows:");
  const char* separator = " ";
  for (const ProbeStatus status : {ProbeStatus::Ok, ProbeStatus::Exception, ProbeStatus::Timeout, ProbeStatus::Refused,
                                   ProbeStatus::Unreachable, ProbeStatus::Error}) {
    std::size_t count = 0;
    for (const ProbeResult& result : results) count += result.status == status ? 1 : 0;
    if (count == 0) continue;
    out << separator << count << ' ' << Probe_Status_Name(status);
    separator = ", ";
  }
  out << '\n';
}

nlohmann::json json_row(const ProbeResult& result) {
  nlohmann::json row = {
      {"table", result.table->command_name},
      {"row", result.row},
      {"status", Probe_Status_Name(result.status)},
  };
  switch (result.status) {
    case ProbeStatus::Ok:
      row["values"] = result.values;
      row["ms"] = result.round_trip_ms;
      break;
    case ProbeStatus::Exception:
      row["exception"] = result.exception_code;
      if (const auto name = Modbus_Exception_Name(result.exception_code)) row["name"] = *name;
      break;
    default:
      row["reason"] = result.reason;
      break;
  }
  return row;
}

}  // namespace

CommandExit run_probe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Parsed<ProbeArguments> parsed = parse_arguments(args);
  if (!parsed) return parsed.failure();
  const ProbeArguments& arguments = *parsed;
  const auto folder = project_folder_argument({arguments.project}, err);
  if (!folder) return folder.failure();
  if (!*folder) return Exit_Failure;
  const std::filesystem::path& dir = **folder;
  const std::string& project = arguments.project;

  // The device gets a project only after these checks, and a row they
  // refuse would be probed as something the user did not mean.
  const Project loaded = Load_Project(dir);
  const std::vector<ProjectCheckFailure> failures = Check_Project(loaded, English_Messages(), false);
  if (!failures.empty()) {
    for (const ProjectCheckFailure& failure : failures) err << Located_Text(failure.file, failure.text) << '\n';
    const std::size_t count = failures.size();
    err << "sw48230-cli: " << project << ": " << count << (count == 1 ? " check fails" : " checks fail")
        << "; nothing is probed\n";
    return Exit_Failure;
  }

  Result<ProbePlan> plan = Make_Probe_Plan(loaded);
  if (!plan) {
    err << "sw48230-cli: cannot probe " << project << ": " << Failure_Message(English_Messages(), plan.failure())
        << '\n';
    return Exit_Failure;
  }

  std::vector<ProbeRequest> requests;
  std::set<int> rows_found;
  for (ProbeRequest& request : plan->requests) {
    if (arguments.table != nullptr && request.table != arguments.table) continue;
    if (!arguments.rows.empty() && !arguments.rows.contains(request.row)) continue;
    rows_found.insert(request.row);
    requests.push_back(std::move(request));
  }
  bool rows_missing = false;
  for (const int row : arguments.rows) {
    if (rows_found.contains(row)) continue;
    err << "sw48230-cli: row " << row << ": the device sends no request for it (no such row, or it is disabled)\n";
    rows_missing = true;
  }

  ProbeOptions options;
  options.timeout_ms = arguments.timeout_ms.value_or(plan->timeout_ms);
  options.parallel = arguments.parallel;
  ProbeStop stop;
  const std::vector<ProbeResult> results = Run_Probe(requests, options, stop);

  bool all_ok = !rows_missing;
  for (const ProbeResult& result : results) all_ok = all_ok && result.ok();
  if (arguments.json) {
    nlohmann::json rows = nlohmann::json::array();
    for (const ProbeResult& result : results) rows.push_back(json_row(result));
    out << nlohmann::json{{"rows", rows}}.dump() << '\n';
  } else {
    for (const ProbeResult& result : results) print_line(result, out);
    print_summary(results, out);
  }
  out.flush();
  return all_ok ? Exit_Success : Exit_Failure;
}

}  // namespace sw48230::cli

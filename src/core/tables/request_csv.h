#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/tables/request_file.h"

namespace sw48230 {

class MessageTable;

// Request tables as CSV for spreadsheets: a header naming the columns by the
// attribute names of var.xml (the same in every language), then one line per
// request holding the values the file stores (the address as four bytes, the
// type as its code).

// Larger files are refused unread: 512 requests take a few tens of kilobytes.
inline constexpr std::size_t Csv_Max_Bytes = 1024 * 1024;

// UTF-8 with a byte order mark, so that a spreadsheet picks the right
// characters; comma separated, CRLF line ends, fields quoted when needed.
// One line per row from row 1 up to the last row with a Cob-ID. A check box
// holding anything but Y, N or nothing, which the table reads as not ticked,
// is written as N, so that the import cannot read it as ticked.
std::string Export_Csv(const TableKind& kind, const RequestTable& table);

// Why a CSV file, or one of its lines, cannot be imported.
struct CsvFailure {
  int line = 0;        // 1 is the header; 0 for the file as a whole
  std::string column;  // the column's header name, empty when the whole line is meant
  int message = 0;     // the reason: a CSV message or the table's own check message
  std::string detail;  // appended to the reason (the system's text for an unreadable file)

  bool operator==(const CsvFailure&) const = default;
};

// An import is applied whole or not at all: either `failures` is empty and
// `table` holds the imported rows from row 1 (`rows` of them, `requests` of
// those with a Cob-ID, the other rows fresh), or `failures` lists every
// failing line in line order.
struct CsvImport {
  RequestTable table;
  int rows = 0;
  int requests = 0;
  std::vector<CsvFailure> failures;

  bool ok() const { return failures.empty(); }
};

// Where the imported rows go. A table file holds its rows up to the first
// without a Cob-ID, so a line without one is refused for it. A screen's
// table takes such a line as a row without a Cob-ID at its place, as Export
// wrote it, and its OK refuses the gap as it does for rows typed.
enum class CsvImportFor { File, Screen };

// Accepts comma or semicolon (whichever the header uses), quoted fields with
// separators, quotes and line breaks, LF, CRLF or CR, with or without a byte
// order mark, the columns in any order; a missing column other than COB takes
// the value of a fresh row. A field must be storable (Check_Stored_Value); a
// check box takes Y or N in either case or nothing as they are, and TRUE,
// 1, YES or FALSE, 0, NO (any case) as Y or N. Every line is checked with the
// table's row checks under `context`, the project's device type and frame
// format. Blank lines at the end are no rows.
CsvImport Import_Csv(const TableKind& kind, std::string_view bytes, const TableContext& context, CsvImportFor into);

// Reads a regular file of at most Csv_Max_Bytes and imports it.
CsvImport Import_Csv_File(const TableKind& kind, const std::filesystem::path& file, const TableContext& context,
                          CsvImportFor into);

// The text a user reads: "CSV line 3, column COB!! Cob-ID must be ...".
std::string Failure_Message(const MessageTable& messages, const CsvFailure& failure);

}  // namespace sw48230

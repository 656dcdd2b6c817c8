#pragma once

// The request part of the image, from the two request tables: var.xml (read
// requests) and var2.xml (write requests). The device-type-1 build takes the
// enabled rows in table order and gives most values a fallback; the bank.bin
// build takes every row, sorts each table by Cob-ID and accepts no value it
// cannot read.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/image/image_error.h"
#include "core/image/image_layout.h"
#include "core/project/project.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"

namespace sw48230 {

// Fills the records of `image` from the front, one per enabled row in use
// (Enable ticked or absent, a Cob-ID given): the read requests first, then
// the write requests, each in file order. Values a row lacks are taken as the
// table screen shows them, with the project's ParGen.xml. Sets Request_Count, Setting_Count, Record_Count and
// Default_Port of the general block. The records must be zero on entry.
//
// A missing file is an empty table. A file that cannot be parsed, an enabled
// row whose address bytes or Address_Word are missing or not numbers, and
// more enabled rows than the 1024 records, are errors; the image is then
// left half-filled and must be thrown away.
[[nodiscard]] std::optional<ImageError> Read_Master_Requests(const Project& project, Bank2Image& image);
// Where a record comes from: its table, and the row of the table (the k-th
// row element is row k, as on the screens).
struct RecordSource {
  const TableKind* kind = nullptr;
  int row = 0;

  bool operator==(const RecordSource&) const = default;
};
// The same, also giving the source of each filled record.
[[nodiscard]] std::optional<ImageError> Read_Master_Requests(const Project& project, Bank2Image& image,
                                                             std::vector<RecordSource>& record_rows);

// Appends the bank.bin rows of one table file to `bank`: every row in use
// (with a Cob-ID), enabled or not, up to Bank_Table_Row_Limit (later rows are passed over), in
// ascending order of the unsigned Cob-ID, rows with equal Cob-IDs in file
// order. A missing file appends nothing. A file that cannot be parsed, or a
// row with an attribute that is missing or not a number, fails, and then
// nothing is appended. Gives the number of rows appended, the count that
// Bank_Params gives for the table.
Result<std::uint16_t> Append_Bank_Rows(const TableKind& kind, const RequestsFile& file, Bytes& bank);

struct NumberedBankRow {
  int row = 0;  // in the table, from 1
  Bank_Row bank_row;
};

// The rows Append_Bank_Rows takes from one table file, in file order before
// sorting.
Result<std::vector<NumberedBankRow>> Read_Bank_Rows(const TableKind& kind, const RequestsFile& file);

}  // namespace sw48230

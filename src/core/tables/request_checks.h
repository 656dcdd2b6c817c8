#pragma once

#include <optional>
#include <vector>

#include "core/tables/request_file.h"

namespace sw48230 {

// A row that failed its checks: the row number, the column whose cell the
// check is about (the Cob-ID column for a check that names no other) and the
// message index of the check. The screens show the table's "Error row "
// text, the row number and the check's text.
struct RowFailure {
  int row = 0;
  int column = 0;
  int message = 0;

  bool operator==(const RowFailure&) const = default;
};

// A row without a Cob-ID followed by rows in use: the file keeps the rows up
// to the first without a Cob-ID, so saving would drop every request below
// it without a word. Both tables refuse it like a failed row check.
inline constexpr int Msg_Row_Gap = 497;

// The checks of a request table, rows from the first upwards. The first row
// without a Cob-ID fails when a row in use follows it. With
// `first_only` the visit ends at the first failure, as the screen's OK does;
// without it every failing row is listed (one failure per row).
std::vector<RowFailure> Check_Rows(const TableKind& kind, const RequestTable& table, const TableContext& context,
                                   bool first_only);

// The screen's check: the first failure, if any.
std::optional<RowFailure> Controllo_dati(const TableKind& kind, const RequestTable& table, const TableContext& context);

}  // namespace sw48230

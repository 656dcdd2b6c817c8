#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/tables/request_file.h"

namespace sw48230 {

class MessageTable;

// A row that failed its checks: the row number, the column whose cell the
// check is about (the Cob-ID column for a check that names no other) and the
// message index of the check. The screens show the table's "Error row "
// text, the row number and the check's text (Failure_Message).
struct RowFailure {
  int row = 0;
  int column = 0;
  int message = 0;
  std::string detail;  // %2 of the message, when it has one

  bool operator==(const RowFailure&) const = default;
};

// A row without a Cob-ID followed by rows in use: the file keeps the rows up
// to the first without a Cob-ID, so saving would drop every request below
// it without a word. Both tables refuse it like a failed row check.
inline constexpr int Msg_Row_Gap = 497;

// A value of a row in use that the table file cannot hold, disabled rows
// included since they are saved too: %1 is the column's title, %2 the most
// characters the column holds or the character at fault.
inline constexpr int Msg_Row_Value_Too_Long = 586;
inline constexpr int Msg_Row_Character = 587;

// Whether the row's values, as they would be saved, fit the file: the first
// that does not, with Msg_Row_Value_Too_Long or Msg_Row_Character.
std::optional<RowFailure> Check_Storable(const TableKind& kind, const RequestTable& table, int row);

// The checks of one row in use: first whether its values can be saved,
// then, unless the hardware knows it as disabled, its values.
std::optional<RowFailure> Check_Row(const TableKind& kind, const RequestTable& table, const TableContext& context,
                                    int row);

// The checks of a request table, rows from the first upwards. The first row
// without a Cob-ID fails when a row in use follows it. With
// `first_only` the visit ends at the first failure, as the screen's OK does;
// without it every failing row is listed (one failure per row).
std::vector<RowFailure> Check_Rows(const TableKind& kind, const RequestTable& table, const TableContext& context,
                                   bool first_only);

// The screen's check: the first failure, if any.
std::optional<RowFailure> Controllo_Dati(const TableKind& kind, const RequestTable& table, const TableContext& context);

// The text of the screen's error box in the language of `messages`,
// 'Error row 3!! Cob-ID must be between 0 and 2047'.
std::string Failure_Message(const MessageTable& messages, const TableKind& kind, const RowFailure& failure);

}  // namespace sw48230

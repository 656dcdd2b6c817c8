#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/tables/request_table.h"

namespace sw48230 {

// The row operations and conveniences shared by both request tables, so
// that both behave alike.

// The cells of the last row copied on either request table (columns 1 to 13
// in order); one list for the whole program.
using RowCopyBuffer = std::vector<std::string>;

inline constexpr int Msg_Paste_Overwrite = 395;
inline constexpr int Msg_Paste_Bad_Copy = 396;
inline constexpr int Msg_Paste_Nothing_Copied = 397;
// Insert Row refused: the last row is in use and would be pushed out.
inline constexpr int Msg_Table_Full = 498;

// Moves every later row up by one and clears the last row.
void Delete_Row(RequestTable& table, int row);

// Moves `row` and every later row down by one and makes `row` a fresh row
// with Enable ticked. Refused, with nothing moved, while the last row is in
// use: its request would be pushed out of the table. A last row without a
// Cob-ID holds nothing that is saved, so it may go.
bool Can_Insert_Row(const RequestTable& table);
bool Insert_Row(RequestTable& table, int row);

// Replaces the buffer with the data cells of `row`.
void Copy_Row(const RequestTable& table, int row, RowCopyBuffer& buffer);

// What a paste into `row` needs before it may write.
enum class PasteCheck {
  Nothing_Copied,  // refuse with 397: no Copy Row on this screen since it was shown
  Bad_Copy,        // refuse with 396: the buffer does not fit the table
  Row_In_Use,      // ask 395 before overwriting
  Free,
};
PasteCheck Check_Paste(const RequestTable& table, int row, bool Do_Copy, const RowCopyBuffer& buffer);

// Writes the buffer into `row`, check boxes included. Call only after
// Check_Paste said Free or the user agreed to overwrite.
void Paste_Row(RequestTable& table, int row, const RowCopyBuffer& buffer);

// The Enter key with "jump to the next field" on: moves the current cell to
// the next data cell the user can see, skipping `hidden` columns; from the
// last visible column to the first visible data column of the next row. On
// the last row's last visible column it stays. Returns whether the key is
// consumed (always, while the option is on).
bool Jump_Next_Cell(RequestTable& table, bool enable_jump_field_tables, const std::vector<int>& hidden);

// A double click fits a column to its content only on a column title and
// only while the option is on.
bool AutoSize_Column(bool Double_Click_Auto_Size, int clicked_row);

// True when `text` is NOT a valid dotted IPv4 address: four parts, each a
// number 0 to 255 by the number text rule.
bool Check_IP(std::string_view text);

}  // namespace sw48230

#include "core/tables/row_editing.h"

#include <algorithm>

#include "core/common/number_text.h"
#include "core/common/text.h"

namespace sw48230 {
namespace {

constexpr int First_Data_Col = Col_Enable;
constexpr int Last_Data_Col = RequestTable::ColCount - 1;
constexpr int Last_Row = RequestTable::RowCount - 1;

void copy_row(RequestTable& table, int from, int to) {
  for (int col = First_Data_Col; col <= Last_Data_Col; ++col) table.cell(to, col) = table.cell(from, col);
}

}  // namespace

void Delete_Row(RequestTable& table, int row) {
  for (int k = row; k < Last_Row; ++k) copy_row(table, k + 1, k);
  for (int col = First_Data_Col; col <= Last_Data_Col; ++col) table.cell(Last_Row, col).clear();
}

bool Can_Insert_Row(const RequestTable& table) { return !table.Row_In_Use(Last_Row); }

bool Insert_Row(RequestTable& table, int row) {
  if (!Can_Insert_Row(table)) return false;
  for (int k = Last_Row - 1; k >= row; --k) copy_row(table, k, k + 1);
  for (int col = First_Data_Col; col <= Last_Data_Col; ++col) table.cell(row, col).clear();
  table.cell(row, Col_Enable) = Tick_Yes;
  return true;
}

void Copy_Row(const RequestTable& table, int row, RowCopyBuffer& buffer) {
  buffer.clear();
  for (int col = First_Data_Col; col <= Last_Data_Col; ++col) buffer.push_back(table.cell(row, col));
}

PasteCheck Check_Paste(const RequestTable& table, int row, bool Do_Copy, const RowCopyBuffer& buffer) {
  if (!Do_Copy) return PasteCheck::Nothing_Copied;
  if (static_cast<int>(buffer.size()) + 1 != RequestTable::ColCount) return PasteCheck::Bad_Copy;
  // Check boxes always hold something, so they do not make a row "in use".
  for (int col = First_Data_Col; col <= Last_Data_Col; ++col) {
    if (RequestTable::kind(col) == ColumnKind::CheckBox) continue;
    if (!trim_blanks(table.cell(row, col)).empty()) return PasteCheck::Row_In_Use;
  }
  return PasteCheck::Free;
}

void Paste_Row(RequestTable& table, int row, const RowCopyBuffer& buffer) {
  for (int col = First_Data_Col; col <= Last_Data_Col; ++col) {
    table.cell(row, col) = buffer.at(static_cast<std::size_t>(col - First_Data_Col));
  }
}

bool Jump_Next_Cell(RequestTable& table, bool enable_jump_field_tables, const std::vector<int>& hidden) {
  if (!enable_jump_field_tables) return false;
  const auto visible = [&hidden](int col) { return std::find(hidden.begin(), hidden.end(), col) == hidden.end(); };
  const auto next_visible = [&visible](int after) {
    for (int col = after + 1; col <= Last_Data_Col; ++col) {
      if (visible(col)) return col;
    }
    return 0;
  };
  if (table.current_row < 1 || table.current_row > Last_Row) return true;
  if (const int col = next_visible(table.current_col); col != 0) {
    table.current_col = col;
  } else if (table.current_row < Last_Row) {
    if (const int first = next_visible(Col_Number); first != 0) {
      table.current_col = first;
      ++table.current_row;
    }
  }
  return true;
}

bool AutoSize_Column(bool Double_Click_Auto_Size, int clicked_row) {
  return Double_Click_Auto_Size && clicked_row == 0;
}

bool Check_IP(std::string_view text) {
  if (text.empty()) return true;
  bool bad = false;
  std::string_view rest = text;
  for (int part = 1; part <= 4; ++part) {
    const std::size_t dot = rest.find('.');
    // Without a dot, parts 1 to 3 are empty and so bad.
    const std::string_view piece =
        part < 4 ? (dot == std::string_view::npos ? std::string_view() : rest.substr(0, dot)) : rest;
    const std::int32_t value = to_int32(piece, -1);
    if (value < 0 || value > 255) bad = true;
    if (dot != std::string_view::npos) rest.remove_prefix(dot + 1);
  }
  return bad;
}

}  // namespace sw48230

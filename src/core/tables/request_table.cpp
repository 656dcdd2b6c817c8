#include "core/tables/request_table.h"

#include "core/common/text.h"

namespace sw48230 {

bool Is_Ticked(std::string_view cell) { return equals_ignoring_ascii_case(trim_blanks(cell), Tick_Yes); }

RequestTable::RequestTable() : cells_(static_cast<std::size_t>(RowCount) * ColCount) { Reset(); }

ColumnKind RequestTable::kind(int col) {
  switch (col) {
    case Col_Number:
      return ColumnKind::Number;
    case Col_Enable:
    case Col_Swap:
      return ColumnKind::CheckBox;
    case Col_CAN_Type:
    case Col_Type:
      return ColumnKind::DropDown;
    default:
      return ColumnKind::Text;
  }
}

void RequestTable::Reset() {
  for (int row = 1; row < RowCount; ++row) {
    cell(row, Col_Number) = std::to_string(row);
    cell(row, Col_Enable) = Tick_Yes;
    for (int col = Col_Enable + 1; col < ColCount; ++col) cell(row, col).clear();
  }
}

bool RequestTable::Row_In_Use(int row) const { return !trim_blanks(cell(row, Col_COB)).empty(); }

int RequestTable::First_Gap_Row() const {
  int gap = 0;
  for (int row = 1; row < RowCount; ++row) {
    if (!Row_In_Use(row)) {
      if (gap == 0) gap = row;
    } else if (gap != 0) {
      return gap;
    }
  }
  return 0;
}

}  // namespace sw48230

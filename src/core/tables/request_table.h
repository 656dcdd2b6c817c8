#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sw48230 {

// The columns of both request tables.
enum RequestColumn : int {
  Col_Number = 0,  // the row number, never read or written by an operation
  Col_Enable = 1,
  Col_COB = 2,
  Col_CAN_Type = 3,
  Col_IP = 4,
  Col_Port = 5,
  Col_ID_Modbus = 6,
  Col_Type = 7,
  Col_Address = 8,
  Col_NPoint = 9,
  Col_Poll_Time = 10,
  Col_Max_Error = 11,
  Col_Swap = 12,
  Col_Mnemonic = 13,
};

enum class ColumnKind { Number, Text, DropDown, CheckBox };

// The texts of a ticked and a cleared check-box cell.
inline const std::string Tick_Yes = "Y";
inline const std::string Tick_No = "N";

// Whether a check-box cell (or the attribute it is saved in) counts as
// ticked: "Y" in either letter case, blanks around it ignored. The checks,
// the screens and the image build all decide by this one rule, so that a
// row the checks take as enabled is the row that reaches the image.
bool Is_Ticked(std::string_view cell);

inline constexpr const char* CAN_Type_11_Bits = "CAN 2.0A (11 bits)";
inline constexpr const char* CAN_Type_29_Bits = "CAN 2.0B (29 bits)";

// A request table: a fixed grid of text cells. Row 0 holds the column titles
// (kept by the screen, not here), rows 1 to 512 the requests; column 0 shows
// the row number. A check-box cell holds "Y" or "N" (or nothing in a row
// never touched). Values stay text as typed until checked or compiled.
class RequestTable {
 public:
  static constexpr int RowCount = 513;
  static constexpr int ColCount = 14;
  static constexpr int Data_Rows = RowCount - 1;

  RequestTable();

  const std::string& cell(int row, int col) const { return cells_[index(row, col)]; }
  std::string& cell(int row, int col) { return cells_[index(row, col)]; }

  static ColumnKind kind(int col);

  // Every data row fresh: its number, Enable ticked, everything else empty.
  void Reset();

  // A row is in use when its Cob-ID, trimmed of blanks, is not empty. The
  // stored table ends at the first row not in use.
  bool Row_In_Use(int row) const;

  // The first row not in use that has a row in use somewhere below it, 0
  // when there is none. Saving would drop every row after it.
  int First_Gap_Row() const;

  // The current cell, on which the row operations act.
  int current_row = 1;
  int current_col = 1;

 private:
  static std::size_t index(int row, int col) {
    return static_cast<std::size_t>(row) * ColCount + static_cast<std::size_t>(col);
  }

  std::vector<std::string> cells_;
};

}  // namespace sw48230

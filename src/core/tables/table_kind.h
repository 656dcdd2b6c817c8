#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw48230 {

// What sets the two request tables apart: the read requests (COB Request,
// var.xml) and the write requests (COB Setting, var2.xml) are one table with
// these differences as data.
struct TableKind {
  std::size_t index;         // the kind's place in Table_Kinds(), for data kept per kind
  const char* screen_name;   // TFCOBRequest, TFCOBSetting
  const char* file_name;     // var.xml, var2.xml
  const char* image_name;    // request, setting: the table's name in the image and its reports
  const char* command_name;  // read, write: the table's name on the command line and in reports

  // The device writes these requests' values to their servers (the write
  // requests), else it reads them (the read requests): the images code the
  // types and the functions by it, and a probe reads the values back.
  bool writes;

  // The texts of the "Type" list; a type's code is its position.
  std::vector<std::string> type_texts;
  // Types whose NPoint counts coils or inputs (up to 64), by code; the
  // others count registers (up to 4).
  std::vector<bool> type_counts_bits;
  // The code a row gets when its file row has no Type attribute.
  int type_code_when_missing;

  // Columns hidden for jumper hardware and for any other device type.
  std::vector<int> hidden_for_jumper;
  std::vector<int> hidden_for_other;

  // The read checks end at the first row without a Cob-ID; the write checks
  // skip such a row and go on.
  bool gap_ends_checks;
  // Poll time and max error are checked (read requests, dip-switch hardware).
  bool checks_poll_time;

  // Message indexes.
  int msg_title;
  int msg_description;
  int msg_first_button;        // OK, Cancel, Delete, Insert, Copy, Paste follow in order
  int msg_first_button_hint;   // the buttons' hints, same order
  int msg_first_column_title;  // titles of columns 0 to 13
  int msg_first_column_hint;   // hints of the columns by meaning, from column 1
  int msg_delete_question;
  int msg_error_row;  // "Error row "; the check messages follow it
};

const TableKind& Read_Requests();
const TableKind& Write_Requests();
// Both kinds, read requests first: the order of the image and of the reports.
inline constexpr std::size_t Table_Kind_Count = 2;
const std::array<const TableKind*, Table_Kind_Count>& Table_Kinds();
// The kind of a command_name, or none.
const TableKind* Find_Table_Kind(std::string_view command_name);

// The message index of a column title's hint, by the column's meaning; none
// for a column without one. The hint list has one text more than there are
// columns, which belongs to no column and is passed over.
std::optional<int> Column_Hint_Message(const TableKind& kind, int col);

// The code of a "Type" cell: its text in the list, blanks around it and the
// letter case aside; none for any other text.
std::optional<std::size_t> Type_Code_Of(const TableKind& kind, std::string_view cell);

// The columns hidden for a device type.
const std::vector<int>& Hidden_Columns(const TableKind& kind, int device_type);

}  // namespace sw48230

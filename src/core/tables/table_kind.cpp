#include "core/tables/table_kind.h"

#include "core/common/text.h"
#include "core/commsettings/device_type.h"
#include "core/tables/request_table.h"
#include "core/tables/var_format.h"

namespace sw48230 {

const TableKind& Read_Requests() {
  static const TableKind kind{
      .index = 0,
      .screen_name = "TFCOBRequest",
      .file_name = var_file::Read_Requests_File_Name,
      .image_name = "request",
      .command_name = "read",
      .writes = false,
      .type_texts = {"Coil Status", "Input Status", "Holding Register", "Input Register"},
      .type_counts_bits = {true, true, false, false},
      .type_code_when_missing = 2,
      .hidden_for_jumper = {Col_Enable, Col_CAN_Type, Col_Port, Col_Poll_Time, Col_Max_Error, Col_Swap},
      .hidden_for_other = {},
      .gap_ends_checks = true,
      .checks_poll_time = true,
      .msg_title = 332,
      .msg_description = 333,
      .msg_first_button = 334,
      .msg_first_button_hint = 374,
      .msg_first_column_title = 340,
      .msg_first_column_hint = 360,
      .msg_delete_question = 394,
      .msg_error_row = 380,
  };
  return kind;
}

const TableKind& Write_Requests() {
  static const TableKind kind{
      .index = 1,
      .screen_name = "TFCOBSetting",
      .file_name = var_file::Write_Requests_File_Name,
      .image_name = "setting",
      .command_name = "write",
      .writes = true,
      .type_texts = {"Coil Status", "Holding Register"},
      .type_counts_bits = {true, false},
      .type_code_when_missing = 1,
      .hidden_for_jumper = {Col_Enable, Col_CAN_Type, Col_Port, Col_Poll_Time, Col_Max_Error, Col_Swap},
      .hidden_for_other = {Col_Poll_Time, Col_Max_Error},
      .gap_ends_checks = false,
      .checks_poll_time = false,
      .msg_title = 398,
      .msg_description = 399,
      .msg_first_button = 400,
      .msg_first_button_hint = 440,
      .msg_first_column_title = 406,
      .msg_first_column_hint = 426,
      .msg_delete_question = 458,
      .msg_error_row = 446,
  };
  return kind;
}

const std::array<const TableKind*, Table_Kind_Count>& Table_Kinds() {
  static const std::array<const TableKind*, Table_Kind_Count> kinds = {&Read_Requests(), &Write_Requests()};
  return kinds;
}

const TableKind* Find_Table_Kind(std::string_view command_name) {
  for (const TableKind* kind : Table_Kinds()) {
    if (command_name == kind->command_name) return kind;
  }
  return nullptr;
}

std::optional<int> Column_Hint_Message(const TableKind& kind, int col) {
  if (col < Col_Enable || col >= RequestTable::ColCount) return std::nullopt;
  // The tenth hint speaks of sending on a data change, which no column does.
  return kind.msg_first_column_hint + (col - Col_Enable) + (col > Col_Poll_Time ? 1 : 0);
}

std::optional<std::size_t> Type_Code_Of(const TableKind& kind, std::string_view cell) {
  const std::string_view type = trim_blanks(cell);
  for (std::size_t code = 0; code < kind.type_texts.size(); ++code) {
    if (equals_ignoring_ascii_case(type, kind.type_texts[code])) return code;
  }
  return std::nullopt;
}

const std::vector<int>& Hidden_Columns(const TableKind& kind, int device_type) {
  return device_type == Device_Type_Jumper ? kind.hidden_for_jumper : kind.hidden_for_other;
}

}  // namespace sw48230

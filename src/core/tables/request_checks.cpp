#include "core/tables/request_checks.h"

#include "core/common/failure.h"
#include "core/common/number_text.h"
#include "core/common/text.h"
#include "core/commsettings/device_type.h"
#include "core/i18n/failure_messages.h"
#include "core/i18n/message_table.h"
#include "core/tables/row_editing.h"

namespace sw48230 {
namespace {

// Offsets of the check messages from the table's "Error row " message.
enum CheckMessage : int {
  Cob_11_Bits = 1,
  Cob_29_Bits = 2,
  CAN_Type_Empty = 3,
  CAN_Type_Invalid = 4,
  Slave_IP = 5,
  Port_Range = 6,
  Slave_ID = 7,
  Type_Missing = 8,
  Address_Range = 9,
  NPoint_Bits = 10,
  NPoint_Registers = 11,
  Poll_Time_Range = 12,
  Max_Error_Range = 13,
};

// A failed check: its message offset and the column of the cell it is about.
struct FailedCheck {
  CheckMessage message;
  int column;
};

bool in_range(const std::string& text, std::int64_t low, std::int64_t high) {
  const std::int32_t value = to_int32(text, -1);
  return value >= low && value <= high;
}

// The row's first failing check, none when it passes.
std::optional<FailedCheck> check_row(const TableKind& kind, const RequestTable& table, const TableContext& context,
                                     int row) {
  const auto cell = [&](int col) -> const std::string& { return table.cell(row, col); };

  bool extended = context.Type_Can != 0;
  if (context.Hard_Type != Device_Type_Jumper) {
    const std::string_view can_type = trim_blanks(cell(Col_CAN_Type));
    if (can_type.empty()) return FailedCheck{CAN_Type_Empty, Col_CAN_Type};
    extended = equals_ignoring_ascii_case(can_type, CAN_Type_29_Bits);
    if (!extended && !equals_ignoring_ascii_case(can_type, CAN_Type_11_Bits)) {
      return FailedCheck{CAN_Type_Invalid, Col_CAN_Type};
    }
  }
  if (extended ? !in_range(cell(Col_COB), 0, 0x1FFFFFFF) : !in_range(cell(Col_COB), 0, 2047)) {
    return FailedCheck{extended ? Cob_29_Bits : Cob_11_Bits, Col_COB};
  }
  if (Check_IP(cell(Col_IP))) return FailedCheck{Slave_IP, Col_IP};
  if (context.Hard_Type == Device_Type_Dip_Switch && !in_range(cell(Col_Port), 0, 65535))
    return FailedCheck{Port_Range, Col_Port};
  if (!in_range(cell(Col_ID_Modbus), 0, 255)) return FailedCheck{Slave_ID, Col_ID_Modbus};

  const std::optional<std::size_t> type = Type_Code_Of(kind, cell(Col_Type));
  if (!type) return FailedCheck{Type_Missing, Col_Type};
  const std::size_t code = *type;

  if (!in_range(cell(Col_Address), 0, 65535)) return FailedCheck{Address_Range, Col_Address};
  if (kind.type_counts_bits[code] ? !in_range(cell(Col_NPoint), 1, 64) : !in_range(cell(Col_NPoint), 1, 4)) {
    return FailedCheck{kind.type_counts_bits[code] ? NPoint_Bits : NPoint_Registers, Col_NPoint};
  }
  if (kind.checks_poll_time && context.Hard_Type == Device_Type_Dip_Switch) {
    if (!in_range(cell(Col_Poll_Time), 1, 100000000)) return FailedCheck{Poll_Time_Range, Col_Poll_Time};
    if (!in_range(cell(Col_Max_Error), 0, 100000000)) return FailedCheck{Max_Error_Range, Col_Max_Error};
  }
  return std::nullopt;
}

}  // namespace

std::optional<RowFailure> Check_Storable(const TableKind& kind, const RequestTable& table, int row) {
  const RowAttributes values = Row_Attributes(kind, table, row);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (const auto fault = Check_Stored_Value(values[i], i)) {
      const bool too_long = fault->kind == ValueFault::Kind::Too_Long;
      return RowFailure{row, Attribute_Column(i), too_long ? Msg_Row_Value_Too_Long : Msg_Row_Character, fault->detail};
    }
  }
  return std::nullopt;
}

std::optional<RowFailure> Check_Row(const TableKind& kind, const RequestTable& table, const TableContext& context,
                                    int row) {
  if (auto failure = Check_Storable(kind, table, row)) return failure;
  // Only dip-switch hardware knows disabled rows.
  if (context.Hard_Type == Device_Type_Dip_Switch && !Is_Ticked(table.cell(row, Col_Enable))) return std::nullopt;
  if (const auto failed = check_row(kind, table, context, row)) {
    return RowFailure{row, failed->column, kind.msg_error_row + failed->message, ""};
  }
  return std::nullopt;
}

std::vector<RowFailure> Check_Rows(const TableKind& kind, const RequestTable& table, const TableContext& context,
                                   bool first_only) {
  std::vector<RowFailure> failures;
  const int gap = table.First_Gap_Row();
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    if (!table.Row_In_Use(row)) {
      if (row == gap) {
        failures.push_back({row, Col_COB, Msg_Row_Gap, ""});
        if (first_only) break;
      }
      if (kind.gap_ends_checks) break;
      continue;
    }
    if (auto failure = Check_Row(kind, table, context, row)) {
      failures.push_back(std::move(*failure));
      if (first_only) break;
    }
  }
  return failures;
}

std::optional<RowFailure> Controllo_Dati(const TableKind& kind, const RequestTable& table,
                                         const TableContext& context) {
  const std::vector<RowFailure> failures = Check_Rows(kind, table, context, true);
  if (failures.empty()) return std::nullopt;
  return failures.front();
}

std::string Failure_Message(const MessageTable& messages, const TableKind& kind, const RowFailure& failure) {
  const std::string& column_title = messages.text(kind.msg_first_column_title + failure.column);
  return Row_Text(messages, kind.msg_error_row, failure.row,
                  Fill_Placeholders(messages.text(failure.message), {column_title, failure.detail}));
}

}  // namespace sw48230

#include "core/tables/request_checks.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>

#include "core/i18n/message_table.h"

namespace sw48230 {
namespace {

// A row that passes every check of both tables on any device type.
void good_row(RequestTable& table, int row) {
  const std::vector<std::string> cells = {
      "Y", "385", "CAN 2.0A (11 bits)", "192.168.0.11", "502", "1", "Holding Register", "0", "4", "1000", "0", "Y", ""};
  for (int col = 1; col < RequestTable::ColCount; ++col)
    table.cell(row, col) = cells[static_cast<std::size_t>(col - 1)];
}

using Change = std::function<void(RequestTable&)>;

struct Case {
  const char* name;
  TableContext context;
  Change change;
  std::optional<RowFailure> read;   // first failure on the read table
  std::optional<RowFailure> write;  // first failure on the write table
};

constexpr TableContext Jumper_11{0, 0, 502};
constexpr TableContext Jumper_29{0, 1, 502};
constexpr TableContext Dip_Switch{1, 0, 502};

const auto none = std::nullopt;

// Each case changes a table whose row 1 passes every check.
void expect_first_failures(std::span<const Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RequestTable table;
    good_row(table, 1);
    c.change(table);
    EXPECT_EQ(Controllo_Dati(Read_Requests(), table, c.context), c.read);
    EXPECT_EQ(Controllo_Dati(Write_Requests(), table, c.context), c.write);
  }
}

TEST(RequestChecks, FirstFailurePerTable) {
  const Case cases[] = {
      {"good row", Dip_Switch, [](RequestTable&) {}, none, none},
      {"11-bit limit", Jumper_11, [](RequestTable& t) { t.cell(1, Col_COB) = "2047"; }, none, none},
      {"11-bit hex", Jumper_11, [](RequestTable& t) { t.cell(1, Col_COB) = "0x7FF"; }, none, none},
      {"11-bit over", Jumper_11, [](RequestTable& t) { t.cell(1, Col_COB) = "2048"; }, RowFailure{1, Col_COB, 381, ""},
       RowFailure{1, Col_COB, 447, ""}},
      {"29-bit project", Jumper_29, [](RequestTable& t) { t.cell(1, Col_COB) = "536870911"; }, none, none},
      {"29-bit over", Jumper_29, [](RequestTable& t) { t.cell(1, Col_COB) = "536870912"; },
       RowFailure{1, Col_COB, 382, ""}, RowFailure{1, Col_COB, 448, ""}},
      {"jumper ignores the CAN type cell", Jumper_11, [](RequestTable& t) { t.cell(1, Col_CAN_Type) = ""; }, none,
       none},
      {"row CAN type empty, even for a 29-bit project", TableContext{1, 1, 502},
       [](RequestTable& t) { t.cell(1, Col_CAN_Type) = " "; }, RowFailure{1, Col_CAN_Type, 383, ""},
       RowFailure{1, Col_CAN_Type, 449, ""}},
      {"row CAN type unknown", Dip_Switch, [](RequestTable& t) { t.cell(1, Col_CAN_Type) = "CAN 2.0C"; },
       RowFailure{1, Col_CAN_Type, 384, ""}, RowFailure{1, Col_CAN_Type, 450, ""}},
      {"row CAN type 29 bits, any case", Dip_Switch,
       [](RequestTable& t) {
         t.cell(1, Col_CAN_Type) = " can 2.0b (29 BITS) ";
         t.cell(1, Col_COB) = "$1FFFFFFF";
       },
       none, none},
      {"disabled row not checked", Dip_Switch,
       [](RequestTable& t) {
         t.cell(1, Col_Enable) = "N";
         t.cell(1, Col_COB) = "99999999999";
       },
       none, none},
      {"enable is only meaningful for dip-switch hardware", Jumper_11,
       [](RequestTable& t) {
         t.cell(1, Col_Enable) = "N";
         t.cell(1, Col_COB) = "4000";
       },
       RowFailure{1, Col_COB, 381, ""}, RowFailure{1, Col_COB, 447, ""}},
      {"enable trimmed and upper-cased", Dip_Switch,
       [](RequestTable& t) {
         t.cell(1, Col_Enable) = " y ";
         t.cell(1, Col_COB) = "-1";
       },
       RowFailure{1, Col_COB, 381, ""}, RowFailure{1, Col_COB, 447, ""}},
      {"bad address", Dip_Switch, [](RequestTable& t) { t.cell(1, Col_IP) = "1.2.3"; }, RowFailure{1, Col_IP, 385, ""},
       RowFailure{1, Col_IP, 451, ""}},
      {"port on dip-switch hardware", Dip_Switch, [](RequestTable& t) { t.cell(1, Col_Port) = "65536"; },
       RowFailure{1, Col_Port, 386, ""}, RowFailure{1, Col_Port, 452, ""}},
      {"port hidden on jumper hardware", Jumper_11, [](RequestTable& t) { t.cell(1, Col_Port) = ""; }, none, none},
      {"slave id", Jumper_11, [](RequestTable& t) { t.cell(1, Col_ID_Modbus) = "256"; },
       RowFailure{1, Col_ID_Modbus, 387, ""}, RowFailure{1, Col_ID_Modbus, 453, ""}},
      {"type missing", Jumper_11, [](RequestTable& t) { t.cell(1, Col_Type) = ""; }, RowFailure{1, Col_Type, 388, ""},
       RowFailure{1, Col_Type, 454, ""}},
      {"input types are read-only", Jumper_11, [](RequestTable& t) { t.cell(1, Col_Type) = "Input Register"; }, none,
       RowFailure{1, Col_Type, 454, ""}},
      {"address", Jumper_11, [](RequestTable& t) { t.cell(1, Col_Address) = "65536"; },
       RowFailure{1, Col_Address, 389, ""}, RowFailure{1, Col_Address, 455, ""}},
      {"64 coils", Jumper_11,
       [](RequestTable& t) {
         t.cell(1, Col_Type) = "coil status";
         t.cell(1, Col_NPoint) = "64";
       },
       none, none},
      {"65 coils", Jumper_11,
       [](RequestTable& t) {
         t.cell(1, Col_Type) = "Coil Status";
         t.cell(1, Col_NPoint) = "65";
       },
       RowFailure{1, Col_NPoint, 390, ""}, RowFailure{1, Col_NPoint, 456, ""}},
      {"0 points", Jumper_11, [](RequestTable& t) { t.cell(1, Col_NPoint) = "0"; }, RowFailure{1, Col_NPoint, 391, ""},
       RowFailure{1, Col_NPoint, 457, ""}},
      {"5 registers", Jumper_11, [](RequestTable& t) { t.cell(1, Col_NPoint) = "5"; },
       RowFailure{1, Col_NPoint, 391, ""}, RowFailure{1, Col_NPoint, 457, ""}},
      {"poll time on dip-switch hardware", Dip_Switch, [](RequestTable& t) { t.cell(1, Col_Poll_Time) = "0"; },
       RowFailure{1, Col_Poll_Time, 392, ""}, none},
      {"poll time not checked on jumper hardware", Jumper_11, [](RequestTable& t) { t.cell(1, Col_Poll_Time) = "0"; },
       none, none},
      {"max error", Dip_Switch, [](RequestTable& t) { t.cell(1, Col_Max_Error) = "100000001"; },
       RowFailure{1, Col_Max_Error, 393, ""}, none},
      {"checks in their order", Dip_Switch,
       [](RequestTable& t) {
         t.cell(1, Col_ID_Modbus) = "x";
         t.cell(1, Col_IP) = "x";
       },
       RowFailure{1, Col_IP, 385, ""}, RowFailure{1, Col_IP, 451, ""}},
      {"a row without a Cob-ID before a row in use fails first", Jumper_11,
       [](RequestTable& t) {
         t.cell(2, Col_COB) = " ";
         good_row(t, 3);
         t.cell(3, Col_ID_Modbus) = "300";
       },
       RowFailure{2, Col_COB, Msg_Row_Gap, ""}, RowFailure{2, Col_COB, Msg_Row_Gap, ""}},
      {"also when the row in use below is disabled", Dip_Switch,
       [](RequestTable& t) {
         t.cell(7, Col_COB) = "x";
         t.cell(7, Col_Enable) = "N";
       },
       RowFailure{2, Col_COB, Msg_Row_Gap, ""}, RowFailure{2, Col_COB, Msg_Row_Gap, ""}},
      {"empty rows after the last request are no gap", Jumper_11, [](RequestTable& t) { t.cell(2, Col_COB) = " "; },
       none, none},
  };
  expect_first_failures(cases);
}

TEST(RequestChecks, AllFailuresAreListedOnePerRow) {
  RequestTable table;
  for (int row = 1; row <= 4; ++row) good_row(table, row);
  table.cell(1, Col_COB) = "5000";
  table.cell(1, Col_NPoint) = "9";
  table.cell(3, Col_Address) = "-2";
  const std::vector<RowFailure> failures = Check_Rows(Read_Requests(), table, Jumper_11, false);
  EXPECT_EQ(failures, (std::vector<RowFailure>{{1, Col_COB, 381, ""}, {3, Col_Address, 389, ""}}));
  EXPECT_EQ(Check_Rows(Read_Requests(), table, Jumper_11, true), (std::vector<RowFailure>{{1, Col_COB, 381, ""}}));
}

TEST(RequestChecks, AGapIsListedOnceAndTheWriteChecksGoOn) {
  RequestTable table;
  good_row(table, 1);
  good_row(table, 4);
  good_row(table, 6);
  table.cell(4, Col_Address) = "-2";
  table.cell(6, Col_Address) = "-2";
  EXPECT_EQ(Check_Rows(Read_Requests(), table, Jumper_11, false),
            (std::vector<RowFailure>{{2, Col_COB, Msg_Row_Gap, ""}}));
  EXPECT_EQ(
      Check_Rows(Write_Requests(), table, Jumper_11, false),
      (std::vector<RowFailure>{{2, Col_COB, Msg_Row_Gap, ""}, {4, Col_Address, 455, ""}, {6, Col_Address, 455, ""}}));
}

// A value the file cannot hold fails in every row in use, disabled rows
// included since they are saved too, before the checks of the values.
TEST(RequestChecks, ValuesTheFileCannotHold) {
  const std::string too_long(Value_Max_Characters + 1, 'x');
  const std::string too_long_mnemonic(Mnemonic_Max_Characters + 1, 'x');
  const Case cases[] = {
      {"escape in a mnemonic", Jumper_11, [](RequestTable& t) { t.cell(1, Col_Mnemonic) = "pump\x1B[0m"; },
       RowFailure{1, Col_Mnemonic, Msg_Row_Character, "U+001B"},
       RowFailure{1, Col_Mnemonic, Msg_Row_Character, "U+001B"}},
      {"disabled row", Dip_Switch,
       [](RequestTable& t) {
         t.cell(1, Col_Enable) = "N";
         t.cell(1, Col_COB) = "bad\x01";
       },
       RowFailure{1, Col_COB, Msg_Row_Character, "U+0001"}, RowFailure{1, Col_COB, Msg_Row_Character, "U+0001"}},
      {"hidden column on jumper hardware", Jumper_11,
       [](RequestTable& t) { t.cell(1, Col_Poll_Time) = "\xEF\xBF\xBE"; },
       RowFailure{1, Col_Poll_Time, Msg_Row_Character, "U+FFFE"},
       RowFailure{1, Col_Poll_Time, Msg_Row_Character, "U+FFFE"}},
      {"inside the address", Jumper_11,
       [](RequestTable& t) {
         t.cell(1, Col_IP) =
             "192.1\x0C"
             "68.0.11";
       },
       RowFailure{1, Col_IP, Msg_Row_Character, "U+000C"}, RowFailure{1, Col_IP, Msg_Row_Character, "U+000C"}},
      // The address bytes are saved trimmed: blanks and control characters
      // around them never reach the file, and the address check speaks.
      {"around an address byte", Jumper_11, [](RequestTable& t) { t.cell(1, Col_IP) = "192.168.0.11\x1B"; },
       RowFailure{1, Col_IP, 385, ""}, RowFailure{1, Col_IP, 451, ""}},
      {"a long mnemonic", Dip_Switch, [&](RequestTable& t) { t.cell(1, Col_Mnemonic) = too_long; }, none, none},
      {"a mnemonic too long", Dip_Switch, [&](RequestTable& t) { t.cell(1, Col_Mnemonic) = too_long_mnemonic; },
       RowFailure{1, Col_Mnemonic, Msg_Row_Value_Too_Long, "255"},
       RowFailure{1, Col_Mnemonic, Msg_Row_Value_Too_Long, "255"}},
      {"before the checks of the values", Jumper_11,
       [&](RequestTable& t) {
         t.cell(1, Col_COB) = "5000";
         t.cell(1, Col_Type) = too_long;
       },
       RowFailure{1, Col_Type, Msg_Row_Value_Too_Long, "40"}, RowFailure{1, Col_Type, Msg_Row_Value_Too_Long, "40"}},
      {"rows after the last request are not saved", Jumper_11,
       [&](RequestTable& t) { t.cell(2, Col_Mnemonic) = "\x01" + too_long; }, none, none},
  };
  expect_first_failures(cases);
}

// The error box names the row and the column by its title in the user's
// language, as the texts of the other checks do.
TEST(RequestChecks, FailureTexts) {
  const MessageTable& messages = English_Messages();
  EXPECT_EQ(Failure_Message(messages, Read_Requests(), {3, Col_COB, 381, ""}),
            "Error row 3!! Cob-ID must be between 0 and 2047");
  EXPECT_EQ(Failure_Message(messages, Write_Requests(), {7, Col_IP, Msg_Row_Character, "U+001B"}),
            "Error row 7!! Slave IP Address holds a character that a project file cannot store: U+001B");
  EXPECT_EQ(Failure_Message(messages, Read_Requests(), {2, Col_Mnemonic, Msg_Row_Value_Too_Long, "255"}),
            "Error row 2!! Mnemonic is longer than 255 characters");
}

TEST(RequestChecks, AnEmptyTablePasses) {
  const RequestTable table;
  EXPECT_EQ(Controllo_Dati(Read_Requests(), table, Dip_Switch), std::nullopt);
  EXPECT_EQ(Controllo_Dati(Write_Requests(), table, Dip_Switch), std::nullopt);
}

}  // namespace
}  // namespace sw48230

#include "core/tables/request_find.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/tables/cob_id_hex.h"

namespace sw48230 {

void PrintTo(const FindHit& hit, std::ostream* out) {
  *out << "{row " << hit.row << ", col " << hit.col << (hit.wrapped ? ", wrapped}" : "}");
}

namespace {

// Rows 1 to 4 of a read table, and a lone row far down.
RequestTable sample() {
  RequestTable table;
  const auto fill = [&](int row, const char* cob, const char* ip, const char* unit, const char* address,
                        const char* mnemonic) {
    table.cell(row, Col_COB) = cob;
    table.cell(row, Col_IP) = ip;
    table.cell(row, Col_ID_Modbus) = unit;
    table.cell(row, Col_Address) = address;
    table.cell(row, Col_Mnemonic) = mnemonic;
    table.cell(row, Col_Port) = "502";
  };
  fill(1, "389", "192.168.0.11", "1", "100", "Pump speed");
  fill(2, "0x186", "192.168.0.12", "7", "389", "Valve");
  fill(3, "400", "192.168.1.11", "389", "0", "pump 2 pressure");
  fill(4, "401", " 10 . 0. 0 .1", "2", "2", "Tank");
  fill(500, "502", "192.168.0.110", "3", "4", "");
  return table;
}

struct FindCase {
  const char* name;
  const char* query;
  int row;
  int col;
  bool forward;
  std::optional<FindHit> expected;
};

TEST(RequestFindTest, FindsTheNextOrPreviousMatchingCell) {
  const FindCase cases[] = {
      // 389 is row 1's Cob-ID, row 2's register address and row 3's unit.
      {"decimal number, from the top", "389", 1, Col_Number, true, FindHit{1, Col_COB, false}},
      {"decimal number, after a Cob-ID", "389", 1, Col_COB, true, FindHit{2, Col_Address, false}},
      {"decimal number, unit id", "389", 2, Col_Address, true, FindHit{3, Col_ID_Modbus, false}},
      {"decimal number wraps to the top", "389", 3, Col_ID_Modbus, true, FindHit{1, Col_COB, true}},
      {"hex query finds a decimal Cob-ID", "0x185", 3, Col_ID_Modbus, true, FindHit{1, Col_COB, true}},
      {"decimal query finds a hex Cob-ID", "390", 1, Col_COB, true, FindHit{2, Col_COB, false}},
      {"previous, from a cell", "389", 3, Col_ID_Modbus, false, FindHit{2, Col_Address, false}},
      {"previous wraps to the end", "389", 1, Col_COB, false, FindHit{3, Col_ID_Modbus, true}},
      {"previous from a column not searched", "7", 2, Col_Type, false, FindHit{2, Col_ID_Modbus, false}},
      {"next from a column not searched", "7", 2, Col_Port, true, FindHit{2, Col_ID_Modbus, false}},
      {"the only match is the current cell", "502", 500, Col_COB, true, FindHit{500, Col_COB, true}},
      {"a port is not searched", "502", 1, Col_COB, true, FindHit{500, Col_COB, false}},
      {"whole address", "192.168.0.11", 1, Col_COB, true, FindHit{1, Col_IP, false}},
      {"leading bytes of an address", "192.168.0", 1, Col_IP, true, FindHit{2, Col_IP, false}},
      {"a byte is not cut", "192.168.0.1", 1, Col_Number, true, std::nullopt},
      {"address bytes with blanks", "10.0.0.1", 1, Col_Number, true, FindHit{4, Col_IP, false}},
      {"mnemonic, any case", "PUMP", 1, Col_Mnemonic, true, FindHit{3, Col_Mnemonic, false}},
      {"mnemonic containing a number", "2", 3, Col_Address, true, FindHit{3, Col_Mnemonic, false}},
      {"blank query", "  ", 1, Col_Number, true, std::nullopt},
      {"no match", "Boiler", 1, Col_Number, true, std::nullopt},
  };
  const RequestTable table = sample();
  for (const FindCase& c : cases) {
    EXPECT_EQ(Find_Request(table, c.query, c.row, c.col, c.forward), c.expected) << c.name;
  }
}

TEST(CobIdHexTest, ShowsTheFrameFormatsDigits) {
  struct Case {
    const char* cob;
    bool extended;
    std::optional<std::string> expected;
  } const cases[] = {
      {"389", false, "0x185"},     {"389", true, "0x00000185"},        {"0x7ff", false, "0x7FF"},
      {"5", false, "0x005"},       {" $1FFFFFFF", true, "0x1FFFFFFF"}, {"4096", false, "0x1000"},
      {"-1", false, std::nullopt}, {"12a", false, std::nullopt},       {"", true, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(Cob_ID_Hex(c.cob, c.extended), c.expected) << c.cob;
}

TEST(CobIdHexTest, TheRowsCanTypeDecidesWhereTheHardwareHasTheColumn) {
  RequestTable table;
  table.cell(1, Col_CAN_Type) = CAN_Type_29_Bits;
  table.cell(2, Col_CAN_Type) = CAN_Type_11_Bits;
  EXPECT_TRUE(Extended_Frame(table, 1, {Device_Type_Dip_Switch, 0, 502}));
  EXPECT_FALSE(Extended_Frame(table, 2, {Device_Type_Dip_Switch, 1, 502}));
  EXPECT_FALSE(Extended_Frame(table, 1, {Device_Type_Jumper, 0, 502}));
  EXPECT_TRUE(Extended_Frame(table, 2, {Device_Type_Jumper, 1, 502}));
}

}  // namespace
}  // namespace sw48230

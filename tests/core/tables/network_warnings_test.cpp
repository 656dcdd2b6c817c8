#include "core/tables/network_warnings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/i18n/message_table.h"
#include "core/tables/table_report_messages.h"

namespace sw48230 {

void PrintTo(const NetworkWarning& warning, std::ostream* out) {
  *out << "{" << warning.message << ", rows";
  for (const int row : warning.rows) *out << ' ' << row;
  *out << "}";
}

namespace {

constexpr TableContext Jumper{0, 0, 502};
constexpr TableContext Dip_Switch{1, 0, 502};

// A row that passes the checks of both tables: one holding register at
// address 0 of unit 1 on 192.168.0.11:502.
struct Row {
  std::string cob = "256";
  std::string address = "192.168.0.11";
  std::string type = "Holding Register";
  std::string first = "0";
  std::string count = "1";
  std::string enable = "Y";
  std::string can_type = CAN_Type_11_Bits;
  std::string port = "502";
  std::string unit = "1";
};

RequestTable table_of(const std::vector<Row>& rows) {
  RequestTable table;
  int r = 1;
  for (const Row& row : rows) {
    table.cell(r, Col_Enable) = row.enable;
    table.cell(r, Col_COB) = row.cob;
    table.cell(r, Col_CAN_Type) = row.can_type;
    table.cell(r, Col_IP) = row.address;
    table.cell(r, Col_Port) = row.port;
    table.cell(r, Col_ID_Modbus) = row.unit;
    table.cell(r, Col_Type) = row.type;
    table.cell(r, Col_Address) = row.first;
    table.cell(r, Col_NPoint) = row.count;
    table.cell(r, Col_Poll_Time) = "100";
    table.cell(r, Col_Max_Error) = "0";
    ++r;
  }
  return table;
}

// The warnings expected of a table's rows.
struct TableCase {
  const char* name;
  std::vector<Row> rows;
  TableContext context;
  std::vector<NetworkWarning> expected;
};

const ConverterNetwork Subnet_24{0xC0A8000A, 0xFFFFFF00, false};  // 192.168.0.10/24, no gateway

Row at(const std::string& address) {
  Row row;
  row.address = address;
  return row;
}

TEST(NetworkWarnings, ServerAddresses) {
  struct Case {
    const char* name;
    Row row;
    ConverterNetwork converter;
    int message;  // 0: no warning
  };
  const ConverterNetwork with_gateway{0xC0A8000A, 0xFFFFFF00, true};
  const ConverterNetwork point_to_point{0xC0A8000A, 0xFFFFFFFE, false};
  const std::vector<Case> cases = {
      {"in the subnet", at("192.168.0.11"), Subnet_24, 0},
      {"outside, no gateway", at("192.168.1.11"), Subnet_24, Msg_Warning_Unreachable},
      {"outside, gateway", at("10.0.0.1"), with_gateway, 0},
      {"written in hex", at("192.168.1.$B"), Subnet_24, Msg_Warning_Unreachable},
      {"the converter itself", at("192.168.0.10"), Subnet_24, Msg_Warning_Own_Address},
      {"the converter itself, gateway", at("192.168.0.10"), with_gateway, Msg_Warning_Own_Address},
      {"network address", at("192.168.0.0"), with_gateway, Msg_Warning_Network_Address},
      {"broadcast address", at("192.168.0.255"), Subnet_24, Msg_Warning_Broadcast_Address},
      {"a /31 has no broadcast address", at("192.168.0.11"), point_to_point, 0},
      {"invalid address: the row checks report it", at("192.168.300.1"), Subnet_24, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<NetworkWarning> expected;
    if (c.message != 0) expected.push_back({c.message, {1}});
    for (const TableKind* kind : {&Read_Requests(), &Write_Requests()}) {
      EXPECT_EQ(Network_Warnings(*kind, table_of({c.row}), Jumper, c.converter), expected);
    }
  }
  // Without the converter's settings there is nothing to compare with.
  EXPECT_EQ(Network_Warnings(Read_Requests(), table_of({at("192.168.0.10")}), Jumper, std::nullopt),
            std::vector<NetworkWarning>{});
}

TEST(NetworkWarnings, ReadRequestsWithOneCobId) {
  Row hex;
  hex.cob = "0x100";
  Row extended;
  extended.can_type = CAN_Type_29_Bits;
  Row disabled;
  disabled.enable = "N";
  Row other;
  other.cob = "257";
  Row failing;
  failing.count = "5";
  const std::vector<TableCase> cases = {
      {"one identifier written two ways", {Row{}, other, hex}, Jumper, {{Msg_Warning_Same_Cob_ID, {1, 3}}}},
      {"three rows, one warning", {Row{}, Row{}, other, Row{}}, Jumper, {{Msg_Warning_Same_Cob_ID, {1, 2, 4}}}},
      {"11-bit and 29-bit frames differ", {Row{}, extended}, Dip_Switch, {}},
      {"the frame format is the project's on jumper hardware", {Row{}, extended}, Jumper,
       {{Msg_Warning_Same_Cob_ID, {1, 2}}}},
      {"a row that fails its checks has its error instead", {Row{}, failing}, Jumper, {}},
      {"a disabled row feeds no frame", {Row{}, disabled}, Dip_Switch, {}},
      {"jumper hardware has no disabled rows", {Row{}, disabled}, Jumper, {{Msg_Warning_Same_Cob_ID, {1, 2}}}},
  };
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Network_Warnings(Read_Requests(), table_of(c.rows), c.context, Subnet_24), c.expected);
  }
  // Write requests may share a Cob-ID: one CAN frame can trigger several writes.
  Row next_register;
  next_register.first = "1";
  EXPECT_EQ(Network_Warnings(Write_Requests(), table_of({Row{}, next_register}), Jumper, Subnet_24),
            std::vector<NetworkWarning>{});
  // Rows after the first without a Cob-ID are not saved and not looked at.
  RequestTable gap = table_of({Row{}, Row{}, Row{}});
  gap.cell(2, Col_COB) = "";
  EXPECT_EQ(Network_Warnings(Read_Requests(), gap, Jumper, Subnet_24), std::vector<NetworkWarning>{});
}

TEST(NetworkWarnings, WriteRequestsWithOverlappingRanges) {
  const auto range = [](const std::string& first, const std::string& count) {
    Row row;
    row.first = first;
    row.count = count;
    return row;
  };
  Row coils = range("0", "4");
  coils.type = "Coil Status";
  Row other_port = range("0", "4");
  other_port.port = "503";
  Row other_unit = range("0", "4");
  other_unit.unit = "2";
  Row other_server = range("0", "4");
  other_server.address = "192.168.0.12";
  const std::vector<TableCase> cases = {
      {"touching ranges do not overlap", {range("0", "4"), range("4", "4")}, Jumper, {}},
      {"one register in common", {range("0", "4"), range("3", "1")}, Jumper,
       {{Msg_Warning_Overlapping_Writes, {1, 2}}}},
      {"a chain of overlaps is one group", {range("6", "2"), range("0", "4"), range("3", "4"), range("20", "1")},
       Jumper, {{Msg_Warning_Overlapping_Writes, {1, 2, 3}}}},
      {"coils and registers are apart", {range("0", "4"), coils}, Jumper, {}},
      {"other unit", {range("0", "4"), other_unit}, Jumper, {}},
      {"other server", {range("0", "4"), other_server}, Jumper, {}},
      {"other port on dip-switch hardware", {range("0", "4"), other_port}, Dip_Switch, {}},
      {"jumper hardware uses the project's port", {range("0", "4"), other_port}, Jumper,
       {{Msg_Warning_Overlapping_Writes, {1, 2}}}},
      {"two groups", {range("0", "2"), coils, range("1", "1"), coils}, Jumper,
       {{Msg_Warning_Overlapping_Writes, {1, 3}}, {Msg_Warning_Overlapping_Writes, {2, 4}}}},
  };
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Network_Warnings(Write_Requests(), table_of(c.rows), c.context, Subnet_24), c.expected);
  }
}

TEST(NetworkWarnings, WarningTexts) {
  MessageTable messages;
  messages.Default_Messages();
  EXPECT_EQ(Network_Warning_Text(messages, {Msg_Warning_Own_Address, {4}}),
            "Warning row 4!! The server address is the converter's own address");
  EXPECT_EQ(Network_Warning_Text(messages, {Msg_Warning_Same_Cob_ID, {1, 7, 9}}),
            "Warning rows 1, 7, 9!! Enabled read requests with the same Cob-ID feed one CAN frame");
}

TEST(NetworkWarnings, ConverterNetworkNeedsAValidAddressAndMask) {
  CommSettings settings;
  settings.TCP_IP = {"10", "0", "0", "$FE"};
  settings.En_GAT = true;
  const auto network = Converter_Network(settings);
  ASSERT_TRUE(network.has_value());
  EXPECT_EQ(network->address, 0x0A0000FEu);
  EXPECT_EQ(network->mask, 0xFFFFFF00u);
  EXPECT_TRUE(network->gateway);
  settings.TCP_SUB[3] = "256";
  EXPECT_FALSE(Converter_Network(settings).has_value());
}

}  // namespace
}  // namespace sw48230

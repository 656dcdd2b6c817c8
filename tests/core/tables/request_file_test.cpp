#include "core/tables/request_file.h"

#include <gtest/gtest.h>

#include "core/common/file_read.h"
#include "support/failure_of.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

std::vector<std::string> row_cells(const RequestTable& table, int row) {
  std::vector<std::string> cells;
  for (int col = 1; col < RequestTable::ColCount; ++col) cells.push_back(table.cell(row, col));
  return cells;
}

TEST(RequestFile, EachMissingAttributeFallsBackOnItsOwn) {
  TempDir dir;
  write_file(dir / "var.xml",
             "<?xml version=\"1.0\"?><C_TO_Customer_Protocol>"
             "<row COB=\"100\"/>"
             "<other Type=\"7\" IP_Add_B3=\"5\" Port=\"\" Mnemonic=\"a &amp; b\" Enable=\"N\"/>"
             "</C_TO_Customer_Protocol>");
  RequestTable table;
  table.cell(3, Col_COB) = "stale";
  const Result<RequestLoad> loaded =
      Load_Requests(Read_Requests(), Read_Requests_File(dir / "var.xml"), {1, 1, 1502}, table);
  ASSERT_TRUE(loaded) << test::english(loaded.failure());
  EXPECT_EQ(loaded->rows_left_out, 0);
  EXPECT_EQ(row_cells(table, 1), (std::vector<std::string>{"Y", "100", "CAN 2.0B (29 bits)", "192.168.0.11", "1502",
                                                           "1", "Holding Register", "", "", "", "0", "Y", ""}));
  EXPECT_EQ(row_cells(table, 2), (std::vector<std::string>{"N", "", "CAN 2.0B (29 bits)", "192.168.5.11", "", "1", "",
                                                           "", "", "", "0", "Y", "a & b"}));
  EXPECT_EQ(row_cells(table, 3), (std::vector<std::string>{"Y", "", "", "", "", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(table.cell(512, Col_Number), "512");
}

TEST(RequestFile, TheTypeCodesDifferBetweenTheTables) {
  TempDir dir;
  write_file(dir / "var2.xml", "<R><row/><row Type=\"0\"/><row Type=\"3\"/><row Type=\"x\"/></R>");
  RequestTable table;
  Load_Requests(Write_Requests(), Read_Requests_File(dir / "var2.xml"), {}, table);
  EXPECT_EQ(table.cell(1, Col_Type), "Holding Register");
  EXPECT_EQ(table.cell(2, Col_Type), "Coil Status");
  EXPECT_EQ(table.cell(3, Col_Type), "");
  EXPECT_EQ(table.cell(4, Col_Type), "");
  EXPECT_EQ(table.cell(1, Col_CAN_Type), "CAN 2.0A (11 bits)");
  EXPECT_EQ(table.cell(1, Col_Port), "502");

  Load_Requests(Read_Requests(), Read_Requests_File(dir / "var2.xml"), {}, table);
  EXPECT_EQ(table.cell(3, Col_Type), "Input Register");
}

TEST(RequestFile, MissingBrokenAndOverlongFiles) {
  TempDir dir;
  RequestTable table;
  table.cell(1, Col_COB) = "1";
  const Result<RequestLoad> missing = Load_Requests(Read_Requests(), Read_Requests_File(dir / "var.xml"), {}, table);
  ASSERT_TRUE(missing) << test::english(missing.failure());
  EXPECT_EQ(missing->rows_left_out, 0);
  EXPECT_EQ(table.cell(1, Col_COB), "");

  write_file(dir / "var.xml", "<R><row COB=\"1\"></R>");
  table.cell(1, Col_COB) = "1";
  const Result<RequestLoad> broken = Load_Requests(Read_Requests(), Read_Requests_File(dir / "var.xml"), {}, table);
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.failure().text, Msg_Failure_File_Unreadable);
  EXPECT_EQ(broken.failure().file, "var.xml");
  EXPECT_NE(broken.failure().reason.find("at byte"), std::string::npos) << broken.failure().reason;
  EXPECT_EQ(table.cell(1, Col_COB), "");

  std::string rows;
  for (int i = 1; i <= 515; ++i) rows += "<row COB=\"" + std::to_string(i) + "\"/>";
  write_file(dir / "var.xml", "<R>" + rows + "</R>");
  const Result<RequestLoad> overlong = Load_Requests(Read_Requests(), Read_Requests_File(dir / "var.xml"), {}, table);
  ASSERT_TRUE(overlong) << test::english(overlong.failure());
  EXPECT_EQ(overlong->rows_left_out, 3);
  EXPECT_EQ(table.cell(512, Col_COB), "512");
}

TEST(RequestFile, WritesTheExactDocument) {
  RequestTable table;
  const std::vector<std::string> row = {
      "Y", "385", "CAN 2.0A (11 bits)", "192.168.0.11", "502", "1", "Holding Register", "0", "4", "1000", "0", "Y", ""};
  for (int col = 1; col < RequestTable::ColCount; ++col) table.cell(1, col) = row[static_cast<std::size_t>(col - 1)];
  table.cell(3, Col_COB) = "999";  // after the gap: not saved
  EXPECT_EQ(Requests_Document(Read_Requests(), table),
            "<C_TO_Customer_Protocol><row Enable=\"Y\" COB=\"385\" CAN_Type=\"CAN 2.0A (11 bits)\" IP_Add_B1=\"192\" "
            "IP_Add_B2=\"168\" IP_Add_B3=\"0\" IP_Add_B4=\"11\" Port=\"502\" ID_Modbus=\"1\" Type=\"2\" "
            "Address_Word=\"0\" Quantity=\"4\" PollTime=\"1000\" MaxError=\"0\" Swap=\"Y\" Mnemonic=\"\"/>"
            "</C_TO_Customer_Protocol><!--SW_VERSION = 2.007-->");

  table.cell(1, Col_COB) = "  ";
  EXPECT_EQ(Requests_Document(Read_Requests(), table), "<C_TO_Customer_Protocol/><!--SW_VERSION = 2.007-->");
}

TEST(RequestFile, TextsAreSavedAsTypedExceptAddressAndType) {
  TempDir dir;
  RequestTable table;
  table.cell(1, Col_Enable) = "N";
  table.cell(1, Col_COB) = " 0x10 ";
  table.cell(1, Col_IP) = " 10.0.0.1 ";
  table.cell(1, Col_Type) = " coil status ";
  table.cell(1, Col_Mnemonic) = "Pumpe \"Nord\" <1>";
  table.cell(2, Col_Enable) = "N";
  table.cell(2, Col_COB) = "7";
  table.cell(2, Col_Type) = " bogus ";
  ASSERT_FALSE(Save_Requests(Write_Requests(), dir / "var2.xml", table));
  const std::string saved = read_file(dir / "var2.xml");
  EXPECT_NE(saved.find("COB=\" 0x10 \" CAN_Type=\"\" IP_Add_B1=\"10\" IP_Add_B2=\"0\" IP_Add_B3=\"0\" IP_Add_B4=\"1\""),
            std::string::npos);
  EXPECT_NE(saved.find("Type=\"0\""), std::string::npos);
  EXPECT_NE(saved.find("Type=\"BOGUS\""), std::string::npos);

  RequestTable loaded;
  Load_Requests(Write_Requests(), Read_Requests_File(dir / "var2.xml"), {}, loaded);
  EXPECT_EQ(loaded.cell(1, Col_COB), " 0x10 ");
  EXPECT_EQ(loaded.cell(1, Col_IP), "10.0.0.1");
  EXPECT_EQ(loaded.cell(1, Col_Type), "Coil Status");
  EXPECT_EQ(loaded.cell(1, Col_Mnemonic), "Pumpe \"Nord\" <1>");
  EXPECT_EQ(loaded.cell(2, Col_Type), "");
  EXPECT_EQ(loaded.cell(3, Col_COB), "");
}

TEST(RequestFile, SplitAddress) {
  const struct {
    const char* cell;
    std::array<std::string, 4> bytes;
  } cases[] = {
      {"192.168.0.11", {"192", "168", "0", "11"}},
      {" 10 . 0 .0. 1 ", {"10", "0", "0", "1"}},
      {"1.2", {"1", "", "", "2"}},
      {"", {"", "", "", ""}},
      {"1.2.3.4.5", {"1", "2", "3", "4.5"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Split_Address(c.cell), c.bytes) << c.cell;
}

// Every cell at the longest value a table stores, made of the character
// that escapes widest, in all 512 rows: the file stays far below what the
// readers take, and loads back to the same cells.
TEST(RequestFile, TheLongestValuesStayFarBelowTheReadersLimit) {
  const std::string widest(Value_Max_Characters, '"');
  RequestTable table;
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    for (int col = Col_Enable; col < RequestTable::ColCount; ++col) table.cell(row, col) = widest;
    table.cell(row, Col_IP) = widest + '.' + widest + '.' + widest + '.' + widest;
    table.cell(row, Col_Mnemonic) = std::string(Mnemonic_Max_Characters, '"');
  }
  const std::string document = Requests_Document(Read_Requests(), table);
  EXPECT_LT(document.size(), Xml_File_Limit / 3 * 2);
  EXPECT_EQ(Check_Loads_Back(Read_Requests(), table, document), std::nullopt);

  TempDir dir;
  ASSERT_FALSE(Save_Requests(Read_Requests(), dir / "var.xml", table));
  RequestTable loaded;
  ASSERT_TRUE(Load_Requests(Read_Requests(), Read_Requests_File(dir / "var.xml"), {}, loaded));
  // The type is saved as its text, which loads as no type.
  table.cell(512, Col_Type).clear();
  EXPECT_EQ(row_cells(loaded, 512), row_cells(table, 512));
}

// A save that would not give back its table writes nothing and says why;
// the file on disk stays as it was.
TEST(RequestFile, ASaveThatWouldNotLoadBackWritesNothing) {
  const struct {
    const char* name;
    std::string mnemonic;
    int rows;
    std::string reason;
  } cases[] = {
      {"beyond the readers' limit", std::string(1000000, '\t'), 1, "larger than the limit of"},
      {"cut at a NUL character", std::string("pump\0 A", 7), 1, "row 1, Mnemonic would load back otherwise"},
      {"a control character",
       "pump\x1B"
       "A",
       1, "U+001B"},
      {"U+FFFE", "pump \xEF\xBF\xBE", 1, "U+FFFE"},
      {"bytes that are not UTF-8",
       "80 \xB0"
       "C",
       1, "0xB0"},
  };
  TempDir dir;
  const auto file = dir / "var.xml";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    write_file(file, "<R/>");
    RequestTable table;
    for (int row = 1; row <= c.rows; ++row) {
      table.cell(row, Col_COB) = std::to_string(row);
      table.cell(row, Col_Mnemonic) = c.mnemonic;
    }
    const std::optional<Failure> failure = Save_Requests(Read_Requests(), file, table);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, Msg_Failure_File_Not_Written);
    EXPECT_NE(failure->reason.find(c.reason), std::string::npos) << failure->reason;
    EXPECT_EQ(read_file(file), "<R/>");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  }
}

TEST(RequestFile, StoredValues) {
  using Kind = ValueFault::Kind;
  const auto letters = [](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += "\xC3\xA9";
    return text;
  };
  const std::size_t cob = var_file::COB;
  const std::size_t mnemonic = var_file::Mnemonic;
  const struct {
    std::string value;
    std::size_t attribute;
    std::optional<ValueFault> fault;
  } cases[] = {
      {"", cob, std::nullopt},
      {"tab\tand\r\nline breaks", mnemonic, std::nullopt},
      {std::string(Value_Max_Characters, 'x'), cob, std::nullopt},
      {std::string(Value_Max_Characters + 1, 'x'), cob, ValueFault{Kind::Too_Long, "40"}},
      // The free description holds more.
      {std::string(Value_Max_Characters + 1, 'x'), mnemonic, std::nullopt},
      {std::string(Mnemonic_Max_Characters, 'x'), mnemonic, std::nullopt},
      {std::string(Mnemonic_Max_Characters + 1, 'x'), mnemonic, ValueFault{Kind::Too_Long, "255"}},
      // Characters, not bytes: 40 two-byte letters fit.
      {letters(Value_Max_Characters), cob, std::nullopt},
      {letters(Mnemonic_Max_Characters), mnemonic, std::nullopt},
      {"\x01", cob, ValueFault{Kind::Character, "U+0001"}},
      {std::string(100, 'x') + "\x1F", mnemonic, ValueFault{Kind::Character, "U+001F"}},
      {"\xEF\xBF\xBF", cob, ValueFault{Kind::Character, "U+FFFF"}},
      {"\xED\xA0\x80", mnemonic, ValueFault{Kind::Character, "0xED"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.substr(0, 20));
    EXPECT_EQ(Check_Stored_Value(c.value, c.attribute), c.fault);
  }
}

}  // namespace
}  // namespace sw48230

#include "core/tables/request_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/i18n/message_table.h"
#include "core/tables/table_report_messages.h"
#include "support/temp_dir.h"

namespace sw48230 {

void PrintTo(const CsvFailure& failure, std::ostream* out) {
  *out << "{line " << failure.line << ", \"" << failure.column << "\", " << failure.message << ", \"" << failure.detail
       << "\"}";
}

namespace {

using test::TempDir;
using namespace std::string_literals;

constexpr TableContext Jumper{0, 0, 502};
constexpr TableContext Dip_Switch{1, 0, 502};

const std::string Header =
    "Enable,COB,CAN_Type,IP_Add_B1,IP_Add_B2,IP_Add_B3,IP_Add_B4,Port,ID_Modbus,Type,Address_Word,Quantity,"
    "PollTime,MaxError,Swap,Mnemonic";

std::vector<std::string> row_cells(const RequestTable& table, int row) {
  std::vector<std::string> cells;
  for (int col = 1; col < RequestTable::ColCount; ++col) cells.push_back(table.cell(row, col));
  return cells;
}

void set_row(RequestTable& table, int row, const std::vector<std::string>& cells) {
  for (int col = 1; col < RequestTable::ColCount; ++col) table.cell(row, col) = cells[static_cast<std::size_t>(col - 1)];
}

const std::vector<std::string> Good_Read_Row = {
    "Y", "385", "CAN 2.0A (11 bits)", "192.168.0.11", "502", "1", "Holding Register", "0", "4", "1000", "0", "N", ""};

TEST(RequestCsv, ExportWritesTheStoredValuesUpToTheLastRowWithACobId) {
  RequestTable table;
  set_row(table, 1, Good_Read_Row);
  table.cell(1, Col_Mnemonic) = "pump \"A\", line 1\r\nsecond; °C";
  // Row 2 has no Cob-ID but lies before the last row that has one.
  table.cell(3, Col_COB) = "0x10";
  table.cell(3, Col_IP) = " 10. 0.0.1 ";
  table.cell(3, Col_Type) = "coil status";
  table.cell(5, Col_Mnemonic) = "after the last Cob-ID";

  EXPECT_EQ(Export_Csv(Read_Requests(), table),
            "\xEF\xBB\xBF" + Header + "\r\n" +
                "Y,385,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,\"pump \"\"A\"\", line 1\r\nsecond; °C\"\r\n"
                "Y,,,,,,,,,,,,,,,\r\n"
                "Y,0x10,,10,0,0,1,,,0,,,,,,\r\n");
  EXPECT_EQ(Export_Csv(Write_Requests(), RequestTable()), "\xEF\xBB\xBF" + Header + "\r\n");
}

// A table the program wrote comes back byte for byte through export and import.
TEST(RequestCsv, ExportThenImportGivesTheSameFile) {
  for (const TableKind* kind : {&Read_Requests(), &Write_Requests()}) {
    SCOPED_TRACE(kind->file_name);
    RequestTable written;
    for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
      set_row(written, row,
              {"Y", std::to_string(row), "CAN 2.0B (29 bits)", "10.1.2." + std::to_string(row % 250), "502", "1",
               kind->type_texts[static_cast<std::size_t>(row) % kind->type_texts.size()], std::to_string(row), "1",
               "100", "3", "Y", "request " + std::to_string(row)});
    }
    set_row(written, 2,
            {"N", "$7FF", "CAN 2.0A (11 bits)", "1.2.3", "", "", "", " 7 ", "", "", "", "", "a,b;\"c\"\r\nd é"});
    written.cell(3, Col_Mnemonic) = "=SUM(A1)";
    written.cell(4, Col_IP) = "";
    written.cell(4, Col_Enable) = "N";

    TempDir dir;
    const auto file = dir / kind->file_name;
    ASSERT_FALSE(Save_Requests(*kind, file, written));
    const std::string saved = test::read_file(file);
    RequestTable loaded;
    ASSERT_TRUE(Load_Requests(*kind, file, Dip_Switch, loaded));

    const CsvImport imported = Import_Csv(*kind, Export_Csv(*kind, loaded), Dip_Switch);
    ASSERT_EQ(imported.failures, std::vector<CsvFailure>{});
    EXPECT_EQ(imported.rows, RequestTable::Data_Rows);
    // Compared as a whole: a diff of 512 rows would drown the report.
    EXPECT_TRUE(Requests_Document(*kind, imported.table) == saved);
  }
}

TEST(RequestCsv, ImportReadsWhatSpreadsheetsWrite) {
  struct Case {
    const char* name;
    std::string csv;
  };
  const std::vector<Case> cases = {
      {"comma, CRLF, BOM", "\xEF\xBB\xBF" "COB,Type,IP_Add_B1,IP_Add_B2,IP_Add_B3,IP_Add_B4,Address_Word,Quantity,"
                           "Mnemonic,ID_Modbus\r\n385,2,192,168,0,11,0,4,\"a, \"\"b\"\"\r\nc\",1\r\n"},
      {"semicolon, LF, no BOM", "ID_Modbus;Mnemonic;Quantity;Address_Word;IP_Add_B4;IP_Add_B3;IP_Add_B2;IP_Add_B1;Type;COB\n"
                                "1;\"a, \"\"b\"\"\r\nc\";4;0;11;0;168;192;2;385\n"},
      {"names in any case, last line without a line end, blank lines at the end",
       " cob ,TYPE,ip_add_b1,IP_Add_B2,IP_Add_B3,IP_Add_B4,Address_Word,Quantity,Mnemonic,id_modbus\r\n"
       "385,2,192,168,0,11,0,4,\"a, \"\"b\"\"\r\nc\",1\r\n,,,,,,,,,\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvImport imported = Import_Csv(Read_Requests(), c.csv, Jumper);
    ASSERT_EQ(imported.failures, std::vector<CsvFailure>{});
    EXPECT_EQ(imported.rows, 1);
    // Missing columns hold what a fresh row holds.
    EXPECT_EQ(row_cells(imported.table, 1), (std::vector<std::string>{"Y", "385", "", "192.168.0.11", "", "1", "Holding Register",
                                                                      "0", "4", "", "", "", "a, \"b\"\r\nc"}));
    EXPECT_EQ(row_cells(imported.table, 2), row_cells(RequestTable(), 2));
  }

  // Without address columns the address stays empty, as in a fresh row.
  const CsvImport without_address = Import_Csv(Read_Requests(), "COB\r\n1\r\n", Dip_Switch);
  EXPECT_FALSE(without_address.ok());
  EXPECT_EQ(without_address.table.cell(1, Col_IP), "");
}

// Nothing is imported when any line fails, and every failing line is listed
// with the column at fault.
TEST(RequestCsv, EveryFailingLineIsListedAndNothingIsImported) {
  const std::string csv = Header + "\r\n" +                                         // line 1
                          "Y,385,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,ok\r\n"  // 2
                          "Y,4000,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,\r\n"   // 3
                          "Y,5,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,\"two\r\n"  // 4
                          "lines\"\r\n"                                                        // 5
                          "Y,6,CAN 2.0A (11 bits),192,168,0,11,502,300,2,0,4,1000,0,N,\r\n"    // 6
                          "Y,,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,\r\n"       // 7
                          "Y,8,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4\r\n"                // 8
                          "Y,9,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,x,y\r\n"   // 9
                          "Y,10,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,a\"b\r\n" // 10
                          "\r\n"                                                               // 11
                          "Y,12,CAN 2.0A (11 bits),192,x,0,11,502,1,2,0,5,1000,0,N,\r\n"       // 12
                          "N,4000,,,,,,,,,,,,,,\r\n"                                           // 13
                          "Y,14,CAN 2.0A (11 bits),192,168,0,11,502,1,3,0,4,0,0,N,\r\n";       // 14
  const CsvImport imported = Import_Csv(Read_Requests(), csv, Dip_Switch);
  EXPECT_EQ(imported.failures, (std::vector<CsvFailure>{
                                   {3, "COB", 381, ""},
                                   {6, "ID_Modbus", 387, ""},
                                   {7, "COB", Msg_Csv_No_COB, ""},
                                   {8, "", Msg_Csv_Too_Few_Fields, ""},
                                   {9, "", Msg_Csv_Too_Many_Fields, ""},
                                   {10, "", Msg_Csv_Misplaced_Quote, ""},
                                   {11, "", Msg_Csv_No_COB, ""},
                                   {12, "IP_Add_B1..IP_Add_B4", 385, ""},
                                   {14, "PollTime", 392, ""},
                               }));
  EXPECT_EQ(imported.rows, 0);
  EXPECT_EQ(row_cells(imported.table, 1), row_cells(RequestTable(), 1));

  // The write table has its own messages and its own list of types.
  const CsvImport write = Import_Csv(Write_Requests(), Header + "\nY,1,,10,0,0,1,,1,2,0,1,,,,\n", Jumper);
  EXPECT_EQ(write.failures, (std::vector<CsvFailure>{{2, "Type", 454, ""}}));
}

TEST(RequestCsv, AHeaderThatCannotBeUsed) {
  std::string many_fields = "COB";
  for (int i = 0; i < 499; ++i) many_fields += ",Mnemonic";
  struct Case {
    std::string csv;
    std::vector<CsvFailure> failures;
  };
  const std::vector<Case> cases = {
      {"", {{1, "", Msg_Csv_No_Header, ""}}},
      {"\xEF\xBB\xBF\r\n1\r\n", {{1, "", Msg_Csv_No_Header, ""}}},
      {"COB,Adress,Type,cob,\n", {{1, "Adress", Msg_Csv_Unknown_Column, ""},
                                   {1, "cob", Msg_Csv_Duplicate_Column, ""},
                                   {1, "\"\"", Msg_Csv_Unknown_Column, ""}}},
      {"Enable,Type\n", {{1, "", Msg_Csv_No_COB_Column, ""}}},
      {many_fields + "\n1\n", {{1, "", Msg_Csv_Too_Many_Columns, ""}}},
      {"COB,\"Type\n", {{1, "", Msg_Csv_Open_Quote, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.csv.substr(0, 40));
    EXPECT_EQ(Import_Csv(Read_Requests(), c.csv, Jumper).failures, c.failures);
  }
}

TEST(RequestCsv, InputThatIsNoTableGetsOneClearFailure) {
  const std::string row = "Y,1,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,\r\n";
  std::string ten_thousand_lines = Header + "\r\n";
  for (int i = 0; i < 10000; ++i) ten_thousand_lines += row;
  std::string wide_line = Header + "\r\n" + row;
  for (int i = 0; i < 500; ++i) wide_line += "x,";
  wide_line += "\r\n";

  struct Case {
    const char* name;
    std::string csv;
    std::vector<CsvFailure> failures;
  };
  const std::vector<Case> cases = {
      {"binary", "COB\n1\n\x7F" "ELF\x02\x01\x01\x00\x00"s, {{3, "", Msg_Csv_Not_Text, ""}}},
      {"Latin-1", "COB,Mnemonic\n1,80 \xB0" "C\n", {{2, "", Msg_Csv_Not_UTF8, ""}}},
      {"UTF-16", "\xFF\xFE" "C\0O\0B\0"s, {{1, "", Msg_Csv_Not_UTF8, ""}}},
      {"encoded surrogate", "COB,Mnemonic\n1,\xED\xA0\x80\n", {{2, "", Msg_Csv_Not_UTF8, ""}}},
      {"too large", std::string(Csv_Max_Bytes + 1, 'a'), {{0, "", Msg_Csv_Too_Large, ""}}},
      {"10,000 lines", ten_thousand_lines, {{514, "", Msg_Csv_Too_Many_Rows, ""}}},
      {"a line of 500 fields", wide_line, {{3, "", Msg_Csv_Too_Many_Fields, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvImport imported = Import_Csv(Read_Requests(), c.csv, Jumper);
    EXPECT_EQ(imported.failures, c.failures);
    EXPECT_EQ(imported.rows, 0);
  }

  // Exactly 512 requests fit.
  std::string full = Header + "\r\n";
  for (int i = 0; i < RequestTable::Data_Rows; ++i) full += row;
  EXPECT_EQ(Import_Csv(Read_Requests(), full, Jumper).rows, RequestTable::Data_Rows);
}

TEST(RequestCsv, FilesAreReadWithinTheLimit) {
  TempDir dir;
  const auto huge = dir / "huge.csv";
  test::write_file(huge, "COB\n");
  // 100 MB without writing them: the file is refused by its size.
  std::filesystem::resize_file(huge, 100u * 1024 * 1024);
  EXPECT_EQ(Import_Csv_File(Read_Requests(), huge, Jumper).failures,
            (std::vector<CsvFailure>{{0, "", Msg_Csv_Too_Large, ""}}));

  const auto folder = Import_Csv_File(Read_Requests(), dir.path(), Jumper).failures;
  ASSERT_EQ(folder.size(), 1u);
  EXPECT_EQ(folder[0].message, Msg_Csv_Unreadable);
  const auto missing = Import_Csv_File(Read_Requests(), dir / "missing.csv", Jumper).failures;
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].message, Msg_Csv_Unreadable);
  EXPECT_FALSE(missing[0].detail.empty());

  const auto good = dir / "good.csv";
  test::write_file(good, Header + "\nY,1,,192,168,0,11,,1,2,0,4,,,,\n");
  const CsvImport imported = Import_Csv_File(Read_Requests(), good, Jumper);
  EXPECT_TRUE(imported.ok());
  EXPECT_EQ(imported.table.cell(1, Col_IP), "192.168.0.11");
}

TEST(RequestCsv, FailureTexts) {
  MessageTable messages;
  messages.Default_Messages();
  EXPECT_EQ(Csv_Failure_Text(messages, {3, "COB", 381, ""}), "CSV line 3, column COB!! Cob-ID must be between 0 and 2047");
  EXPECT_EQ(Csv_Failure_Text(messages, {8, "", Msg_Csv_Too_Few_Fields, ""}),
            "CSV line 8!! The line has fewer fields than the first line has columns");
  EXPECT_EQ(Csv_Failure_Text(messages, {0, "", Msg_Csv_Unreadable, "No such file"}),
            "!! The file cannot be read: No such file");
}

}  // namespace
}  // namespace sw48230

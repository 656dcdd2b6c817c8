#include "core/tables/request_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/i18n/message_table.h"
#include "core/tables/request_checks.h"
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
    ASSERT_TRUE(Load_Requests(*kind, Read_Requests_File(file), Dip_Switch, loaded));

    const CsvImport imported = Import_Csv(*kind, Export_Csv(*kind, loaded), Dip_Switch, CsvImportFor::File);
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
    const CsvImport imported = Import_Csv(Read_Requests(), c.csv, Jumper, CsvImportFor::File);
    ASSERT_EQ(imported.failures, std::vector<CsvFailure>{});
    EXPECT_EQ(imported.rows, 1);
    // Missing columns hold what a fresh row holds.
    EXPECT_EQ(row_cells(imported.table, 1), (std::vector<std::string>{"Y", "385", "", "192.168.0.11", "", "1", "Holding Register",
                                                                      "0", "4", "", "", "", "a, \"b\"\r\nc"}));
    EXPECT_EQ(row_cells(imported.table, 2), row_cells(RequestTable(), 2));
  }

  // Without address columns the address stays empty, as in a fresh row.
  const CsvImport without_address = Import_Csv(Read_Requests(), "COB\r\n1\r\n", Dip_Switch, CsvImportFor::File);
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
  const CsvImport imported = Import_Csv(Read_Requests(), csv, Dip_Switch, CsvImportFor::File);
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
  const CsvImport write =
      Import_Csv(Write_Requests(), Header + "\nY,1,,10,0,0,1,,1,2,0,1,,,,\n", Jumper, CsvImportFor::File);
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
      {"COB,Adress,Type,cob,\n",
       {{1, "Adress", Msg_Csv_Unknown_Column, ""},
        {1, "cob", Msg_Csv_Duplicate_Column, ""},
        {1, "\"\"", Msg_Csv_Unknown_Column, ""}}},
      {"Enable,Type\n", {{1, "", Msg_Csv_No_COB_Column, ""}}},
      {many_fields + "\n1\n", {{1, "Mnemonic", Msg_Csv_Duplicate_Column, ""}, {1, "", Msg_Csv_Too_Many_Columns, ""}}},
      // Seventeen columns: the one at fault is named.
      {Header + ",cob\n", {{1, "cob", Msg_Csv_Duplicate_Column, ""}}},
      {Header + ",Colour\n", {{1, "Colour", Msg_Csv_Unknown_Column, ""}}},
      {"COB,,, \n", {{1, "\"\"", Msg_Csv_Unknown_Column, ""}}},
      {"COB,\"Type\n", {{1, "", Msg_Csv_Open_Quote, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.csv.substr(0, 40));
    EXPECT_EQ(Import_Csv(Read_Requests(), c.csv, Jumper, CsvImportFor::File).failures, c.failures);
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
    const CsvImport imported = Import_Csv(Read_Requests(), c.csv, Jumper, CsvImportFor::File);
    EXPECT_EQ(imported.failures, c.failures);
    EXPECT_EQ(imported.rows, 0);
  }

  // Exactly 512 requests fit.
  std::string full = Header + "\r\n";
  for (int i = 0; i < RequestTable::Data_Rows; ++i) full += row;
  EXPECT_EQ(Import_Csv(Read_Requests(), full, Jumper, CsvImportFor::File).rows, RequestTable::Data_Rows);
}

// A value the table file could not hold is refused where it stands, so
// that no import writes a file its readers refuse.
TEST(RequestCsv, ValuesTheFileCannotHoldAreRefused) {
  const std::string header =
      "COB,IP_Add_B1,IP_Add_B2,IP_Add_B3,IP_Add_B4,ID_Modbus,Type,Address_Word,Quantity,Mnemonic\r\n";
  const auto line = [](const std::string& cob, const std::string& mnemonic) {
    return cob + ",192,168,0,11,1,2,0,4," + mnemonic + "\r\n";
  };
  std::string longest;
  for (std::size_t i = 0; i < Mnemonic_Max_Characters; ++i) longest += "\xC3\xA9";
  struct Case {
    const char* name;
    std::string lines;
    std::vector<CsvFailure> failures;
  };
  const std::vector<Case> cases = {
      {"a megabyte of tabs",
       line("1", std::string(Csv_Max_Bytes - 200, '\t')),
       {{2, "Mnemonic", Msg_Csv_Value_Too_Long, "255"}}},
      {"the longest value, in characters", line("1", longest), {}},
      {"one character more", line("1", longest + "x"), {{2, "Mnemonic", Msg_Csv_Value_Too_Long, "255"}}},
      {"a Cob-ID too long", line(std::string(41, '1'), ""), {{2, "COB", Msg_Csv_Value_Too_Long, "40"}}},
      {"escape", line("1", "\x1B[1m"), {{2, "Mnemonic", Msg_Csv_Character, "U+001B"}}},
      {"U+FFFE", line("1", "a\xEF\xBF\xBE"), {{2, "Mnemonic", Msg_Csv_Character, "U+FFFE"}}},
      {"every field at fault, after a field of two lines",
       line("1", "\"two\r\nlines\"") + line("\x01", std::string(256, 'x')),
       {{4, "COB", Msg_Csv_Character, "U+0001"}, {4, "Mnemonic", Msg_Csv_Value_Too_Long, "255"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvImport imported = Import_Csv(Read_Requests(), header + c.lines, Jumper, CsvImportFor::File);
    EXPECT_EQ(imported.failures, c.failures);
    EXPECT_EQ(imported.requests, c.failures.empty() ? 1 : 0);
  }
}

// Spreadsheets write check boxes as TRUE/FALSE or 1/0: they are read as the
// table's Y and N, and anything else is refused, never taken as not ticked.
TEST(RequestCsv, CheckBoxesAsSpreadsheetsWriteThem) {
  const auto csv = [](const std::string& enable, const std::string& swap, const std::string& cob = "385") {
    return Header + "\r\n" + enable + "," + cob + ",CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0," + swap +
           ",\r\n";
  };
  struct Case {
    std::string enable, swap;
    std::string enable_cell, swap_cell;
    std::vector<CsvFailure> failures;
  };
  const std::vector<Case> cases = {
      {"TRUE", "FALSE", "Y", "N", {}},
      {"true", "no", "Y", "N", {}},
      {"1", " 0 ", "Y", "N", {}},
      {"Yes", "NO", "Y", "N", {}},
      {"y", "n", "y", "n", {}},
      {" Y ", "", " Y ", "", {}},
      {"X", "N", "", "", {{2, "Enable", Msg_Csv_Not_A_Tick, ""}}},
      {"2", "WAHR", "", "", {{2, "Enable", Msg_Csv_Not_A_Tick, ""}, {2, "Swap", Msg_Csv_Not_A_Tick, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.enable + "/" + c.swap);
    const CsvImport imported = Import_Csv(Read_Requests(), csv(c.enable, c.swap), Dip_Switch, CsvImportFor::File);
    EXPECT_EQ(imported.failures, c.failures);
    if (!imported.ok()) continue;
    EXPECT_EQ(imported.table.cell(1, Col_Enable), c.enable_cell);
    EXPECT_EQ(imported.table.cell(1, Col_Swap), c.swap_cell);
  }
  // An enabled row is checked, however the spreadsheet wrote the tick.
  EXPECT_EQ(Import_Csv(Read_Requests(), csv("TRUE", "N", "4000"), Dip_Switch, CsvImportFor::File).failures,
            (std::vector<CsvFailure>{{2, "COB", 381, ""}}));

  // The table reads any other text as not ticked; Export says so, so that
  // an import cannot enable the row.
  RequestTable table;
  set_row(table, 1, Good_Read_Row);
  table.cell(1, Col_Enable) = "TRUE";
  table.cell(1, Col_Swap) = "y";
  EXPECT_EQ(Export_Csv(Read_Requests(), table),
            "\xEF\xBB\xBF" + Header + "\r\nN,385,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,y,\r\n");
}

// Lines are numbered as an editor numbers them, whatever ends them, and only
// lines that take a row count toward the 512.
TEST(RequestCsv, LineNumbersAndTheRowLimit) {
  const std::string good = "Y,1,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,";
  const std::string bad = "Y,4000,CAN 2.0A (11 bits),192,168,0,11,502,1,2,0,4,1000,0,N,";
  const auto lines = [](const std::vector<std::string>& texts, const std::string& end) {
    std::string csv;
    for (const std::string& text : texts) csv += text + end;
    return csv;
  };
  std::vector<std::string> full_with_gaps = {Header};
  for (int i = 0; i < RequestTable::Data_Rows; ++i) {
    if (i == 10) full_with_gaps.push_back("");
    if (i == 300) full_with_gaps.push_back("Y,,,,,,,,,,,,,,,spare");
    full_with_gaps.push_back(good);
  }
  std::vector<std::string> full_then_blanks = {Header};
  for (int i = 0; i < RequestTable::Data_Rows; ++i) full_then_blanks.push_back(good);
  for (int i = 0; i < 600; ++i) full_then_blanks.push_back(",,,,,,,,,,,,,,,");
  std::vector<std::string> too_many = {Header};
  for (int i = 0; i < 520; ++i) too_many.push_back(i == 1 || i == 516 ? bad : good);

  struct Case {
    const char* name;
    std::string csv;
    std::vector<CsvFailure> failures;
    int rows;
  };
  const std::vector<Case> cases = {
      {"CR only", lines({Header, good, good + "\"two\rlines\"", bad}, "\r"), {{5, "COB", 381, ""}}, 0},
      {"CR only, not UTF-8", lines({Header, good, good + "\xB0"}, "\r"), {{3, "", Msg_Csv_Not_UTF8, ""}}, 0},
      {"CR only, binary", lines({Header, good, good + std::string(1, '\0')}, "\r"), {{3, "", Msg_Csv_Not_Text, ""}}, 0},
      {"512 requests and lines without a Cob-ID between them",
       lines(full_with_gaps, "\r\n"),
       {{12, "", Msg_Csv_No_COB, ""}, {303, "COB", Msg_Csv_No_COB, ""}},
       0},
      {"512 requests and blank lines after them", lines(full_then_blanks, "\n"), {}, RequestTable::Data_Rows},
      {"failing lines after the 512th are listed too",
       lines(too_many, "\r\n"),
       {{3, "COB", 381, ""}, {514, "", Msg_Csv_Too_Many_Rows, ""}, {518, "COB", 381, ""}},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvImport imported = Import_Csv(Read_Requests(), c.csv, Dip_Switch, CsvImportFor::File);
    EXPECT_EQ(imported.failures, c.failures);
    EXPECT_EQ(imported.rows, c.rows);
  }
}

TEST(RequestCsv, AHeaderAloneEmptiesTheTable) {
  for (const CsvImportFor into : {CsvImportFor::File, CsvImportFor::Screen}) {
    const CsvImport imported = Import_Csv(Write_Requests(), "\xEF\xBB\xBF" + Header + "\r\n\r\n", Jumper, into);
    EXPECT_TRUE(imported.ok());
    EXPECT_EQ(imported.rows, 0);
    EXPECT_EQ(imported.requests, 0);
    EXPECT_EQ(row_cells(imported.table, 1), row_cells(RequestTable(), 1));
  }
}

// Export goes up to the last request, rows without a Cob-ID included. A
// screen takes them back at their places, and its checks refuse the gap as
// for rows typed; a file cannot hold a gap, so its import names the lines.
TEST(RequestCsv, RowsWithoutACobIdComeBackToAScreenAtTheirPlaces) {
  RequestTable table;
  set_row(table, 1, Good_Read_Row);
  table.cell(2, Col_Mnemonic) = "spare";
  set_row(table, 3, Good_Read_Row);
  for (int col = Col_Enable; col < RequestTable::ColCount; ++col) table.cell(4, col).clear();
  set_row(table, 5, Good_Read_Row);
  table.cell(5, Col_COB) = "386";
  const std::string csv = Export_Csv(Read_Requests(), table);

  const CsvImport screen = Import_Csv(Read_Requests(), csv, Dip_Switch, CsvImportFor::Screen);
  ASSERT_EQ(screen.failures, std::vector<CsvFailure>{});
  EXPECT_EQ(screen.rows, 5);
  EXPECT_EQ(screen.requests, 3);
  for (int row = 1; row <= RequestTable::Data_Rows; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(row_cells(screen.table, row), row_cells(table, row));
  }
  EXPECT_EQ(Export_Csv(Read_Requests(), screen.table), csv);
  EXPECT_EQ(Controllo_Dati(Read_Requests(), screen.table, Dip_Switch), (RowFailure{2, Col_COB, Msg_Row_Gap, ""}));

  EXPECT_EQ(Import_Csv(Read_Requests(), csv, Dip_Switch, CsvImportFor::File).failures,
            (std::vector<CsvFailure>{{3, "COB", Msg_Csv_No_COB, ""}, {5, "", Msg_Csv_No_COB, ""}}));

  // An empty line between requests is a fresh row.
  const CsvImport empty_line = Import_Csv(Read_Requests(), "COB\r\n\r\n", Jumper, CsvImportFor::Screen);
  EXPECT_TRUE(empty_line.ok());
  EXPECT_EQ(empty_line.rows, 0);
  const CsvImport between = Import_Csv(Read_Requests(), "COB\r\n\r\n1\r\n", Jumper, CsvImportFor::Screen);
  EXPECT_EQ(between.failures, (std::vector<CsvFailure>{{3, "IP_Add_B1..IP_Add_B4", 385, ""}}));
}

TEST(RequestCsv, FilesAreReadWithinTheLimit) {
  TempDir dir;
  const auto huge = dir / "huge.csv";
  test::write_file(huge, "COB\n");
  // 100 MB without writing them: the file is refused by its size.
  std::filesystem::resize_file(huge, 100u * 1024 * 1024);
  EXPECT_EQ(Import_Csv_File(Read_Requests(), huge, Jumper, CsvImportFor::File).failures,
            (std::vector<CsvFailure>{{0, "", Msg_Csv_Too_Large, ""}}));

  const auto folder = Import_Csv_File(Read_Requests(), dir.path(), Jumper, CsvImportFor::File).failures;
  ASSERT_EQ(folder.size(), 1u);
  EXPECT_EQ(folder[0].message, Msg_Csv_Unreadable);
  const auto missing = Import_Csv_File(Read_Requests(), dir / "missing.csv", Jumper, CsvImportFor::File).failures;
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].message, Msg_Csv_Unreadable);
  EXPECT_FALSE(missing[0].detail.empty());

  const auto good = dir / "good.csv";
  test::write_file(good, Header + "\nY,1,,192,168,0,11,,1,2,0,4,,,,\n");
  const CsvImport imported = Import_Csv_File(Read_Requests(), good, Jumper, CsvImportFor::File);
  EXPECT_TRUE(imported.ok());
  EXPECT_EQ(imported.table.cell(1, Col_IP), "192.168.0.11");
}

TEST(RequestCsv, FailureTexts) {
  const MessageTable& messages = English_Messages();
  EXPECT_EQ(Failure_Message(messages, CsvFailure{3, "COB", 381, ""}),
            "CSV line 3, column COB!! Cob-ID must be between 0 and 2047");
  EXPECT_EQ(Failure_Message(messages, CsvFailure{8, "", Msg_Csv_Too_Few_Fields, ""}),
            "CSV line 8!! The line has fewer fields than the first line has columns");
  EXPECT_EQ(Failure_Message(messages, CsvFailure{0, "", Msg_Csv_Unreadable, "No such file"}),
            "!! The file cannot be read: No such file");
  EXPECT_EQ(Failure_Message(messages, CsvFailure{2, "Mnemonic", Msg_Csv_Value_Too_Long, "255"}),
            "CSV line 2, column Mnemonic!! The value has more characters than the column holds, at most 255");
  EXPECT_EQ(Failure_Message(messages, CsvFailure{4, "COB", Msg_Csv_Character, "U+0001"}),
            "CSV line 4, column COB!! The value holds a character that a project file cannot store: U+0001");
}

}  // namespace
}  // namespace sw48230

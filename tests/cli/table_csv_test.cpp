#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "core/commsettings/comm_settings.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;
using test::screen_row;
using test::setting_row;
using Rows = std::vector<test::TableRow>;

const std::string Header =
    "Enable,COB,CAN_Type,IP_Add_B1,IP_Add_B2,IP_Add_B3,IP_Add_B4,Port,ID_Modbus,Type,Address_Word,Quantity,"
    "PollTime,MaxError,Swap,Mnemonic\r\n";

class TableCsvTest : public ::testing::Test {
 protected:
  TableCsvTest() {
    fs::create_directory(project_);
    CommSettings settings;
    settings.Device_Type = 1;
    test::write_file(project_ / "ParGen.xml", ParGen_Document(settings));
  }

  test::CliRun cli(const std::vector<std::string>& args) { return test::run_cli(temp_.path(), args); }

  test::TempDir temp_;
  fs::path project_ = temp_ / "project";
  std::string dir_ = project_.string();
};

TEST_F(TableCsvTest, ExportToStandardOutputOrAFile) {
  test::write_file(project_ / "var2.xml",
                   test::table_document(Rows{setting_row().set("Mnemonic", "valve, \"main\"").set("Type", "0")}));
  const test::CliRun run = cli({"export", dir_, "--table", "write"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "\xEF\xBB\xBF" + Header +
                         "Y,256,CAN 2.0A (11 bits),192,168,0,11,502,1,0,7,1,100,0,N,\"valve, \"\"main\"\"\"\r\n");
  EXPECT_EQ(run.err, "");

  const std::string file = (temp_ / "read.csv").string();
  const test::CliRun to_file = cli({"export", "--table", "read", dir_, file});
  EXPECT_EQ(to_file.exit_code, 0) << to_file.err;
  EXPECT_EQ(to_file.out, "");
  EXPECT_EQ(test::read_file(file), "\xEF\xBB\xBF" + Header);
}

TEST_F(TableCsvTest, ImportReplacesTheTableAndExportGivesItBack) {
  const std::string original = test::table_document(Rows{
      screen_row().set("Mnemonic", "line 1\r\nline 2; °C"),
      screen_row().set("Enable", "N").set("COB", "bad").set("Type", ""),
      screen_row().set("COB", "$1FF").set("CAN_Type", "CAN 2.0B (29 bits)"),
  });
  test::write_file(project_ / "var.xml", original);
  const std::string csv = (temp_ / "table.csv").string();
  ASSERT_EQ(cli({"export", dir_, "--table", "read", csv}).exit_code, 0);
  test::write_file(project_ / "var.xml", test::table_document(Rows{screen_row()}));

  const test::CliRun run = cli({"import", dir_, "--table", "read", csv});
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "var.xml: 3 requests imported from " + csv + "\n");
  EXPECT_EQ(test::read_file(project_ / "var.xml"), original);
}

TEST_F(TableCsvTest, AFailingImportListsEveryLineAndChangesNothing) {
  const std::string before = test::table_document(Rows{setting_row()});
  test::write_file(project_ / "var2.xml", before);
  const std::string csv = (temp_ / "bad.csv").string();
  test::write_file(csv,
                   "COB;Type;IP_Add_B1;IP_Add_B2;IP_Add_B3;IP_Add_B4;ID_Modbus;Address_Word;Quantity;CAN_Type;Port\n"
                   "1;1;10;0;0;1;1;0;5;CAN 2.0A (11 bits);502\n"
                   "2;1;10;0;0;1;1;0;4;CAN 2.0A (11 bits);502\n"
                   "3;1;10;0;0;1;1;0;4;CAN 2.0A (11 bits)\n"
                   "4;1;10;0;0;1;1;0;4;;502\n");
  const test::CliRun run = cli({"import", dir_, "--table", "write", csv});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, csv + ": CSV line 2, column Quantity!! NPoint must be between 1 and 4\n" +  //
                         csv + ": CSV line 4!! The line has fewer fields than the first line has columns\n" +
                         csv + ": CSV line 5, column CAN_Type!! CAN Type must be selected\n");
  EXPECT_EQ(run.err, "sw48230-cli: " + csv + ": nothing imported, var2.xml is unchanged\n");
  EXPECT_EQ(test::read_file(project_ / "var2.xml"), before);

  const test::CliRun missing = cli({"import", dir_, "--table", "write", (temp_ / "none.csv").string()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.out.rfind((temp_ / "none.csv").string() + ": !! The file cannot be read: ", 0), 0u) << missing.out;
  EXPECT_EQ(test::read_file(project_ / "var2.xml"), before);
}

// An import that would leave a project the readers refuse writes nothing:
// the line and column at fault are named, and the project still checks.
TEST_F(TableCsvTest, ValuesTheFileCannotHoldAreRefused) {
  const std::string before = test::table_document(Rows{screen_row()});
  const std::string row = "Y,256,CAN 2.0A (11 bits),192,168,0,11,502,1,2,7,1,100,0,N,";
  const struct {
    const char* name;
    std::string line;
    std::string said;
  } cases[] = {
      {"a megabyte of tabs", row + std::string(1000000, '\t'),
       "CSV line 2, column Mnemonic!! The value has more characters than the column holds, at most 255"},
      {"escape", row + "pump \x1B[1m",
       "CSV line 2, column Mnemonic!! The value holds a character that a project file cannot store: U+001B"},
      {"U+0001 in the Cob-ID",
       "Y,\x01"
       "256,CAN 2.0A (11 bits),192,168,0,11,502,1,2,7,1,100,0,N,",
       "CSV line 2, column COB!! The value holds a character that a project file cannot store: U+0001"},
      {"a spreadsheet's own word for a tick", "WAHR" + row.substr(1),
       "CSV line 2, column Enable!! Y or N expected (TRUE, 1 and YES are read as Y; FALSE, 0 and NO as N)"},
  };
  const std::string csv = (temp_ / "bad.csv").string();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::write_file(project_ / "var.xml", before);
    test::write_file(csv, Header + c.line + "\r\n");
    const test::CliRun run = cli({"import", dir_, "--table", "read", csv});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, csv + ": " + c.said + "\n");
    EXPECT_EQ(test::read_file(project_ / "var.xml"), before);
    EXPECT_EQ(cli({"check", dir_}).exit_code, 0);
  }
}

// TRUE in a spreadsheet's Enable column is a ticked row: it is checked and
// saved as Y, so that it reaches the image.
TEST_F(TableCsvTest, SpreadsheetTicksAreSavedAsTheTableWritesThem) {
  const std::string csv = (temp_ / "ticks.csv").string();
  test::write_file(csv, Header + "TRUE,256,CAN 2.0A (11 bits),192,168,0,11,502,1,2,7,1,100,0,0,\r\n" +
                            "true,4000,CAN 2.0A (11 bits),192,168,0,11,502,1,2,7,1,100,0,1,\r\n");
  const test::CliRun refused = cli({"import", dir_, "--table", "read", csv});
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_EQ(refused.out, csv + ": CSV line 3, column COB!! Cob-ID must be between 0 and 2047\n");

  test::write_file(csv, Header + "TRUE,256,CAN 2.0A (11 bits),192,168,0,11,502,1,2,7,1,100,0,0,\r\n");
  const test::CliRun run = cli({"import", dir_, "--table", "read", csv});
  EXPECT_EQ(run.exit_code, 0) << run.out;
  EXPECT_EQ(test::read_file(project_ / "var.xml"), test::table_document(Rows{screen_row()}));
}

TEST_F(TableCsvTest, AHeaderAloneEmptiesTheTableAndSaysSo) {
  test::write_file(project_ / "var2.xml", test::table_document(Rows{setting_row()}));
  const std::string csv = (temp_ / "header.csv").string();
  test::write_file(csv, "\xEF\xBB\xBF" + Header);
  const test::CliRun run = cli({"import", dir_, "--table", "write", csv});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "var2.xml: emptied, " + csv + " holds no requests\n");
  EXPECT_EQ(test::read_file(project_ / "var2.xml"), test::table_document(Rows{}));
}

// A file written by hand with a character XML forbids loads, but its rows
// fail the checks, as typed text does on the screen.
TEST_F(TableCsvTest, CheckRefusesCharactersXmlForbids) {
  test::write_file(project_ / "var.xml",
                   test::table_document(Rows{screen_row(), screen_row().set("Mnemonic", "\x1B")}));
  const test::CliRun run = cli({"check", dir_});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "var.xml: Error row 2!! Mnemonic holds a character that a project file cannot store: U+001B\n");
  EXPECT_EQ(cli({"build", dir_}).exit_code, 1);
}

TEST_F(TableCsvTest, WrongCommandLines) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"export", dir_},
           {"export", dir_, "--table"},
           {"export", dir_, "--table", "both"},
           {"export", dir_, "--table", "read", "--table", "write"},
           {"export", dir_, "--table", "read", "a.csv", "b.csv"},
           {"import", dir_, "--table", "read"},
       }) {
    SCOPED_TRACE(args.size());
    EXPECT_EQ(cli(args).exit_code, 2);
  }
  EXPECT_EQ(cli({"export", (temp_ / "none").string(), "--table", "read"}).exit_code, 1);
}

}  // namespace
}  // namespace sw48230

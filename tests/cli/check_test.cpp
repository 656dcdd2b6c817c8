#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "core/commsettings/comm_settings.h"
#include "core/tables/request_table.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;
using test::screen_row;
using test::setting_row;
using test::TableRow;
using Rows = std::vector<TableRow>;

class CheckTest : public ::testing::Test {
 protected:
  CheckTest() { fs::create_directory(project_); }

  void write(const char* name, const std::string& content) { test::write_file(project_ / name, content); }
  void write(const char* name, const Rows& rows) { write(name, test::table_document(rows)); }
  void write_settings(int device_type, const std::string& first_address_byte = "192") {
    CommSettings settings;
    settings.Device_Type = device_type;
    settings.TCP_IP[0] = first_address_byte;
    write("ParGen.xml", ParGen_Document(settings));
  }

  test::CliRun check() { return test::run_cli(temp_.path(), {"check", project_.string()}); }

  test::TempDir temp_;
  fs::path project_ = temp_ / "project";
};

TEST_F(CheckTest, AProjectThatPasses) {
  write_settings(1);
  write("var.xml", Rows{screen_row(), screen_row().set("Enable", "N").set("COB", "x")});
  write("var2.xml", Rows{setting_row().set("Type", "0")});
  const test::CliRun run = check();
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_EQ(run.out, project_.string() + ": all checks pass\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CheckTest, EveryFailingRowWithTheMessageOfItsScreen) {
  write_settings(0, "300");
  write("var.xml", Rows{
                       screen_row(),
                       screen_row().set("COB", "4000"),
                       screen_row().set("IP_Add_B2", "x"),
                       screen_row(),
                       screen_row().set("Type", "0").set("Quantity", "65"),
                   });
  write("var2.xml", Rows{
                        setting_row().set("Type", "7"),
                        setting_row().set("Address_Word", "70000"),
                        setting_row(),
                    });
  const test::CliRun run = check();
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out,
            "ParGen.xml: Error Modbus TCP Master!! IP Address 1 must be between 0 and 255\n"
            "var.xml: Error row 2!! Cob-ID must be between 0 and 2047\n"
            "var.xml: Error row 3!! Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)\n"
            "var.xml: Error row 5!! NPoint must be between 1 and 64\n"
            "var2.xml: Error row 1!! Type must be selected\n"
            "var2.xml: Error row 2!! Address must be between 0 and 65535\n"
            "warning: var.xml: Warning rows 1, 4!! Enabled read requests with the same Cob-ID feed one CAN frame\n");
  EXPECT_EQ(run.err, "sw48230-cli: " + project_.string() + ": 6 checks fail\n");
}

// A file written by hand or by an older program may hold a row without a
// Cob-ID before further requests; the screens refuse to save such a table.
TEST_F(CheckTest, ARowWithoutACobIdBeforeRequestsFails) {
  write_settings(0);
  write("var.xml", Rows{screen_row(), screen_row().set("COB", " "), screen_row(), screen_row().set("COB", "9000")});
  write("var2.xml", Rows{setting_row().set("COB", ""), setting_row().set("Address_Word", "70000")});
  const test::CliRun run = check();
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out,
            "var.xml: Error row 2!! Cob-ID is empty, but rows below it hold requests, which would not be saved\n"
            "var2.xml: Error row 1!! Cob-ID is empty, but rows below it hold requests, which would not be saved\n"
            "var2.xml: Error row 2!! Address must be between 0 and 65535\n");
}

// Warnings follow the failures and do not fail the check unless --strict asks
// for it.
TEST_F(CheckTest, NetworkWarningsFollowTheFailures) {
  write_settings(0);  // the converter at 192.168.0.10/24, no gateway
  write("var.xml", Rows{screen_row(), screen_row().set("COB", "0x100"), screen_row().set("IP_Add_B3", "1").set("COB", "257")});
  write("var2.xml", Rows{setting_row().set("IP_Add_B4", "10")});
  const std::string warnings =
      "warning: var.xml: Warning rows 1, 2!! Enabled read requests with the same Cob-ID feed one CAN frame\n"
      "warning: var.xml: Warning row 3!! The server is outside the converter's subnet and no gateway is enabled: "
      "the converter cannot reach it\n"
      "warning: var2.xml: Warning row 1!! The server address is the converter's own address\n";

  const test::CliRun run = check();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, warnings + project_.string() + ": all checks pass\n");
  EXPECT_EQ(run.err, "");

  const test::CliRun strict = test::run_cli(temp_.path(), {"check", "--strict", project_.string()});
  EXPECT_EQ(strict.exit_code, 1);
  EXPECT_EQ(strict.out, run.out);
  EXPECT_EQ(strict.err, "sw48230-cli: " + project_.string() + ": 3 warnings (--strict)\n");

  // Without ParGen.xml the converter's address is unknown.
  fs::remove(project_ / "ParGen.xml");
  EXPECT_EQ(check().out, warnings.substr(0, warnings.find('\n') + 1) + project_.string() + ": all checks pass\n");
}

TEST_F(CheckTest, FilesThatCannotBeLoadedFail) {
  write("ParGen.xml", "<GeneralParameter><Device_Type>1");
  write("var.xml", "<C_TO_Customer_Protocol><row");
  write("var2.xml", Rows(RequestTable::Data_Rows + 1, setting_row()));
  const test::CliRun run = check();
  EXPECT_EQ(run.exit_code, 1);
  const auto lines = [&run] {
    std::vector<std::string> result;
    std::string::size_type start = 0;
    for (auto end = run.out.find('\n'); end != std::string::npos; start = end + 1, end = run.out.find('\n', start)) {
      result.push_back(run.out.substr(start, end - start));
    }
    return result;
  }();
  // The 513 rows are one request repeated: their ranges overlap.
  ASSERT_EQ(lines.size(), 4u) << run.out;
  EXPECT_EQ(lines[0].rfind("ParGen.xml: cannot be read: ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("var.xml: cannot be read: ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], "var2.xml: 1 row beyond row 512 is not checked, and saving the table leaves it out");
  EXPECT_EQ(lines[3].rfind("warning: var2.xml: Warning rows 1, 2, 3, ", 0), 0u) << lines[3];
}

TEST_F(CheckTest, MissingFilesAreWhatTheScreensStartFrom) {
  const test::CliRun run = check();
  EXPECT_EQ(run.exit_code, 0) << run.out;

  const test::CliRun no_folder = test::run_cli(temp_.path(), {"check", (temp_ / "none").string()});
  EXPECT_EQ(no_folder.exit_code, 1);
  EXPECT_EQ(test::run_cli(temp_.path(), {"check"}).exit_code, 2);
}

}  // namespace
}  // namespace sw48230

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "core/common/paths.h"
#include "core/commsettings/comm_settings.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;
using test::screen_row;
using test::setting_row;
using test::TableRow;
using Rows = std::vector<TableRow>;

std::string settings_of_type(int device_type) {
  CommSettings settings;
  settings.Device_Type = device_type;
  return ParGen_Document(settings);
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The Cob-IDs of the row lines of a bank.bin report, in report order.
std::vector<std::string> reported_cobs(const std::string& report) {
  std::vector<std::string> cobs;
  std::istringstream in(report);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string index, table, cob;
    if (words >> index >> table >> cob && (table == "request" || table == "setting")) cobs.push_back(cob);
  }
  return cobs;
}

class BuildTest : public ::testing::Test {
 public:
  BuildTest() { fs::create_directory(project_); }

  void write(const char* name, const std::string& content) { test::write_file(project_ / name, content); }
  void write(const char* name, const Rows& rows) { write(name, test::table_document(rows)); }

  test::CliRun run(const std::vector<std::string>& args) { return test::run_cli(temp_.path(), args); }
  test::CliRun build() { return run({"build", project_.string()}); }

  fs::path bin(const char* name = "") const { return project_ / "bin" / name; }

  test::TempDir temp_;
  fs::path project_ = temp_ / "project";
};

TEST_F(BuildTest, DeviceType1GivesBank2ThatDumpReadsBack) {
  write("ParGen.xml", settings_of_type(1));
  write("var.xml", Rows{screen_row().set("COB", "0x300"), screen_row().set("Enable", "N"), screen_row()});
  write("var2.xml", Rows{setting_row().set("Type", "0").set("Quantity", "16")});

  const test::CliRun built = build();
  ASSERT_EQ(built.exit_code, 0) << built.err;
  EXPECT_EQ(built.err, "");
  EXPECT_EQ(built.out, "wrote " + bin("bank2.bin").string() + ": 3 records (2 COB Request, 1 COB Setting)\n");
  EXPECT_EQ(fs::file_size(bin("bank2.bin")), 34816u);
  EXPECT_FALSE(fs::exists(bin("bank.bin")));

  const test::CliRun dumped = run({"dump", bin("bank2.bin").string()});
  ASSERT_EQ(dumped.exit_code, 0) << dumped.out << dumped.err;
  EXPECT_TRUE(contains(dumped.out, "Records: 3 filled of 1024")) << dumped.out;
  EXPECT_TRUE(contains(dumped.out, "Checksum")) << dumped.out;
}

TEST_F(BuildTest, OtherDeviceTypesGiveBankThatDumpReadsBack) {
  write("ParGen.xml", settings_of_type(0));
  write("var.xml", Rows{screen_row().set("COB", "0x300"), screen_row().set("COB", "0x100").set("Enable", "N"),
                        screen_row().set("COB", "0x200")});
  write("var2.xml", Rows{setting_row().set("COB", "0x50"), setting_row().set("COB", "0x40")});
  fs::create_directory(project_ / "bin");
  test::write_file(bin("bank2.bin"), "left alone");

  const test::CliRun built = build();
  ASSERT_EQ(built.exit_code, 0) << built.err;
  EXPECT_EQ(built.out, "wrote " + bin("bank.bin").string() + ": 5 rows (3 COB Request, 2 COB Setting)\n");
  EXPECT_EQ(fs::file_size(bin("bank.bin")), 36u + 5 * 13u);
  EXPECT_EQ(test::read_file(bin("bank2.bin")), "left alone");

  const test::CliRun dumped = run({"dump", bin("bank.bin").string()});
  ASSERT_EQ(dumped.exit_code, 0) << dumped.out << dumped.err;
  EXPECT_TRUE(contains(dumped.out, "Rows: 3 request, 2 setting")) << dumped.out;
  EXPECT_EQ(reported_cobs(dumped.out), (std::vector<std::string>{"0x100", "0x200", "0x300", "0x40", "0x50"}));
}

TEST_F(BuildTest, AFailedBuildWritesNothing) {
  const struct {
    const char* name;
    std::function<void(BuildTest&)> setup;
    std::string message;
  } cases[] = {
      {"enabled row without its address",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(1));
         t.write("var.xml", Rows{screen_row().set("IP_Add_B3", "")});
       },
       "var.xml, row 1: attribute IP_Add_B3 is not a number: \"\""},
      {"bank.bin row attribute missing",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(0));
         t.write("var2.xml", Rows{screen_row(), screen_row(), screen_row().erase("Address_Word")});
       },
       "var2.xml, row 3: attribute Address_Word is missing"},
      {"no settings file", [](BuildTest& t) { t.write("var.xml", Rows{screen_row()}); }, "ParGen.xml is missing"},
      {"unparsable table",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(1));
         t.write("var2.xml", "<C_TO_Customer_Protocol><row COB=\"1\">");
       },
       "var2.xml cannot be read: "},
      {"more enabled rows than records",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(1));
         t.write("var.xml", Rows(1000, screen_row()));
         t.write("var2.xml", Rows(25, screen_row()));
       },
       "var2.xml has too many enabled rows: row 25 would be record 1025, and bank2.bin holds 1024 records"},
  };
  for (const auto& c : cases) {
    fs::remove_all(project_);
    fs::create_directory(project_);
    c.setup(*this);
    const test::CliRun without_bin = build();
    EXPECT_EQ(without_bin.exit_code, 1) << c.name;
    EXPECT_EQ(without_bin.out, "") << c.name;
    EXPECT_EQ(
        without_bin.err.rfind("sw48230-cli: cannot build the image of " + project_.string() + ": " + c.message, 0), 0u)
        << c.name << ": " << without_bin.err;
    EXPECT_FALSE(fs::exists(bin())) << c.name;

    fs::create_directory(bin());
    test::write_file(bin("bank.bin"), "old bank");
    test::write_file(bin("bank2.bin"), "old bank2");
    const test::CliRun with_bin = build();
    EXPECT_EQ(with_bin.exit_code, 1) << c.name;
    EXPECT_EQ(with_bin.err, without_bin.err) << c.name;
    EXPECT_EQ(test::read_file(bin("bank.bin")), "old bank") << c.name;
    EXPECT_EQ(test::read_file(bin("bank2.bin")), "old bank2") << c.name;
  }
}

TEST_F(BuildTest, AnImageFileThatCannotBeWrittenIsReported) {
  write("ParGen.xml", settings_of_type(1));
  fs::create_directories(bin("bank2.bin"));
  const test::CliRun built = build();
  EXPECT_EQ(built.exit_code, 1);
  EXPECT_EQ(built.out, "");
  EXPECT_EQ(built.err.rfind("sw48230-cli: " + bin("bank2.bin").string() + " cannot be written: ", 0), 0u) << built.err;
}

// Windows hands a program its arguments in the ANSI code page unless it asks
// for the wide command line; these letters are outside any one code page.
TEST_F(BuildTest, AFolderNameOutsideTheCodePageReachesTheTool) {
  const fs::path project = temp_ / path_from_utf8("Pr\u00FCfstand \u00DF \u0416");
  fs::create_directory(project);
  test::write_file(project / "ParGen.xml", settings_of_type(1));
  const std::string bank2 = path_to_utf8(project / "bin" / "bank2.bin");

  const test::CliRun built = run({"build", path_to_utf8(project)});
  ASSERT_EQ(built.exit_code, 0) << built.err;
  EXPECT_EQ(built.out, "wrote " + bank2 + ": 0 records (0 COB Request, 0 COB Setting)\n");
  EXPECT_EQ(run({"check", path_to_utf8(project)}).exit_code, 0);
  EXPECT_EQ(run({"dump", bank2}).exit_code, 0);
}

TEST_F(BuildTest, ArgumentsAndFolders) {
  const test::CliRun missing = run({"build", (temp_ / "none").string()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "sw48230-cli: " + (temp_ / "none").string() + " is not a project folder\n");

  EXPECT_EQ(run({"build"}).exit_code, 2);
  EXPECT_EQ(run({"build", project_.string(), "more"}).exit_code, 2);
}

}  // namespace
}  // namespace sw48230

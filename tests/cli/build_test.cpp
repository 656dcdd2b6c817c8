#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "core/common/paths.h"
#include "core/commsettings/comm_settings.h"
#include "core/image/image_decode.h"
#include "support/failure_of.h"
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

// Stands for the project folder in an expected message written before the
// folder is known.
std::string project_path_placeholder() { return "<PROJECT>"; }

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
    std::string message;  // a line of the error output
  } cases[] = {
      {"enabled row without its address",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(1));
         t.write("var.xml", Rows{screen_row().set("IP_Add_B3", "")});
       },
       "sw48230-cli: var.xml: Error row 1!! Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)\n"},
      {"bank.bin row attribute missing",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(0));
         t.write("var2.xml", Rows{setting_row(), setting_row(), setting_row().erase("Address_Word")});
       },
       "sw48230-cli: var2.xml: Error row 3!! Address must be between 0 and 65535\n"},
      {"no settings file", [](BuildTest& t) { t.write("var.xml", Rows{screen_row()}); },
       "sw48230-cli: cannot build the image of " + project_path_placeholder() + ": ParGen.xml is missing\n"},
      {"unparsable table",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(1));
         t.write("var2.xml", "<C_TO_Customer_Protocol><row COB=\"1\">");
       },
       "sw48230-cli: var2.xml: cannot be read: "},
      {"more rows than a table holds",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(1));
         t.write("var.xml", Rows(513, screen_row()));
       },
       "sw48230-cli: var.xml: 1 row beyond row 512 is not checked, and saving the table leaves it out\n"},
  };
  for (const auto& c : cases) {
    fs::remove_all(project_);
    fs::create_directory(project_);
    c.setup(*this);
    const test::CliRun without_bin = build();
    EXPECT_EQ(without_bin.exit_code, 1) << c.name;
    EXPECT_EQ(without_bin.out, "") << c.name;
    std::string message = c.message;
    const std::string placeholder = project_path_placeholder();
    if (const auto at = message.find(placeholder); at != std::string::npos) {
      message.replace(at, placeholder.size(), project_.string());
    }
    EXPECT_TRUE(contains(without_bin.err, message)) << c.name << ": " << without_bin.err;
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

// The checks of the screens decide what reaches a device: a project that
// fails them, or that the screens would show otherwise than the image holds
// it, is refused, and nothing is written.
TEST_F(BuildTest, RefusesAProjectWhoseChecksFail) {
  const struct {
    const char* name;
    std::function<void(BuildTest&)> setup;
    std::string failure;
  } cases[] = {
      {"more rows than a table holds",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(0));
         t.write("var.xml", Rows(1500, screen_row()));
       },
       "sw48230-cli: var.xml: 988 rows beyond row 512 are not checked"},
      {"bit rate outside its list",
       [](BuildTest& t) {
         CommSettings settings;
         settings.Device_Type = 0;
         std::string document = ParGen_Document(settings);
         const std::string baud = "<CAN_Baud>7</CAN_Baud>";
         document.replace(document.find(baud), baud.size(), "<CAN_Baud>8</CAN_Baud>");
         t.write("ParGen.xml", document);
       },
       "sw48230-cli: ParGen.xml: element CAN_Baud is outside its list 0..7: \"8\""},
      {"garbage after a row without Cob-ID",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(0));
         t.write("var2.xml", Rows{setting_row().erase("COB"), setting_row()
                                                                  .set("COB", "5000")
                                                                  .set("Type", "7")
                                                                  .set("Address_Word", "-1")
                                                                  .set("Quantity", "1000")});
       },
       "sw48230-cli: var2.xml: Error row 2!! Cob-ID must be between 0 and 2047"},
      {"garbage in the first row",
       [](BuildTest& t) {
         t.write("ParGen.xml", settings_of_type(1));
         t.write("var.xml", Rows{screen_row().set("Type", "7").set("Address_Word", "-1")});
       },
       "sw48230-cli: var.xml: Error row 1!! Type must be selected"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(project_);
    fs::create_directory(project_);
    c.setup(*this);
    const test::CliRun checked = run({"check", project_.string()});
    EXPECT_EQ(checked.exit_code, 1);
    const std::string line = c.failure.substr(std::string("sw48230-cli: ").size());
    EXPECT_TRUE(contains(checked.out, line)) << checked.out;

    const test::CliRun built = build();
    EXPECT_EQ(built.exit_code, 1);
    EXPECT_EQ(built.out, "");
    EXPECT_TRUE(contains(built.err, c.failure)) << built.err;
    EXPECT_TRUE(contains(built.err, "sw48230-cli: cannot build the image of " + project_.string())) << built.err;
    EXPECT_FALSE(fs::exists(bin()));
  }
}

// Spellings the checks accept reach the image as the screens show them.
TEST_F(BuildTest, RowsTheChecksPassAreBuiltAsTheScreensShowThem) {
  CommSettings settings;
  settings.Device_Type = 1;
  settings.CAN_Type = 1;  // rows without CAN_Type show 29 bits
  write("ParGen.xml", ParGen_Document(settings));
  write("var.xml", Rows{screen_row().set("Enable", "y"), screen_row().erase("CAN_Type").set("COB", "100000")});
  write("var2.xml", Rows{setting_row().set("Type", " 1")});
  const test::CliRun built = build();
  ASSERT_EQ(built.exit_code, 0) << built.err;
  EXPECT_EQ(built.out, "wrote " + bin("bank2.bin").string() + ": 3 records (2 COB Request, 1 COB Setting)\n");

  const Result<Bytes> bytes = Read_Image_File(bin("bank2.bin"));
  ASSERT_TRUE(bytes) << bytes.failure().reason;
  const Result<DecodedImage> decode = Decode_Image(*bytes, "bank2.bin");
  ASSERT_TRUE(decode) << test::english(decode.failure());
  EXPECT_EQ(decode->problems, std::vector<std::string>{});
  const Bank2Image& image = std::get<DecodedBank2>(decode->content).image;
  EXPECT_EQ(image.records[0].COB, 256u);
  EXPECT_EQ(image.records[1].COB, 100000u | COB_29_Bit_Flag);
  EXPECT_EQ(image.records[2].Function, modbus_function::Write_Single_Register);
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

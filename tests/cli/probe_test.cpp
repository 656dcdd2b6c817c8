#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "core/commsettings/comm_settings.h"
#include "support/modbus_test_server.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;
using test::TableRow;
using Rows = std::vector<TableRow>;

constexpr int Silent_Unit = 9;

// A dip-switch project whose rows go to the test server unless a row says
// otherwise; the project's time-out is short so that the tests stay fast.
class ProbeCommandTest : public ::testing::Test {
 protected:
  ProbeCommandTest() {
    fs::create_directory(project_);
    CommSettings settings;
    settings.Device_Type = Device_Type_Dip_Switch;
    settings.Time_Out = "200";
    test::write_file(project_ / "ParGen.xml", ParGen_Document(settings));
  }

  TableRow at_server(TableRow row) const {
    return row.set("IP_Add_B1", "127")
        .set("IP_Add_B2", "0")
        .set("IP_Add_B3", "0")
        .set("IP_Add_B4", "1")
        .set("Port", std::to_string(server_.port()));
  }
  TableRow read_row(const char* type, const char* address, const char* quantity) const {
    return at_server(test::screen_row().set("Type", type).set("Address_Word", address).set("Quantity", quantity));
  }
  TableRow write_row(const char* type, const char* address, const char* quantity) const {
    return at_server(test::setting_row().set("Type", type).set("Address_Word", address).set("Quantity", quantity));
  }
  void write(const char* name, const Rows& rows) { test::write_file(project_ / name, test::table_document(rows)); }

  test::CliRun probe(std::vector<std::string> options = {}) {
    options.insert(options.begin(), {"probe", project_.string()});
    return test::run_cli(temp_.path(), options);
  }

  const test::ModbusTestServer server_{{"127.0.0.1"}, test::ServerBehaviour{.silent_unit = Silent_Unit}};
  test::TempDir temp_;
  fs::path project_ = temp_ / "project";
};

TEST_F(ProbeCommandTest, OneLinePerRowAndASummary) {
  write("var.xml", Rows{
                       read_row("2", "0", "3"),
                       read_row("2", "150", "1"),
                       read_row("0", "0", "4"),
                       read_row("2", "0", "1").set("ID_Modbus", std::to_string(Silent_Unit)),
                       read_row("2", "0", "1").set("Enable", "N"),
                   });
  write("var2.xml", Rows{write_row("1", "1", "2"), write_row("0", "3", "1")});
  const test::CliRun run = probe();
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_EQ(run.err, "");
  // Round-trip times vary; everything else is fixed.
  std::string out = run.out;
  for (std::size_t at = out.find(": ok "); at != std::string::npos; at = out.find(": ok ", at + 1)) {
    const std::size_t ms = out.find(" ms:", at);
    out.replace(at + 5, ms - at - 5, "T");
  }
  EXPECT_EQ(out,
            "read row 1: ok T ms: 0 100 65535\n"
            "read row 2: exception 02 Illegal Data Address\n"
            "read row 3: ok T ms: 1 0 0 1\n"
            "read row 4: timeout: no answer within 200 ms\n"
            "write row 1: ok T ms: 100 65535\n"
            "write row 2: ok T ms: 1\n"
            "probed 6 rows: 4 ok, 1 exception, 1 timeout\n");
  EXPECT_EQ(server_.functions_received(), (std::vector<std::uint8_t>{3, 3, 1, 3, 3, 1}));
}

TEST_F(ProbeCommandTest, JsonOfTheChosenRows) {
  write("var.xml", Rows{read_row("2", "0", "3"), read_row("2", "150", "1"), read_row("3", "4", "1")});
  write("var2.xml", Rows{write_row("1", "1", "2"), write_row("0", "3", "1")});
  const test::CliRun run = probe({"--json", "--rows", "2,3-9", "--table", "read"});
  EXPECT_EQ(run.exit_code, 1) << run.err;
  const nlohmann::json json = nlohmann::json::parse(run.out);
  ASSERT_EQ(json["rows"].size(), 2u) << run.out;
  EXPECT_EQ(
      json["rows"][0],
      (nlohmann::json{
          {"table", "read"}, {"row", 2}, {"status", "exception"}, {"exception", 2}, {"name", "Illegal Data Address"}}));
  const nlohmann::json& ok = json["rows"][1];
  EXPECT_EQ(ok["table"], "read");
  EXPECT_EQ(ok["row"], 3);
  EXPECT_EQ(ok["status"], "ok");
  EXPECT_EQ(ok["values"], nlohmann::json::array({50004}));
  EXPECT_TRUE(ok["ms"].is_number_unsigned());
  // Rows 4 to 9 do not exist.
  for (int row = 4; row <= 9; ++row) {
    EXPECT_NE(run.err.find("row " + std::to_string(row) + ": the device sends no request for it"), std::string::npos)
        << run.err;
  }
}

TEST_F(ProbeCommandTest, EveryRowOkExitsWithZero) {
  write("var.xml", Rows{read_row("2", "150", "1")});
  write("var2.xml", Rows{write_row("1", "1", "2"), write_row("0", "3", "1")});
  const test::CliRun run = probe({"--table", "write", "--parallel", "1", "--timeout", "100"});
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("probed 2 rows: 2 ok\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("read row"), std::string::npos) << run.out;
}

TEST_F(ProbeCommandTest, TheTimeoutOptionReplacesTheProjectOne) {
  write("var.xml", Rows{read_row("2", "0", "1").set("ID_Modbus", std::to_string(Silent_Unit))});
  const test::CliRun run = probe({"--timeout", "50"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "read row 1: timeout: no answer within 50 ms\nprobed 1 row: 1 timeout\n");
}

TEST_F(ProbeCommandTest, ProjectWhoseChecksFailIsRefusedWithTheirReport) {
  write("var.xml", Rows{read_row("2", "0", "1"), read_row("2", "0", "1").set("IP_Add_B1", "plc.example")});
  const test::CliRun run = probe();
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "var.xml: Error row 2!! Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)\n"
            "sw48230-cli: " +
                project_.string() + ": 1 check fails; nothing is probed\n");
  EXPECT_TRUE(server_.functions_received().empty());
}

TEST_F(ProbeCommandTest, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"probe"},
      {"probe", project_.string(), "--table"},
      {"probe", project_.string(), "--table", "all"},
      {"probe", project_.string(), "--rows", "0"},
      {"probe", project_.string(), "--rows", "3-1"},
      {"probe", project_.string(), "--rows", "1,,2"},
      {"probe", project_.string(), "--rows", "x"},
      {"probe", project_.string(), "--timeout", "0"},
      {"probe", project_.string(), "--timeout", "1s"},
      {"probe", project_.string(), "--parallel", "0"},
      {"probe", project_.string(), "--parallel", "65"},
      {"probe", project_.string(), "--verbose"},
      {"probe", project_.string(), project_.string()},
  };
  for (const auto& args : cases) {
    const test::CliRun run = test::run_cli(temp_.path(), args);
    EXPECT_EQ(run.exit_code, 2) << args.back();
    EXPECT_NE(run.err.find("Usage:"), std::string::npos) << args.back();
  }
  EXPECT_TRUE(server_.functions_received().empty());
}

}  // namespace
}  // namespace sw48230

#include "core/probe/probe_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/commsettings/comm_settings.h"
#include "core/project/project.h"
#include "core/tables/request_file.h"
#include "core/tables/table_kind.h"
#include "support/failure_of.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::screen_row;
using test::setting_row;
using test::TableRow;
using Rows = std::vector<TableRow>;

class ProbePlanTest : public ::testing::Test {
 protected:
  void write_settings(int device_type, const std::string& port = "502", const std::string& time_out = "250") {
    CommSettings settings;
    settings.Device_Type = device_type;
    settings.Port = port;
    settings.Time_Out = time_out;
    test::write_file(dir_ / "ParGen.xml", ParGen_Document(settings));
  }
  void write(const char* name, const Rows& rows) { test::write_file(dir_ / name, test::table_document(rows)); }

  Result<ProbePlan> plan() const { return Make_Probe_Plan(Load_Project(dir_.path())); }

  test::TempDir dir_;
};

ProbeRequest request(const TableKind* table, int row, std::string address, std::uint16_t port, std::uint8_t unit,
                     std::uint8_t function, std::uint16_t start, std::uint16_t quantity) {
  return {table, row, std::move(address), port, unit, function, start, quantity};
}

const TableKind* const Read = &Read_Requests();
const TableKind* const Write = &Write_Requests();

TEST_F(ProbePlanTest, DipSwitchProjectProbesTheEnabledRowsWithTheirOwnPortsAndWritesAsReadBacks) {
  write_settings(Device_Type_Dip_Switch);
  write("var.xml", Rows{
                       screen_row().set("IP_Add_B4", "21").set("Port", "1502").set("ID_Modbus", "7"),
                       screen_row().set("Enable", "N"),
                       screen_row().set("Type", "0").set("Address_Word", "$10").set("Quantity", "64"),
                       screen_row().set("Type", "3").set("Quantity", "4").erase("Port"),
                   });
  write("var2.xml", Rows{
                        setting_row().set("Type", "0").set("Quantity", "1"),
                        setting_row().set("Type", "0").set("Quantity", "16"),
                        setting_row().set("Quantity", "1"),
                        setting_row().set("Quantity", "4").set("Address_Word", "40"),
                        setting_row().set("Type", "7"),
                    });
  const Result<ProbePlan> probe = plan();
  ASSERT_TRUE(probe) << test::english(probe.failure());
  EXPECT_EQ(probe->timeout_ms, 250u);
  EXPECT_EQ(probe->requests, (std::vector<ProbeRequest>{
                                 request(Read, 1, "192.168.0.21", 1502, 7, 3, 7, 1),
                                 request(Read, 3, "192.168.0.11", 502, 1, 1, 16, 64),
                                 request(Read, 4, "192.168.0.11", 502, 1, 4, 7, 4),
                                 request(Write, 1, "192.168.0.11", 502, 1, 1, 7, 1),
                                 request(Write, 2, "192.168.0.11", 502, 1, 1, 7, 16),
                                 request(Write, 3, "192.168.0.11", 502, 1, 3, 7, 1),
                                 request(Write, 4, "192.168.0.11", 502, 1, 3, 40, 4),
                                 // A type the image cannot compile keeps no function.
                                 request(Write, 5, "192.168.0.11", 502, 1, 0, 7, 1),
                             }));
}

TEST_F(ProbePlanTest, JumperProjectProbesEveryRowInFileOrderOnTheProjectPort) {
  write_settings(Device_Type_Jumper, "1502", "300");
  write("var.xml", Rows{
                       screen_row().set("COB", "900").set("Type", "1").set("Port", "9999"),
                       screen_row().set("COB", "100").set("Enable", "N").set("Quantity", "2"),
                   });
  write("var2.xml", Rows{setting_row().set("Type", "0").set("Quantity", "8"), setting_row()});
  const Result<ProbePlan> probe = plan();
  ASSERT_TRUE(probe) << test::english(probe.failure());
  EXPECT_EQ(probe->timeout_ms, 300u);
  EXPECT_EQ(probe->requests, (std::vector<ProbeRequest>{
                                 request(Read, 1, "192.168.0.11", 1502, 1, 2, 7, 1),
                                 request(Read, 2, "192.168.0.11", 1502, 1, 3, 7, 2),
                                 request(Write, 1, "192.168.0.11", 1502, 1, 1, 7, 8),
                                 request(Write, 2, "192.168.0.11", 1502, 1, 3, 7, 1),
                             }));
}

TEST_F(ProbePlanTest, WhatTheImageBuildRefusesGivesNoRequests) {
  write_settings(Device_Type_Dip_Switch);
  write("var.xml", Rows{screen_row(), screen_row().set("IP_Add_B3", "")});
  Result<ProbePlan> probe = plan();
  ASSERT_FALSE(probe);
  EXPECT_EQ(test::english(probe.failure()), "var.xml, row 2: attribute IP_Add_B3 is not a number: \"\"");

  // Jumper hardware needs readable settings as well.
  std::filesystem::remove(dir_ / "ParGen.xml");
  write("var.xml", Rows{screen_row()});
  probe = plan();
  ASSERT_FALSE(probe);
  EXPECT_EQ(test::english(probe.failure()), "ParGen.xml is missing");
}

TEST_F(ProbePlanTest, ScreenRowsNotSavedYetAreProbedAsTheyStand) {
  write_settings(Device_Type_Dip_Switch);
  write("var.xml", Rows{screen_row(), screen_row()});
  write("var2.xml", Rows{setting_row().set("Type", "0")});

  // The screen as the user left it: row 1 changed, row 2 disabled, row 3
  // added, nothing saved.
  const TableContext context = Read_Table_Context(Read_ParGen_File(dir_ / "ParGen.xml"));
  RequestTable table;
  ASSERT_TRUE(Load_Requests(Read_Requests(), Read_Requests_File(dir_ / "var.xml"), context, table));
  table.cell(1, Col_IP) = "10.0.0.5";
  table.cell(1, Col_Address) = "40";
  table.cell(2, Col_Enable) = "N";
  table.cell(3, Col_Enable) = "Y";
  table.cell(3, Col_COB) = "300";
  table.cell(3, Col_CAN_Type) = "CAN 2.0A (11 bits)";
  table.cell(3, Col_IP) = "10.0.0.6";
  table.cell(3, Col_Port) = "1502";
  table.cell(3, Col_ID_Modbus) = "2";
  table.cell(3, Col_Type) = "Input Register";
  table.cell(3, Col_Address) = "0";
  table.cell(3, Col_NPoint) = "2";
  const Result<ProbePlan> probe = Make_Probe_Plan(With_Table(Load_Project(dir_.path()), Read_Requests(), table));
  ASSERT_TRUE(probe) << test::english(probe.failure());
  EXPECT_EQ(probe->requests, (std::vector<ProbeRequest>{
                                 request(Read, 1, "10.0.0.5", 502, 1, 3, 40, 1),
                                 request(Read, 3, "10.0.0.6", 1502, 2, 4, 0, 2),
                                 request(Write, 1, "192.168.0.11", 502, 1, 1, 7, 1),
                             }));

  // What the build refuses in a screen's rows names the table's file and
  // the row, as for the file.
  table.cell(3, Col_Address) = "x";
  const Result<ProbePlan> broken = Make_Probe_Plan(With_Table(Load_Project(dir_.path()), Read_Requests(), table));
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.failure().file, "var.xml");
  EXPECT_EQ(broken.failure().row, 3);
  EXPECT_EQ(broken.failure().name, "Address_Word");
}

}  // namespace
}  // namespace sw48230

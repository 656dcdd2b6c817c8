// A project saved by the cores the settings and table screens use, built
// into an image: what one side writes the other must read under the same
// names, or the device gets fallbacks instead of what the user typed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/commsettings/comm_settings.h"
#include "core/image/image_build.h"
#include "core/image/image_layout.h"
#include "core/project/project.h"
#include "core/tables/request_file.h"
#include "core/tables/request_table.h"
#include "core/tables/table_kind.h"
#include "support/bank_bytes.h"
#include "support/failure_of.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

// Every setting differs from every fallback a reader has.
CommSettings typed_settings(int device_type) {
  CommSettings settings;
  settings.Device_Type = device_type;
  settings.CAN_Baud = 3;  // 125K
  settings.CAN_Type = 0;
  settings.TCP_IP = {"10", "1", "2", "3"};
  settings.TCP_SUB = {"255", "255", "0", "0"};
  settings.TCP_GAT = {"10", "1", "2", "254"};
  settings.En_GAT = true;
  settings.Port = "5020";
  settings.Time_Out = "2500";
  settings.Dis_Sock = true;
  return settings;
}

// One row as the screen holds it, every cell typed.
RequestTable one_row(const std::string& cob, const std::string& type, const std::string& quantity,
                     const std::string& swap) {
  RequestTable table;
  table.cell(1, Col_Enable) = "Y";
  table.cell(1, Col_COB) = cob;
  table.cell(1, Col_CAN_Type) = CAN_Type_11_Bits;
  table.cell(1, Col_IP) = "10.1.2.20";
  table.cell(1, Col_Port) = "1502";
  table.cell(1, Col_ID_Modbus) = "7";
  table.cell(1, Col_Type) = type;
  table.cell(1, Col_Address) = "100";
  table.cell(1, Col_NPoint) = quantity;
  table.cell(1, Col_Poll_Time) = "500";
  table.cell(1, Col_Max_Error) = "3";
  table.cell(1, Col_Swap) = swap;
  table.cell(1, Col_Mnemonic) = "T1";
  return table;
}

struct SavedProject {
  CommSettings settings;
  Bytes expected;
};

Bytes expected_bank2() {
  Bank2Image image;
  image.general = {.CAN_Bit_Rate = 125000,
                   .Time_Out = 2500,
                   .IP_Address = {10, 1, 2, 3},
                   .Subnet_Mask = {255, 255, 0, 0},
                   .Gateway = {10, 1, 2, 254},
                   .Default_Port = 502,
                   .Record_Count = 2,
                   .Request_Count = 1,
                   .Setting_Count = 1};
  const std::uint32_t server = Ip_Address_Number({10, 1, 2, 20});
  image.records[0] = {.Slot_Offset = 0,
                      .Poll_Time = 500,
                      .ID_Modbus = 7,
                      .Function = modbus_function::Read_Input_Registers,
                      .Address_Word = 100,
                      .Quantity = 2,
                      .Port = 1502,
                      .IP_Address = server,
                      .COB = 385,
                      .Max_Error = 3,
                      .Byte_Count = 4,
                      .Flags = 0};
  image.records[1] = {.Slot_Offset = 0,
                      .Poll_Time = 0,
                      .ID_Modbus = 7,
                      .Function = modbus_function::Write_Multiple_Registers,
                      .Address_Word = 100,
                      .Quantity = 3,
                      .Port = 1502,
                      .IP_Address = server,
                      .COB = 386,
                      .Max_Error = 0,
                      .Byte_Count = 6,
                      .Flags = Flags_Swap};
  return Serialize_Bank2(image);
}

Bytes expected_bank() {
  const std::vector<Bank_Row> reads = {{385, {10, 1, 2, 20}, 100, 7, 4, 2}};
  const std::vector<Bank_Row> writes = {{386, {10, 1, 2, 20}, 100, 7, 3, 3}};
  const Bank_Params params{.CAN_Baud_Code = 4,
                           .CAN_Type = 0,
                           .IP_Address = {10, 1, 2, 3},
                           .Subnet_Mask = {255, 255, 0, 0},
                           .Time_Out = 2500,
                           .Port = 5020,
                           .En_GAT = 1,
                           .Gateway = {10, 1, 2, 254},
                           .Dis_Sock = 1};
  return test::bank_bytes(reads, writes, params);
}

TEST(SavedProjectImageTest, ImageCarriesEverythingTheScreensSaved) {
  const SavedProject cases[] = {
      {typed_settings(Device_Type_Dip_Switch), expected_bank2()},
      {typed_settings(Device_Type_Jumper), expected_bank()},
  };
  for (const SavedProject& c : cases) {
    SCOPED_TRACE("device type " + std::to_string(c.settings.Device_Type));
    const test::TempDir dir;
    ASSERT_FALSE(Save_Comm_Settings(dir / ParGen_File_Name, c.settings));
    ASSERT_FALSE(
        Save_Requests(Read_Requests(), dir / Read_Requests().file_name, one_row("385", "Input Register", "2", "N")));
    ASSERT_FALSE(Save_Requests(Write_Requests(), dir / Write_Requests().file_name,
                               one_row("386", "Holding Register", "3", "Y")));

    ImageBuffers buffers;
    const Result<ImageBuild> build = Build_Image(Load_Project(dir.path()), buffers);
    ASSERT_TRUE(build.ok()) << test::english(build.failure());
    EXPECT_EQ(buffers.of(build->kind), c.expected);
  }
}

}  // namespace
}  // namespace sw48230

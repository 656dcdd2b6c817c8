#include <gtest/gtest.h>

#include "core/commsettings/comm_settings.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::TempDir;
using test::write_file;

// The device type as the request tables and the checks read it.
TEST(TableContext, ReadsTheDeviceTypeWithZeroForAnythingUnreadable) {
  const struct {
    const char* name;
    const char* content;
    int expected;
  } cases[] = {
      {"dip-switch", "<ParGen><Device_Type>1</Device_Type></ParGen>", 1},
      {"jumper", "<ParGen><Device_Type>0</Device_Type></ParGen>", 0},
      {"other number", "<ParGen><Device_Type>2</Device_Type></ParGen>", 2},
      {"hex", "<ParGen><Device_Type>$1</Device_Type></ParGen>", 1},
      {"leading blank", "<ParGen><Device_Type> 1</Device_Type></ParGen>", 1},
      {"trailing blank", "<ParGen><Device_Type>1 </Device_Type></ParGen>", 0},
      {"not a number", "<ParGen><Device_Type>one</Device_Type></ParGen>", 0},
      {"missing element", "<ParGen><CAN_Baud>3</CAN_Baud></ParGen>", 0},
      {"nested deeper", "<ParGen><X><Device_Type>1</Device_Type></X></ParGen>", 0},
      {"declaration first", "<?xml version=\"1.0\"?><ParGen><Device_Type>1</Device_Type></ParGen>", 1},
      {"broken", "<ParGen><Device_Type>1</Device_Type>", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    write_file(dir / "ParGen.xml", c.content);
    EXPECT_EQ(Read_Table_Context(Read_ParGen_File(dir / "ParGen.xml")).Hard_Type, c.expected);
  }
  TempDir dir;
  EXPECT_EQ(Read_Table_Context(Read_ParGen_File(dir / "ParGen.xml")).Hard_Type, 0);
}

}  // namespace
}  // namespace sw48230

#include "core/update/serial_update.h"

#include <gtest/gtest.h>

namespace sw48230 {
namespace {

const std::string Sep(1, static_cast<char>(std::filesystem::path::preferred_separator));

struct SerialArguments : ::testing::Test {
  std::filesystem::path program = std::filesystem::path(Sep + "opt") / "Velstrom 2";
  std::filesystem::path master = program / "MASTER";
  std::filesystem::path project = program / "PROJECTS" / "Plant 1";

  // The two quoted paths that end every argument string.
  std::string files() const {
    return '"' + master.string() + Sep + "sim48230.sim\" \"" + project.string() + Sep + "bin" + Sep + '"';
  }
};

TEST_F(SerialArguments, EveryBoxTickedWithCom3) {
  const std::string device = Com_Port_Device(Com_Port_Name(3));
  EXPECT_EQ(device, R"(\\.\COM3)");
  EXPECT_EQ(Serial_Update_Arguments(device, UpdateChoices{}, master, project), R"(\\.\COM3 FW FR PW PR )" + files());
}

TEST_F(SerialArguments, EveryBoxClearedStillNamesBothFiles) {
  EXPECT_EQ(Serial_Update_Arguments("/dev/ttyUSB0", UpdateChoices{false, false, false, false}, master, project),
            "/dev/ttyUSB0 NO NO NO NO " + files());
}

TEST_F(SerialArguments, EachBoxSetsItsOwnToken) {
  const struct {
    bool UpdateChoices::*box;
    const char* expected;
  } cases[] = {
      {&UpdateChoices::Firmware, "COM1 NO FR PW PR "},
      {&UpdateChoices::Read_Firm, "COM1 FW NO PW PR "},
      {&UpdateChoices::Conf, "COM1 FW FR NO PR "},
      {&UpdateChoices::Read_Conf, "COM1 FW FR PW NO "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    UpdateChoices choices;
    choices.*c.box = false;
    EXPECT_EQ(Serial_Update_Arguments("COM1", choices, master, project), c.expected + files());
  }
}

TEST(SerialPorts, OrderedByFamilyThenNumber) {
  std::vector<SerialPort> ports;
  for (const char* name : {"ttyUSB1", "ttyS10", "COM10", "ttyS2", "ttyACM0", "ttyS0", "ttyUSB0", "COM9", "ttyS"}) {
    ports.push_back({name, std::string("/dev/") + name});
  }
  Order_Serial_Ports(ports);
  std::vector<std::string> names;
  for (const SerialPort& port : ports) {
    EXPECT_EQ(port.device, "/dev/" + port.name);  // a port keeps its device path
    names.push_back(port.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"COM9", "COM10", "ttyACM0", "ttyS", "ttyS0", "ttyS2", "ttyS10", "ttyUSB0",
                                             "ttyUSB1"}));
}

}  // namespace
}  // namespace sw48230

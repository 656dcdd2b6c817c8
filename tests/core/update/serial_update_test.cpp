#include "core/update/serial_update.h"

#include <gtest/gtest.h>

#include "core/common/command_line.h"
#include "core/common/paths.h"

namespace sw48230 {
namespace {

const std::string Sep(1, static_cast<char>(std::filesystem::path::preferred_separator));

struct SerialArguments : ::testing::Test {
  std::filesystem::path program = std::filesystem::path(Sep + "opt") / "Velstrom 2";
  std::filesystem::path master = program / "MASTER";
  std::filesystem::path project = program / "PROJECTS" / "Plant 1";

  // The two quoted paths that end every argument string; a backslash before
  // the closing quote is doubled, or it would escape the quote.
  std::string files() const {
    const std::string folder_end = Sep == "\\" ? "\\\\" : Sep;
    return '"' + master.string() + Sep + "sim48230.sim\" \"" + project.string() + Sep + "bin" + folder_end + '"';
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

// Whatever the folders are called, the updater gets its seven arguments and
// both paths exactly.
TEST(SerialArgumentsSplit, HostilePathsSplitBackToSevenArguments) {
  const char* const folders[] = {
      "plain",
      "with blank",
      "with\ttab",
      "quote\"inside",
      "\"",
      "ends in backslash\\",
      "ends in two\\\\",
      "backslash before quote\\\"x",
      "C:\\Program Files\\Velstrom \"2\"\\",
      "\"\"",
      "\\\\server\\share \\",
  };
  for (const char* folder : folders) {
    SCOPED_TRACE(folder);
    const std::filesystem::path master = std::filesystem::path(folder) / "MASTER";
    const std::filesystem::path project = std::filesystem::path(folder) / "PROJECTS" / folder;
    const std::string arguments = Serial_Update_Arguments(R"(\\.\COM3)", UpdateChoices{}, master, project);
    const std::vector<std::string> expected = {R"(\\.\COM3)", "FW", "FR", "PW", "PR",
                                               path_to_utf8(master / "sim48230.sim"),
                                               path_to_utf8(project / "bin" / "")};
    EXPECT_EQ(split_windows_command_line(arguments), expected) << arguments;
  }
}

TEST(QuoteWindowsArgument, GivesBackEveryArgument) {
  const std::string arguments[] = {"", "a", " ", "\"", "\\", "\\\"", "a\\\\", "\\\\\"\"\\", "x y\tz", "\xC3\xA9\xFF"};
  for (const std::string& argument : arguments) {
    SCOPED_TRACE(argument);
    EXPECT_EQ(split_windows_command_line(quote_windows_argument(argument)), std::vector<std::string>{argument});
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

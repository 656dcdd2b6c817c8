#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/update/update_choices.h"

namespace sw48230 {

// A serial port the updater can use: the name the user picks it by ("COM3",
// "ttyUSB0") and the device path the updater opens ("\\.\COM3",
// "/dev/ttyUSB0").
struct SerialPort {
  std::string name;
  std::string device;

  bool operator==(const SerialPort&) const = default;
};

// Windows numbers its serial ports COM1 upwards; ports above this number
// are never offered.
inline constexpr int Com_Port_Count = 256;

// "COM" and the port number in decimal.
std::string Com_Port_Name(int number);

// The device path under which Windows opens a port of any number:
// "\\.\" followed by the port's name.
std::string Com_Port_Device(std::string_view name);

// Orders ports as a user looks for them: by family (the name without its
// trailing number: "COM", "ttyS", "ttyUSB"), then by number, so that ttyS2
// comes before ttyS10.
void Order_Serial_Ports(std::vector<SerialPort>& ports);

inline constexpr const char* Serial_Updater_Name = "Ser_48230_Update.exe";
inline constexpr const char* Serial_Firmware_Name = "sim48230.sim";

std::filesystem::path Serial_Updater_Path(const std::filesystem::path& program_dir);

// The serial updater's whole argument string: the port's device path, one
// token per choice (FW FR PW PR, or NO for each box left clear), the quoted
// firmware file and the quoted image folder, which ends in a separator.
std::string Serial_Update_Arguments(std::string_view port_device, const UpdateChoices& choices,
                                    const std::filesystem::path& master_dir, const std::filesystem::path& project_dir);

}  // namespace sw48230

#pragma once

#include <filesystem>
#include <vector>

#include "core/update/serial_update.h"

namespace sw48230 {

// The serial ports the serial updater could use.
class SerialPorts {
 public:
  virtual ~SerialPorts() = default;

  // The ports present that can be opened or that another program holds
  // open, ordered by Order_Serial_Ports.
  virtual std::vector<SerialPort> EnumPorts() = 0;
};

// On Windows: the ports COM1 to COM256, each opened once to see whether it
// is there. Elsewhere: the serial devices in the device folder (ttyS,
// ttyUSB, ttyACM and ttyAMA followed by a number), each opened once the
// same way; a device that fails to open for another reason than being busy,
// such as a ttyS line without hardware behind it, is left out.
class SystemSerialPorts final : public SerialPorts {
 public:
  explicit SystemSerialPorts(std::filesystem::path device_dir = "/dev");

  std::vector<SerialPort> EnumPorts() override;

 private:
  std::filesystem::path device_dir_;
};

}  // namespace sw48230

#include "platform/serial_ports.h"

#include <array>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include "core/common/windows_api.h"
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/common/paths.h"
#endif

namespace sw48230 {

SystemSerialPorts::SystemSerialPorts(std::filesystem::path device_dir) : device_dir_(std::move(device_dir)) {}

#ifdef _WIN32

// Windows names its ports itself; there is no device folder to look in.
std::vector<SerialPort> SystemSerialPorts::EnumPorts() {
  static_cast<void>(device_dir_);
  std::vector<SerialPort> ports;
  for (int number = 1; number <= Com_Port_Count; ++number) {
    const std::string name = Com_Port_Name(number);
    const std::string device = Com_Port_Device(name);
    const std::wstring wide(device.begin(), device.end());
    const HANDLE handle =
        CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
      ports.push_back({name, device});
    } else if (GetLastError() == ERROR_ACCESS_DENIED) {
      // Another program holds the port: it exists, and may be free by the
      // time the updater runs.
      ports.push_back({name, device});
    }
  }
  return ports;
}

#else

namespace {

constexpr std::array<std::string_view, 4> Serial_Families = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA"};

bool is_serial_name(std::string_view name) {
  for (const std::string_view family : Serial_Families) {
    if (name.size() <= family.size() || name.substr(0, family.size()) != family) continue;
    const std::string_view number = name.substr(family.size());
    if (number.find_first_not_of("0123456789") == std::string_view::npos) return true;
  }
  return false;
}

// Without O_NONBLOCK the open would wait for a modem's carrier line.
bool can_use(const std::filesystem::path& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  return errno == EBUSY;
}

}  // namespace

std::vector<SerialPort> SystemSerialPorts::EnumPorts() {
  std::vector<SerialPort> ports;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(device_dir_, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = path_to_utf8(entry->path().filename());
    if (!is_serial_name(name) || !can_use(entry->path())) continue;
    ports.push_back({name, path_to_utf8(entry->path())});
  }
  Order_Serial_Ports(ports);
  return ports;
}

#endif

}  // namespace sw48230

#include "core/update/serial_update.h"

#include <algorithm>

#include "core/common/command_line.h"
#include "core/common/paths.h"
#include "core/project/project.h"

namespace sw48230 {
namespace {

struct PortKey {
  std::string_view family;
  std::string_view number;  // digits without leading zeros; empty for none or zero
  bool has_number;
};

PortKey key_of(std::string_view name) {
  std::size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
  std::string_view number = name.substr(digits);
  const bool has_number = !number.empty();
  while (!number.empty() && number.front() == '0') number.remove_prefix(1);
  return {name.substr(0, digits), number, has_number};
}

// Compares numbers of any length without converting them.
bool number_less(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

}  // namespace

std::string Com_Port_Name(int number) { return "COM" + std::to_string(number); }

std::string Com_Port_Device(std::string_view name) { return std::string(R"(\\.\)") + std::string(name); }

void Order_Serial_Ports(std::vector<SerialPort>& ports) {
  std::stable_sort(ports.begin(), ports.end(), [](const SerialPort& a, const SerialPort& b) {
    const PortKey ka = key_of(a.name);
    const PortKey kb = key_of(b.name);
    if (ka.family != kb.family) return ka.family < kb.family;
    if (ka.has_number != kb.has_number) return !ka.has_number;
    if (ka.number != kb.number) return number_less(ka.number, kb.number);
    return a.name < b.name;
  });
}

std::filesystem::path Serial_Updater_Path(const std::filesystem::path& program_dir) {
  return program_dir / Serial_Updater_Name;
}

std::string Serial_Update_Arguments(std::string_view port_device, const UpdateChoices& choices,
                                    const std::filesystem::path& master_dir, const std::filesystem::path& project_dir) {
  std::string arguments;
  arguments += port_device;
  arguments += ' ';
  arguments += choices.Firmware ? "FW " : "NO ";
  arguments += choices.Read_Firm ? "FR " : "NO ";
  arguments += choices.Conf ? "PW " : "NO ";
  arguments += choices.Read_Conf ? "PR " : "NO ";
  // Quoted by the rules the updater's runtime splits by, so that a path with
  // quotes or the folder's own trailing separator stays one argument.
  arguments += quote_windows_argument(path_to_utf8(master_dir / Serial_Firmware_Name)) + ' ';
  // An empty last element gives the folder its trailing separator.
  arguments += quote_windows_argument(path_to_utf8(Bin_Path(project_dir) / ""));
  return arguments;
}

}  // namespace sw48230

#include "core/update/ethernet_update.h"

#include <pugixml.hpp>

#include "core/common/atomic_file.h"
#include "core/common/number_text.h"
#include "core/common/paths.h"
#include "core/common/text.h"
#include "core/common/xml_file.h"

namespace sw48230 {
namespace {

// The device's fixed ports and addresses, as the updater expects them.
constexpr const char* Boot_Port = "2008";
constexpr const char* Boot_Port_Sec = "2007";

// Every element carries a text, even an empty one, so that it is written
// with an opening and a closing tag like the rest of the program's files.
void add(pugi::xml_node parent, const char* name, std::string_view text) {
  parent.append_child(name).text().set(std::string(text).c_str());
}

struct Operation {
  std::string file_name;
  const char* start_address;
  const char* bank_type;
  bool read_back;
  const char* write_css;
  const char* address_css;
  bool go_to_app_after;
};

void add_operation(pugi::xml_node operations, const Operation& operation) {
  pugi::xml_node node = operations.append_child("Operation");
  add(node, "Ope_Protection_Enabled", "");
  add(node, "Ope_GoToBoot_Before", "0");
  add(node, "Ope_GoToApp_Before", "0");
  add(node, "Ope_IP_Address", "");
  add(node, "Ope_Port", Boot_Port);
  add(node, "Ope_Port_Sec", Boot_Port_Sec);
  add(node, "Ope_Erase_Memory", "0");
  add(node, "Ope_FileName", operation.file_name);
  add(node, "Ope_Start_Address", operation.start_address);
  add(node, "Ope_Memory_Type", "0");
  add(node, "Ope_Bank_Type", operation.bank_type);
  add(node, "Ope_Read_Back", operation.read_back ? "1" : "0");
  add(node, "Ope_Write_CSS", operation.write_css);
  add(node, "Ope_Address_CSS", operation.address_css);
  add(node, "Ope_Command_CSS", "0x0B");
  add(node, "Ope_Write_Internal_Data", "0");
  add(node, "Ope_WID_Address", "0x78200");
  add(node, "Ope_WID_Command", "0x0B");
  add(node, "Ope_WID_Data", "");
  add(node, "Ope_GoToApp_After", operation.go_to_app_after ? "1" : "0");
}

}  // namespace

std::optional<IpParts> Valid_IP(std::string_view ip) {
  std::string_view rest = trim_blanks(ip);
  IpParts parts;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    parts[i] = std::string(trim_blanks(rest.substr(0, dot)));
    rest = trim_blanks(rest.substr(dot + 1));
  }
  parts[3] = std::string(rest);
  for (const std::string& part : parts) {
    const std::int32_t value = to_int32(part, 1000);
    if (value < 0 || value > 255) return std::nullopt;
  }
  return parts;
}

std::string Address_Text(const IpParts& parts) { return parts[0] + '.' + parts[1] + '.' + parts[2] + '.' + parts[3]; }

std::filesystem::path Ethernet_Updater_Path(const std::filesystem::path& program_dir) {
  return program_dir / Ethernet_Updater_Name;
}

std::filesystem::path Ethernet_Update_File(const std::filesystem::path& program_dir) {
  return program_dir / Ethernet_Update_File_Name;
}

std::string Ethernet_Update_Xml(std::string_view address, const UpdateChoices& choices,
                                const std::filesystem::path& master_dir, const std::filesystem::path& project_dir) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("Ethernet_Update");
  add(root, "Version", "1000");
  add(root, "Title", "Norvane - SW48230 Ethernet Update");
  add(root, "IP_Address_Dev", address);
  add(root, "Application_Port", "10000");
  add(root, "Boot_Port", Boot_Port);
  add(root, "Boot_Port_Sec", Boot_Port_Sec);
  add(root, "Address_Protection", "0x78000");
  add(root.append_child("Protections"), "Protection", "0x124");
  pugi::xml_node operations = root.append_child("Operations");
  // Only the last operation returns the device to its application; an
  // earlier one would leave the boot loader before the next write.
  if (choices.Firmware) {
    add_operation(operations, {path_to_utf8(master_dir / Ethernet_Firmware_Name), "0x8000", "1", choices.Read_Firm, "1",
                               "0x78100", !choices.Conf});
  }
  if (choices.Conf) {
    add_operation(operations, {path_to_utf8(project_dir / "bin" / "bank2.bin"), "0x60000", "2", choices.Read_Conf, "0",
                               "0x50100", true});
  }
  return serialize_xml(document);
}

std::optional<Failure> Compile_XML_Parameter(const std::filesystem::path& program_dir, std::string_view address,
                                      const UpdateChoices& choices, const std::filesystem::path& master_dir,
                                      const std::filesystem::path& project_dir) {
  return write_file_atomically(Ethernet_Update_File(program_dir),
                               Ethernet_Update_Xml(address, choices, master_dir, project_dir));
}

}  // namespace sw48230

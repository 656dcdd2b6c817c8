#include "core/update/ethernet_update.h"

#include <pugixml.hpp>

#include "core/common/number_text.h"
#include "core/common/paths.h"
#include "core/common/text.h"
#include "core/common/xml_file.h"
#include "core/image/image_build.h"
#include "core/update/ethernet_update_format.h"

namespace sw48230 {
namespace {

namespace format = ethernet_update_file;

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
  pugi::xml_node node = operations.append_child(format::Operation);
  add(node, format::Ope_Protection_Enabled, "");
  add(node, format::Ope_GoToBoot_Before, "0");
  add(node, format::Ope_GoToApp_Before, "0");
  add(node, format::Ope_IP_Address, "");
  add(node, format::Ope_Port, format::Boot_Port_Value);
  add(node, format::Ope_Port_Sec, format::Boot_Port_Sec_Value);
  add(node, format::Ope_Erase_Memory, "0");
  add(node, format::Ope_FileName, operation.file_name);
  add(node, format::Ope_Start_Address, operation.start_address);
  add(node, format::Ope_Memory_Type, "0");
  add(node, format::Ope_Bank_Type, operation.bank_type);
  add(node, format::Ope_Read_Back, operation.read_back ? "1" : "0");
  add(node, format::Ope_Write_CSS, operation.write_css);
  add(node, format::Ope_Address_CSS, operation.address_css);
  add(node, format::Ope_Command_CSS, "0x0B");
  add(node, format::Ope_Write_Internal_Data, "0");
  add(node, format::Ope_WID_Address, "0x78200");
  add(node, format::Ope_WID_Command, "0x0B");
  add(node, format::Ope_WID_Data, "");
  add(node, format::Ope_GoToApp_After, operation.go_to_app_after ? "1" : "0");
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
  pugi::xml_node root = document.append_child(format::Root);
  add(root, format::Version, format::Version_Value);
  add(root, format::Title, "Norvane - SW48230 Ethernet Update");
  add(root, format::IP_Address_Dev, address);
  add(root, format::Application_Port, format::Application_Port_Value);
  add(root, format::Boot_Port, format::Boot_Port_Value);
  add(root, format::Boot_Port_Sec, format::Boot_Port_Sec_Value);
  add(root, format::Address_Protection, format::Address_Protection_Value);
  add(root.append_child(format::Protections), format::Protection, format::Protection_Value);
  pugi::xml_node operations = root.append_child(format::Operations);
  // Only the last operation returns the device to its application; an
  // earlier one would leave the boot loader before the next write.
  if (choices.Firmware) {
    add_operation(operations, {path_to_utf8(master_dir / Ethernet_Firmware_Name), "0x8000", "1", choices.Read_Firm, "1",
                               "0x78100", !choices.Conf});
  }
  if (choices.Conf) {
    add_operation(operations, {path_to_utf8(Image_File_Path(project_dir, ImageKind::Bank2)), "0x60000", "2",
                               choices.Read_Conf, "0", "0x50100", true});
  }
  return serialize_xml(document);
}

std::optional<Failure> Compile_XML_Parameter(const std::filesystem::path& program_dir, std::string_view address,
                                      const UpdateChoices& choices, const std::filesystem::path& master_dir,
                                      const std::filesystem::path& project_dir) {
  return write_xml_file(Ethernet_Update_File(program_dir),
                        Ethernet_Update_Xml(address, choices, master_dir, project_dir));
}

}  // namespace sw48230

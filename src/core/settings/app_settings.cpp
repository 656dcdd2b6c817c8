#include "core/settings/app_settings.h"

#include <pugixml.hpp>

#include "core/common/atomic_file.h"
#include "core/common/xml_file.h"

namespace sw48230 {
namespace {

// Section and item element names, in the order of the file.
constexpr const char* Section_Project = "lastproj";
constexpr const char* Section_Ip = "lastipadd";
constexpr const char* Section_Language = "lastlang";
constexpr const char* Section_Flags = "lastinternet";

struct FlagItem {
  const char* name;
  bool AppSettings::*member;
};

// All four flags live in one section, including the two that have nothing to
// do with the internet; files in the field are laid out that way.
constexpr FlagItem Flag_Items[] = {
    {"enable_internet", &AppSettings::enable_internet},
    {"enable_update", &AppSettings::enable_update},
    {"enable_jump_field_tables", &AppSettings::enable_jump_field_tables},
    {"Double_Click_Auto_Size", &AppSettings::Double_Click_Auto_Size},
};

void read_text(pugi::xml_node root, const char* section, const char* item, std::string& value) {
  if (auto text = child_text(root.child(section), item)) value = std::move(*text);
}

}  // namespace

AppSettings Read_Settings(const std::filesystem::path& file) {
  AppSettings settings;
  const auto document = load_xml_file(file);
  if (!document) return settings;
  const pugi::xml_node root = root_element(*document);

  read_text(root, Section_Project, "projectname", settings.Project_Name);
  read_text(root, Section_Ip, "ipaddress", settings.Last_IP_Address);
  read_text(root, Section_Language, "language", settings.Language_Name);
  const pugi::xml_node flags = root.child(Section_Flags);
  for (const FlagItem& flag : Flag_Items) {
    // Only the exact text "1" is on; "true", " 1" or an empty text are off.
    settings.*flag.member = child_text(flags, flag.name) == "1";
  }
  return settings;
}

std::string Settings_Document(const AppSettings& settings) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("Conf_Settings");
  const auto add_item = [](pugi::xml_node section, const char* name, const std::string& text) {
    section.append_child(name).text().set(text.c_str());
  };
  add_item(root.append_child(Section_Project), "projectname", settings.Project_Name);
  add_item(root.append_child(Section_Ip), "ipaddress", settings.Last_IP_Address);
  add_item(root.append_child(Section_Language), "language", settings.Language_Name);
  pugi::xml_node flags = root.append_child(Section_Flags);
  for (const FlagItem& flag : Flag_Items) add_item(flags, flag.name, settings.*flag.member ? "1" : "0");
  return serialize_xml(document);
}

std::optional<Failure> Save_Setting(const std::filesystem::path& file, const AppSettings& settings) {
  return write_file_atomically(file, Settings_Document(settings));
}

}  // namespace sw48230

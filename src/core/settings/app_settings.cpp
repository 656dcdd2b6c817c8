#include "core/settings/app_settings.h"

#include <pugixml.hpp>

#include "core/common/xml_file.h"
#include "core/settings/settings_format.h"

namespace sw48230 {
namespace {

namespace format = settings_file;

struct FlagItem {
  const char* name;
  bool AppSettings::*member;
};

constexpr FlagItem Flag_Items[] = {
    {format::Enable_Internet_Item, &AppSettings::enable_internet},
    {format::Enable_Update_Item, &AppSettings::enable_update},
    {format::Enable_Jump_Field_Tables_Item, &AppSettings::enable_jump_field_tables},
    {format::Double_Click_Auto_Size_Item, &AppSettings::Double_Click_Auto_Size},
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

  read_text(root, format::Project_Section, format::Project_Item, settings.Project_Name);
  read_text(root, format::Ip_Section, format::Ip_Item, settings.Last_IP_Address);
  read_text(root, format::Language_Section, format::Language_Item, settings.Language_Name);
  const pugi::xml_node flags = root.child(format::Flags_Section);
  for (const FlagItem& flag : Flag_Items) {
    // Only the exact text "1" is on; "true", " 1" or an empty text are off.
    settings.*flag.member = child_text(flags, flag.name) == "1";
  }
  return settings;
}

std::string Settings_Document(const AppSettings& settings) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child(format::Root);
  const auto add_item = [](pugi::xml_node section, const char* name, const std::string& text) {
    section.append_child(name).text().set(text.c_str());
  };
  add_item(root.append_child(format::Project_Section), format::Project_Item, settings.Project_Name);
  add_item(root.append_child(format::Ip_Section), format::Ip_Item, settings.Last_IP_Address);
  add_item(root.append_child(format::Language_Section), format::Language_Item, settings.Language_Name);
  pugi::xml_node flags = root.append_child(format::Flags_Section);
  for (const FlagItem& flag : Flag_Items) add_item(flags, flag.name, settings.*flag.member ? "1" : "0");
  return serialize_xml(document);
}

std::optional<Failure> Save_Setting(const std::filesystem::path& file, const AppSettings& settings) {
  return write_xml_file(file, Settings_Document(settings));
}

}  // namespace sw48230

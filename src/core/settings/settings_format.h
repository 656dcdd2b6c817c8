#pragma once

// Velstrom.xml, what the program remembers between runs: under the root, one
// section element per group, each holding its items as elements with text.
// A missing or unreadable item keeps AppSettings' default; a flag is on only
// for the exact text "1".

namespace sw48230::settings_file {

inline constexpr const char* File_Name = "Velstrom.xml";
inline constexpr const char* Root = "Conf_Settings";

// Sections and their items, in the order of the file.
inline constexpr const char* Project_Section = "lastproj";
inline constexpr const char* Project_Item = "projectname";
inline constexpr const char* Ip_Section = "lastipadd";
inline constexpr const char* Ip_Item = "ipaddress";
inline constexpr const char* Language_Section = "lastlang";
inline constexpr const char* Language_Item = "language";
// All four flags live in one section, including the two that have nothing to
// do with the internet; files in the field are laid out that way.
inline constexpr const char* Flags_Section = "lastinternet";
inline constexpr const char* Enable_Internet_Item = "enable_internet";
inline constexpr const char* Enable_Update_Item = "enable_update";
inline constexpr const char* Enable_Jump_Field_Tables_Item = "enable_jump_field_tables";
inline constexpr const char* Double_Click_Auto_Size_Item = "Double_Click_Auto_Size";

}  // namespace sw48230::settings_file

#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/common/failure.h"

#include "core/settings/settings_format.h"

namespace sw48230 {

// What the program remembers between runs, kept in Velstrom.xml in the
// program directory.
struct AppSettings {
  std::string Project_Name;
  std::string Last_IP_Address = "192.168.2.205";
  std::string Language_Name = "English";
  bool enable_internet = false;
  bool enable_update = false;
  bool enable_jump_field_tables = false;
  bool Double_Click_Auto_Size = false;

  bool operator==(const AppSettings&) const = default;
};

inline constexpr const char* Settings_File_Name = settings_file::File_Name;

// Reads the settings file; every item that cannot be read keeps its default,
// independently of the others. A file that is missing, unreadable or not
// well-formed gives all defaults.
AppSettings Read_Settings(const std::filesystem::path& file);

// The file's content as written: the whole tree, always.
std::string Settings_Document(const AppSettings& settings);

// Writes the file whole (atomically).
std::optional<Failure> Save_Setting(const std::filesystem::path& file, const AppSettings& settings);

}  // namespace sw48230

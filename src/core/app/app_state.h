#pragma once

#include <filesystem>
#include <string>

#include "core/settings/app_settings.h"
#include "core/tables/row_editing.h"

namespace sw48230 {

class MessageTable;

// The process-wide application state, owned by the main window. The items
// remembered between runs are part of it, so it is saved as it stands.
struct AppState : AppSettings {
  std::filesystem::path Program_Dir;
  std::filesystem::path Master_Dir;
  std::filesystem::path Projects_Dir;
  std::filesystem::path Language_Dir;

  // Empty while no project is open.
  std::filesystem::path Project_Dir;

  // The last row copied on either request table.
  RowCopyBuffer Row_Copy_Buffer;

  bool project_open() const { return !Project_Dir.empty(); }
  std::filesystem::path settings_file() const { return Program_Dir / Settings_File_Name; }
};

// Derives the program's folders from Program_Dir and creates each missing
// one (one level); a folder that cannot be created is not reported.
void Set_Directories(AppState& state, const std::filesystem::path& program_dir);

// The start-up steps that need no window: folders, settings file, language,
// and the last project, re-opened only when its name is a valid project name
// and its folder still exists (the name is kept either way, so it is stored
// again at exit). Returns whether a project is open.
bool Start_Up(AppState& state, MessageTable& messages, const std::filesystem::path& program_dir);

// Makes `name` the active project as the open dialog's OK does; an empty name
// leaves no project open.
void Open_Project(AppState& state, const std::string& name);

// Makes a just-created project the active one.
void Activate_Project(AppState& state, const std::string& name, const std::filesystem::path& project_dir);

// The automatic update check runs only when both flags allow it.
inline bool Update_Timer_Enabled(const AppSettings& settings) {
  return settings.enable_internet && settings.enable_update;
}

}  // namespace sw48230

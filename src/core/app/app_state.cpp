#include "core/app/app_state.h"

#include <system_error>

#include "core/app/program_dir.h"
#include "core/common/paths.h"
#include "core/i18n/message_table.h"
#include "core/project/project_store.h"

namespace sw48230 {

void Set_Directories(AppState& state, const std::filesystem::path& program_dir) {
  state.Program_Dir = program_dir;
  state.Master_Dir = program_dir / Master_Folder_Name;
  state.Projects_Dir = program_dir / Projects_Folder_Name;
  state.Language_Dir = program_dir / Language_Folder_Name;
  for (const auto* dir : {&state.Master_Dir, &state.Projects_Dir, &state.Language_Dir}) {
    std::error_code ignored;
    std::filesystem::create_directory(*dir, ignored);
  }
}

bool Start_Up(AppState& state, MessageTable& messages, const std::filesystem::path& program_dir) {
  Set_Directories(state, program_dir);
  static_cast<AppSettings&>(state) = Read_Settings(state.settings_file());
  Load_Language(messages, state.Language_Dir, state.Language_Name);

  // The name comes from a file the user can edit: one that could lead
  // outside Projects_Dir (absolute, with a separator, "." or "..") or that
  // no project could have been created with opens nothing.
  state.Project_Dir.clear();
  if (Is_Portable_Project_Name(state.Project_Name)) {
    const std::filesystem::path dir = state.Projects_Dir / path_from_utf8(state.Project_Name);
    std::error_code error;
    if (std::filesystem::is_directory(dir, error)) state.Project_Dir = dir;
  }
  return state.project_open();
}

void Open_Project(AppState& state, const std::string& name) {
  state.Project_Name = name;
  state.Project_Dir = name.empty() ? std::filesystem::path() : state.Projects_Dir / path_from_utf8(name);
}

void Activate_Project(AppState& state, const std::string& name, const std::filesystem::path& project_dir) {
  state.Project_Name = name;
  state.Project_Dir = project_dir;
}

}  // namespace sw48230

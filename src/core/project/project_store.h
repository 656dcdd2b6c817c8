#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/failure.h"

namespace sw48230 {

// Message indexes of the create dialog's refusals.
inline constexpr int Msg_Name_Not_Valid = 30;
inline constexpr int Msg_Name_Exists = 31;
inline constexpr int Msg_Name_Empty = 32;

// True when `name` can name a project folder on every system the program
// runs on: no path separator, no character Windows refuses in file names,
// no leading dot (which also rules out "." and ".."; dot-names are hidden from
// the open dialog), no trailing dot or blank, no reserved device name. The
// name then also cannot lead outside the projects folder.
bool Is_Portable_Project_Name(std::string_view name);

// Creates Projects_Dir/name and its "bin" folder, and gives the new project's
// folder. Refuses, with the failure's text, in this order: an
// empty name (32), a name that is not portable (30), a name that an existing
// entry has already, ignoring letter case (31). A Projects_Dir that vanished
// is created again (one level). When Projects_Dir or the project's folder
// cannot be created, the refusal is Msg_Folder_Not_Created heading the folder
// and the system's reason (Headed_Failure): the name is not at fault then. A "bin"
// folder that cannot be created is not a refusal.
Result<std::filesystem::path> Create_Project(const std::filesystem::path& Projects_Dir, const std::string& name);

// The project names under Projects_Dir: every sub-folder that is not hidden
// (dot-names; on Windows also the hidden and system attributes), sorted
// ignoring case so the list reads the same on every file system.
std::vector<std::string> List_Projects(const std::filesystem::path& Projects_Dir);

// The entry to preselect in the open dialog: the first that equals the active
// project's name ignoring ASCII case, else the first entry; nothing for an
// empty list.
std::optional<std::size_t> Preselect_Project(const std::vector<std::string>& projects, std::string_view active);

}  // namespace sw48230

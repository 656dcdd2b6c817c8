#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/common/failure.h"

namespace sw48230 {

enum class Platform { Posix, Windows };

#ifdef _WIN32
inline constexpr Platform This_Platform = Platform::Windows;
#else
inline constexpr Platform This_Platform = Platform::Posix;
#endif

// What start-up has found out before it picks the program directory. The
// environment values are the texts of the variables, empty when unset.
// The folders of a program folder.
inline constexpr const char* Master_Folder_Name = "MASTER";
inline constexpr const char* Projects_Folder_Name = "PROJECTS";
inline constexpr const char* Language_Folder_Name = "LANGUAGE";

// Where an installed program keeps its shipped languages, from the folder of
// its executable: share/sw48230/LANGUAGE beside bin/.
std::filesystem::path Installed_Language_Dir(const std::filesystem::path& executable_dir);

struct ProgramDirFacts {
  std::filesystem::path given;  // --program-dir, made absolute; empty when not given
  std::filesystem::path executable_dir;
  bool executable_dir_writable = false;
  // A PROJECTS folder or a Velstrom.xml next to the program: a portable copy.
  bool executable_dir_holds_data = false;
  // <executable_dir>/../share/sw48230/LANGUAGE exists: an installed program.
  bool installed_languages_present = false;
  std::string xdg_data_home;
  std::string home;
  std::string local_app_data;  // Windows
  std::string user_profile;    // Windows
};

enum class ProgramDirKind {
  Given,       // --program-dir
  Executable,  // the program's own folder
  PerUser,     // the user's data folder
};

struct ProgramDirChoice {
  ProgramDirKind kind = ProgramDirKind::Executable;
  std::filesystem::path dir;
  // Where the languages that ship with the program are.
  std::filesystem::path shipped_languages;
};

// The program directory for these facts: the given one; else the program's
// folder when it is writable and already holds a portable copy's data; else
// the per-user data folder (XDG_DATA_HOME or ~/.local/share, or the local
// application data folder on Windows) + "SW48230". Without any usable
// per-user folder the program's own folder is used, as before.
ProgramDirChoice Choose_Program_Dir(const ProgramDirFacts& facts, Platform platform = This_Platform);

// What a refresh of the shipped languages did not do as asked. Nothing of it
// stops the program: it starts with the languages it can read.
struct LanguageRefresh {
  // The user's own or changed files that carry a shipped name, sorted.
  std::vector<std::string> kept;
  // Files that could not be read (a folder, a FIFO or a device in place of a
  // file, a file over Language_File_Limit, no permission), left as they are.
  std::vector<Failure> skipped;
  // Files that could not be written; the old one is still in place.
  std::vector<Failure> not_written;
};

// Creates the chosen folder with its parents and fills its LANGUAGE folder
// with the shipped languages (see Refresh_Shipped_Languages): the per-user
// folder is refreshed at every start, as it is the program's own; a given or
// portable folder only while its LANGUAGE folder holds no language the
// options could offer, so that a folder the user keeps is never changed
// behind them. Folders that cannot be created are not reported, as for the
// other start-up folders.
LanguageRefresh Prepare_Program_Dir(const ProgramDirChoice& choice);

// Name of the list, kept in the LANGUAGE folder, of the shipped files last
// copied there with a fingerprint of their content.
inline constexpr const char* Shipped_Manifest_Name = ".shipped";

// Copies every language file and flag of `shipped` into `language_dir` when
// the file there is missing or is still exactly what was shipped last time;
// a file the user changed, or one of their own that happens to have a
// shipped name, is kept. Every file is read whole only when it is a regular
// file within Language_File_Limit; anything else is skipped, never waited
// for. Nothing happens when both name the same folder. A missing `shipped`
// folder ships nothing.
LanguageRefresh Refresh_Shipped_Languages(const std::filesystem::path& shipped,
                                          const std::filesystem::path& language_dir);

}  // namespace sw48230

#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sw48230 {

enum class Platform { Posix, Windows };

#ifdef _WIN32
inline constexpr Platform This_Platform = Platform::Windows;
#else
inline constexpr Platform This_Platform = Platform::Posix;
#endif

// What start-up has found out before it picks the program directory. The
// environment values are the texts of the variables, empty when unset.
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
  // Where the languages that ship with the program are; set for PerUser only,
  // the one kind whose LANGUAGE folder the program fills itself.
  std::filesystem::path shipped_languages;
};

// The program directory for these facts: the given one; else the program's
// folder when it is writable and already holds a portable copy's data; else
// the per-user data folder (XDG_DATA_HOME or ~/.local/share, or the local
// application data folder on Windows) + "SW48230". Without any usable
// per-user folder the program's own folder is used, as before.
ProgramDirChoice Choose_Program_Dir(const ProgramDirFacts& facts, Platform platform = This_Platform);

// Creates the chosen folder with its parents and, for a per-user folder,
// brings its LANGUAGE folder up to date with the shipped languages (see
// Refresh_Shipped_Languages). Failures are silent, as for the other
// start-up folders.
void Prepare_Program_Dir(const ProgramDirChoice& choice);

// Name of the list, kept in the LANGUAGE folder, of the shipped files last
// copied there with a fingerprint of their content.
inline constexpr const char* Shipped_Manifest_Name = ".shipped";

// Copies every file of `shipped` into `language_dir` when the file there is
// missing or is still exactly what was shipped last time; a file the user
// changed, or one of their own that happens to have a shipped name, is kept.
// Gives the names of the files kept that way, so that the caller can say so.
std::vector<std::string> Refresh_Shipped_Languages(const std::filesystem::path& shipped,
                                                   const std::filesystem::path& language_dir);

}  // namespace sw48230

#include "core/app/program_dir.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/common/atomic_file.h"
#include "core/common/file_read.h"
#include "core/common/paths.h"
#include "core/common/product.h"
#include "core/i18n/language_list.h"

namespace sw48230 {

namespace {

bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_separator(char c, Platform platform) { return c == '/' || (platform == Platform::Windows && c == '\\'); }

// Judged on the text, so that the Windows rules can be checked on any system.
// A relative value is ignored, as the XDG base directory rules ask.
bool is_absolute(std::string_view text, Platform platform) {
  if (platform == Platform::Posix) return !text.empty() && text.front() == '/';
  if (text.size() >= 3 && is_ascii_letter(text[0]) && text[1] == ':' && is_separator(text[2], platform)) return true;
  return text.size() >= 2 && is_separator(text[0], platform) && is_separator(text[1], platform);
}

std::filesystem::path per_user_base(const ProgramDirFacts& facts, Platform platform) {
  if (platform == Platform::Windows) {
    if (is_absolute(facts.local_app_data, platform)) return path_from_utf8(facts.local_app_data);
    if (is_absolute(facts.user_profile, platform)) {
      return path_from_utf8(facts.user_profile) / "AppData" / "Local";
    }
    return {};
  }
  if (is_absolute(facts.xdg_data_home, platform)) return path_from_utf8(facts.xdg_data_home);
  if (is_absolute(facts.home, platform)) return path_from_utf8(facts.home) / ".local" / "share";
  return {};
}

// The content of a file that may be missing, none when it is; one that is
// there but cannot be read fails.
Result<std::optional<std::string>> read_unless_missing(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::status(file, error).type() == std::filesystem::file_type::not_found) {
    return std::optional<std::string>();
  }
  Result<std::string> bytes = read_regular_file(file, Language_File_Limit);
  if (!bytes) return bytes.failure();
  return std::optional<std::string>(std::move(*bytes));
}

Failure unreadable_folder(const std::filesystem::path& folder, const std::error_code& error) {
  return File_Unreadable(path_to_utf8(folder), error.message());
}

// FNV-1a: enough to tell whether a small file changed, with no dependency.
std::string fingerprint(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// Language files and their flags; anything else in the folder (a manifest,
// an editor's backup) is not the program's to hand out.
bool is_shipped_kind(const std::filesystem::path& file) {
  const std::filesystem::path extension = file.extension();
  return extension == ".lng" || extension == ".bmp";
}

using Manifest = std::map<std::string, std::string>;  // file name -> fingerprint

// One line per file: the fingerprint, two blanks, the UTF-8 file name.
Manifest parse_manifest(std::string_view text) {
  Manifest manifest;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t gap = line.find("  ");
    if (gap == std::string_view::npos || gap == 0 || gap + 2 >= line.size()) continue;
    manifest[std::string(line.substr(gap + 2))] = std::string(line.substr(0, gap));
  }
  return manifest;
}

std::string format_manifest(const Manifest& manifest) {
  std::string text;
  for (const auto& [name, print] : manifest) text += print + "  " + name + "\n";
  return text;
}

}  // namespace

std::filesystem::path Installed_Language_Dir(const std::filesystem::path& executable_dir) {
  return (executable_dir.parent_path() / "share" / "sw48230" / Language_Folder_Name).lexically_normal();
}

ProgramDirChoice Choose_Program_Dir(const ProgramDirFacts& facts, Platform platform) {
  // An installed program keeps its languages under share/; a program run
  // from its build folder or unpacked on Windows has them beside it.
  const std::filesystem::path shipped = facts.installed_languages_present ? Installed_Language_Dir(facts.executable_dir)
                                                                          : facts.executable_dir / Language_Folder_Name;
  if (!facts.given.empty()) return {ProgramDirKind::Given, facts.given, shipped};
  if (facts.executable_dir_writable && facts.executable_dir_holds_data) {
    return {ProgramDirKind::Executable, facts.executable_dir, shipped};
  }
  const std::filesystem::path base = per_user_base(facts, platform);
  if (base.empty()) return {ProgramDirKind::Executable, facts.executable_dir, shipped};
  return {ProgramDirKind::PerUser, base / SW_Code, shipped};
}

LanguageRefresh Prepare_Program_Dir(const ProgramDirChoice& choice) {
  std::error_code ignored;
  std::filesystem::create_directories(choice.dir, ignored);
  if (choice.shipped_languages.empty()) return {};
  const std::filesystem::path language_dir = choice.dir / Language_Folder_Name;
  // A portable copy's LANGUAGE folder may be the shipped folder itself, and
  // a translator's folder is theirs: only an empty Language page is filled.
  if (choice.kind != ProgramDirKind::PerUser && !List_Language_Files(language_dir).empty()) return {};
  std::filesystem::create_directory(language_dir, ignored);
  return Refresh_Shipped_Languages(choice.shipped_languages, language_dir);
}

LanguageRefresh Refresh_Shipped_Languages(const std::filesystem::path& shipped,
                                          const std::filesystem::path& language_dir) {
  LanguageRefresh report;
  if (Same_Folder(shipped, language_dir)) return report;
  std::error_code error;
  std::filesystem::directory_iterator files(shipped, error);
  if (error) {
    if (error != std::errc::no_such_file_or_directory) report.skipped.push_back(unreadable_folder(shipped, error));
    return report;
  }

  const std::filesystem::path manifest_file = language_dir / Shipped_Manifest_Name;
  const Result<std::optional<std::string>> manifest_text = read_unless_missing(manifest_file);
  if (!manifest_text) report.skipped.push_back(manifest_text.failure());
  const Manifest old_manifest = parse_manifest(manifest_text ? manifest_text->value_or("") : "");
  Manifest manifest = old_manifest;

  for (const std::filesystem::directory_iterator end; !error && files != end; files.increment(error)) {
    const std::filesystem::path source = files->path();
    if (!is_shipped_kind(source)) continue;
    const Result<std::string> bytes = read_regular_file(source, Language_File_Limit);
    if (!bytes) {
      report.skipped.push_back(bytes.failure());
      continue;
    }
    const std::string name = path_to_utf8(source.filename());
    const std::filesystem::path target = language_dir / source.filename();
    const std::string shipped_print = fingerprint(*bytes);

    const Result<std::optional<std::string>> target_text = read_unless_missing(target);
    if (!target_text) {  // it may be the user's: left alone
      report.skipped.push_back(target_text.failure());
      continue;
    }
    if (const std::optional<std::string>& current = *target_text) {
      if (*current == *bytes) {
        manifest[name] = shipped_print;
        continue;
      }
      const auto last = old_manifest.find(name);
      const bool unchanged_since_shipped = last != old_manifest.end() && last->second == fingerprint(*current);
      if (!unchanged_since_shipped) {  // the user's own or changed file
        report.kept.push_back(name);
        continue;
      }
    }
    if (auto failure = write_file_atomically(target, *bytes)) {
      report.not_written.push_back(std::move(*failure));
    } else {
      manifest[name] = shipped_print;
    }
  }
  if (error) report.skipped.push_back(unreadable_folder(shipped, error));

  if (manifest != old_manifest) {
    if (auto failure = write_file_atomically(manifest_file, format_manifest(manifest))) {
      report.not_written.push_back(std::move(*failure));
    }
  }
  std::sort(report.kept.begin(), report.kept.end());
  const auto by_file = [](const Failure& a, const Failure& b) { return a.file < b.file; };
  std::sort(report.skipped.begin(), report.skipped.end(), by_file);
  std::sort(report.not_written.begin(), report.not_written.end(), by_file);
  return report;
}

}  // namespace sw48230

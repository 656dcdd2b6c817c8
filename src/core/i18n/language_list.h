#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw48230 {

class MessageTable;

// The language files that the options screen offers: their file names with
// the extension, sorted ignoring the case of ASCII letters. On Windows a
// file is listed when it matches "*.lng" and carries no attribute beyond
// hidden, system, archive, normal, sparse and not-content-indexed; elsewhere
// when it is a regular file ending in ".lng" that the user can read.
std::vector<std::string> List_Language_Files(const std::filesystem::path& Language_Dir);

// The attribute half of the Windows rule, for the attribute bits of one entry.
bool Windows_Attributes_Listed(std::uint32_t attributes);

// The language a listed file holds: its name without the last four characters.
std::string Language_Of(std::string_view file_name);

// The flag shown beside a language: its own bitmap, else the default flag,
// else none.
std::optional<std::filesystem::path> Flag_Bitmap(const std::filesystem::path& Language_Dir, std::string_view language);

// Six languages per page, in two columns of three.
inline constexpr int Languages_Per_Page = 6;

struct LanguagePage {
  int page = 1;        // counting from 1
  int page_count = 1;  // at least 1: without languages one empty page is shown
  int first = 0;       // list position of the first slot's language
  int shown = 0;       // slots in use, 0 to 6
  bool prev_visible = false;
  bool next_visible = false;
};

// Page `page` (clamped to the pages that exist) of a list of `count` languages.
LanguagePage Language_Page(int count, int page);

// Loads `language` into the table as Load_Language does, but leaves the name
// of the language in use alone: the options screen commits it only on OK.
void Preview_Language(MessageTable& table, const std::filesystem::path& Language_Dir, std::string language);

}  // namespace sw48230

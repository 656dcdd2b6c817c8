#include "core/i18n/language_list.h"

#include <algorithm>
#include <system_error>

#include "core/common/file_read.h"
#include "core/common/paths.h"
#include "core/common/text.h"
#include "core/i18n/message_table.h"

#ifdef _WIN32
#include "core/common/windows_api.h"
#endif

namespace sw48230 {
namespace {

constexpr std::string_view Lng_Extension = ".lng";

bool is_listed(const std::filesystem::directory_entry& entry, const std::string& name) {
  if (name.size() < Lng_Extension.size()) return false;
  const std::string_view extension = std::string_view(name).substr(name.size() - Lng_Extension.size());
#ifdef _WIN32
  if (!equals_ignoring_ascii_case(extension, Lng_Extension)) return false;
  const DWORD attributes = GetFileAttributesW(entry.path().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && Windows_Attributes_Listed(attributes);
#else
  // The file system tells names apart by case, so only a file that
  // Load_Language can find by "<name>.lng" is offered.
  if (extension != Lng_Extension) return false;
  return can_read_regular_file(entry.path());
#endif
}

}  // namespace

bool Windows_Attributes_Listed(std::uint32_t attributes) {
  constexpr std::uint32_t hidden = 0x2, system = 0x4, archive = 0x20, normal = 0x80, sparse = 0x200,
                          not_content_indexed = 0x2000;
  constexpr std::uint32_t allowed = hidden | system | archive | normal | sparse | not_content_indexed;
  return (attributes & ~allowed) == 0;
}

std::vector<std::string> List_Language_Files(const std::filesystem::path& Language_Dir) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(Language_Dir, error), end; !error && it != end; it.increment(error)) {
    std::string name = path_to_utf8(it->path().filename());
    if (is_listed(*it, name)) names.push_back(std::move(name));
  }
  // Names that differ only in case (possible outside Windows) keep a fixed order.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    if (less_ignoring_ascii_case(a, b)) return true;
    if (less_ignoring_ascii_case(b, a)) return false;
    return a < b;
  });
  return names;
}

std::string Language_Of(std::string_view file_name) {
  return std::string(file_name.substr(0, file_name.size() - std::min<std::size_t>(file_name.size(), 4)));
}

std::optional<std::filesystem::path> Flag_Bitmap(const std::filesystem::path& Language_Dir, std::string_view language) {
  // Joined as text: the name is part of a file name, as in Load_Language.
  std::filesystem::path own = Language_Dir / "";
  own += path_from_utf8(std::string(language) + ".bmp");
  for (const std::filesystem::path& candidate : {own, Language_Dir / "DefaultFlag.bmp"}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return std::nullopt;
}

LanguagePage Language_Page(int count, int page) {
  LanguagePage result;
  result.page_count = std::max(1, (std::max(count, 0) + Languages_Per_Page - 1) / Languages_Per_Page);
  result.page = std::clamp(page, 1, result.page_count);
  result.first = (result.page - 1) * Languages_Per_Page;
  result.shown = std::clamp(count - result.first, 0, Languages_Per_Page);
  result.prev_visible = result.page > 1;
  result.next_visible = result.page < result.page_count;
  return result;
}

void Preview_Language(MessageTable& table, const std::filesystem::path& Language_Dir, std::string language) {
  Load_Language(table, Language_Dir, language);
}

}  // namespace sw48230

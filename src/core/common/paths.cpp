#include "core/common/paths.h"

#include <system_error>

namespace sw48230 {

std::filesystem::path path_from_utf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string path_to_utf8(const std::filesystem::path& path) {
  std::filesystem::path native = path;
  native.make_preferred();  // changes nothing where "/" is the only separator
  const std::u8string text = native.u8string();
  return std::string(text.begin(), text.end());
}

bool Same_Folder(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (a.empty() || b.empty()) return false;
  if ((a / "").lexically_normal() == (b / "").lexically_normal()) return true;
  std::error_code not_compared;
  return std::filesystem::equivalent(a, b, not_compared);
}

}  // namespace sw48230

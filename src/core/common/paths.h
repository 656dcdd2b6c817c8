#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sw48230 {

// Texts in the core are UTF-8. These convert between such a text and a path
// without going through the narrow code page, which is not UTF-8 on Windows.
std::filesystem::path path_from_utf8(std::string_view text);
std::string path_to_utf8(const std::filesystem::path& path);

}  // namespace sw48230

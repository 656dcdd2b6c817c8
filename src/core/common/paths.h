#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sw48230 {

// Texts in the core are UTF-8. These convert between such a text and a path
// without going through the narrow code page, which is not UTF-8 on Windows.
std::filesystem::path path_from_utf8(std::string_view text);
std::string path_to_utf8(const std::filesystem::path& path);

// Compares two texts ignoring the case of the ASCII letters only.
bool equals_ignoring_ascii_case(std::string_view a, std::string_view b);
bool less_ignoring_ascii_case(std::string_view a, std::string_view b);

}  // namespace sw48230

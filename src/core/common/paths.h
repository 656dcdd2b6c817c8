#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sw48230 {

// Texts in the core are UTF-8. These convert between such a text and a path
// without going through the narrow code page, which is not UTF-8 on Windows.
// A path becomes text with the system's own separators: on Windows a folder
// given as "C:/Users/a" and a file joined to it read "C:\Users\a\var.xml",
// never a mix of both, wherever the user sees it.
std::filesystem::path path_from_utf8(std::string_view text);
std::string path_to_utf8(const std::filesystem::path& path);

// Whether two paths name the same folder, however they are spelled: "."
// parts and a trailing separator are judged on the text first, since
// equivalent() cannot compare folders on every system (MinGW's fails on
// them); then a link or another spelling of the system's.
// False when either is empty.
bool Same_Folder(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace sw48230

#pragma once

#include <string>
#include <string_view>

namespace sw48230 {

// Removes leading and trailing characters up to U+0020 (blanks, tabs and
// other control characters), as every trimmed comparison of the program does.
std::string_view trim_blanks(std::string_view text);

// Upper-cases the ASCII letters only; other characters stay as they are.
std::string to_upper_ascii(std::string_view text);

// Compares two texts ignoring the case of the ASCII letters only.
bool equals_ignoring_ascii_case(std::string_view a, std::string_view b);
bool less_ignoring_ascii_case(std::string_view a, std::string_view b);

}  // namespace sw48230

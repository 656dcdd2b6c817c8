#pragma once

// The characters an XML 1.0 document can hold: tab, line feed, carriage
// return and everything from U+0020 up, except the surrogates, U+FFFE and
// U+FFFF. Any other may not stand in a document even as a character
// reference such as "&#27;". pugixml writes control characters as such
// references and passes bytes that are not UTF-8 on unchanged, and reads
// both back, so only a check of its own keeps them out of the files; other
// XML tools refuse those files.

#include <optional>
#include <string>
#include <string_view>

namespace sw48230 {

bool Is_Xml_Character(char32_t code_point);

// The first character of UTF-8 `text` that XML 1.0 cannot hold, named for a
// user: "U+001B", or "0xB0" for a byte that is not part of well-formed
// UTF-8. Nothing when the whole text can be held.
std::optional<std::string> Find_Non_Xml_Character(std::string_view text);

// The same for a serialised document, where a character reference counts as
// the character it stands for.
std::optional<std::string> Find_Non_Xml_Content(std::string_view document);

}  // namespace sw48230

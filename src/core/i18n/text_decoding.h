#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sw48230 {

// Decodes the whole content of a text file. A byte-order mark selects UTF-8
// (EF BB BF), UTF-16 LE (FF FE) or UTF-16 BE (FE FF) and is not part of the
// result; without one the bytes are Windows-1252, the code page in which
// language files were written before Unicode ones existed.
std::u32string decode_text_file(std::string_view bytes);

// Each malformed sequence becomes one U+FFFD, so a damaged byte costs one
// character and never the rest of the line.
std::u32string decode_utf8(std::string_view bytes);

// Unpaired surrogates and an odd trailing byte become U+FFFD.
std::u32string decode_utf16(std::string_view bytes, bool big_endian);

// Total: every byte has a code point. The five bytes Windows-1252 leaves
// undefined (81 8D 8F 90 9D) map to the C1 controls of the same value, as
// Windows itself converts them.
std::u32string decode_windows1252(std::string_view bytes);

// Code points that are surrogates or beyond U+10FFFF are written as U+FFFD.
void append_utf8(std::string& out, char32_t code_point);
std::string encode_utf8(std::u32string_view text);

}  // namespace sw48230

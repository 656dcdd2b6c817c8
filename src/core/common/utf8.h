#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace sw48230 {

// The code point of the UTF-8 sequence that starts at `pos`, moving `pos`
// past it. Nothing for a malformed sequence (overlong, a surrogate, beyond
// U+10FFFF, cut short); `pos` then moves past the bytes that began it, so the
// byte that broke it starts the next step and a decoder that replaces each
// malformed sequence by one character loses none after it.
std::optional<char32_t> next_utf8(std::string_view bytes, std::size_t& pos);

}  // namespace sw48230

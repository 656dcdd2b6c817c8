#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sw48230 {

// The one rule by which every text typed by a user, read from a file or
// compiled into the image becomes a number:
//   leading blanks (' ' only) are skipped, an optional '+' or '-' follows,
//   then a hexadecimal number introduced by "$", "x", "X", "0x" or "0X", or a
//   decimal number; nothing may follow the digits.
// A decimal value must fit the signed range of the width. A hexadecimal value
// must fit the width's bits and is read as two's complement ("$FFFFFFFF" is
// -1 in 32 bits); a sign before it negates that value with wrap-around.
std::optional<std::int32_t> parse_int32(std::string_view text);
std::optional<std::int64_t> parse_int64(std::string_view text);

// The same, with the value the caller names for an invalid text.
std::int32_t to_int32(std::string_view text, std::int32_t fallback);
std::int64_t to_int64(std::string_view text, std::int64_t fallback);

}  // namespace sw48230

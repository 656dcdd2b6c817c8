#include "core/common/number_text.h"

#include <limits>

namespace sw48230 {
namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Works in unsigned arithmetic of the target width so that every overflow is
// detected before it happens and the two's-complement reading is well defined.
template <typename Signed>
std::optional<Signed> parse(std::string_view text) {
  using Unsigned = std::make_unsigned_t<Signed>;
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;

  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }

  bool hex = false;
  if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
    hex = true;
    pos += 1;
  } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    hex = true;
    pos += 2;
  }

  if (pos >= text.size()) return std::nullopt;

  Unsigned value = 0;
  if (hex) {
    constexpr Unsigned max_before_shift = std::numeric_limits<Unsigned>::max() >> 4;
    for (; pos < text.size(); ++pos) {
      const int digit = hex_digit(text[pos]);
      if (digit < 0 || value > max_before_shift) return std::nullopt;
      value = static_cast<Unsigned>((value << 4) | static_cast<Unsigned>(digit));
    }
    if (negative) value = static_cast<Unsigned>(Unsigned{0} - value);
    return static_cast<Signed>(value);
  }

  // The magnitude may reach |min| for a negative number, max otherwise.
  const Unsigned limit = negative ? static_cast<Unsigned>(std::numeric_limits<Signed>::max()) + 1u
                                  : static_cast<Unsigned>(std::numeric_limits<Signed>::max());
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<Unsigned>(c - '0');
    if (value > (limit - digit) / 10u) return std::nullopt;
    value = static_cast<Unsigned>(value * 10u + digit);
  }
  if (negative) value = static_cast<Unsigned>(Unsigned{0} - value);
  return static_cast<Signed>(value);
}

}  // namespace

std::optional<std::int32_t> parse_int32(std::string_view text) { return parse<std::int32_t>(text); }
std::optional<std::int64_t> parse_int64(std::string_view text) { return parse<std::int64_t>(text); }

std::int32_t to_int32(std::string_view text, std::int32_t fallback) { return parse_int32(text).value_or(fallback); }

std::int64_t to_int64(std::string_view text, std::int64_t fallback) { return parse_int64(text).value_or(fallback); }

}  // namespace sw48230

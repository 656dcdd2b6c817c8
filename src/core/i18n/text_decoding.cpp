#include "core/i18n/text_decoding.h"

#include <array>
#include <cstdint>
#include <initializer_list>

#include "core/common/utf8.h"

namespace sw48230 {
namespace {

constexpr char32_t Replacement = U'\uFFFD';

std::uint8_t byte_at(std::string_view bytes, std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); }

bool starts_with_bytes(std::string_view bytes, std::initializer_list<std::uint8_t> prefix) {
  if (bytes.size() < prefix.size()) return false;
  std::size_t i = 0;
  for (const std::uint8_t b : prefix) {
    if (byte_at(bytes, i++) != b) return false;
  }
  return true;
}

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> Windows1252_High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

std::u32string decode_text_file(std::string_view bytes) {
  if (starts_with_bytes(bytes, {0xEF, 0xBB, 0xBF})) return decode_utf8(bytes.substr(3));
  if (starts_with_bytes(bytes, {0xFF, 0xFE})) return decode_utf16(bytes.substr(2), false);
  if (starts_with_bytes(bytes, {0xFE, 0xFF})) return decode_utf16(bytes.substr(2), true);
  return decode_windows1252(bytes);
}

std::u32string decode_utf8(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) out.push_back(next_utf8(bytes, i).value_or(Replacement));
  return out;
}

std::u32string decode_utf16(std::string_view bytes, bool big_endian) {
  const auto unit_at = [&](std::size_t i) -> char32_t {
    const std::uint8_t first = byte_at(bytes, i);
    const std::uint8_t second = byte_at(bytes, i + 1);
    return big_endian ? static_cast<char32_t>((first << 8) | second) : static_cast<char32_t>((second << 8) | first);
  };

  std::u32string out;
  out.reserve(bytes.size() / 2 + 1);
  std::size_t i = 0;
  while (i + 1 < bytes.size()) {
    const char32_t unit = unit_at(i);
    i += 2;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 < bytes.size()) {
        const char32_t low = unit_at(i);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          out.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
          i += 2;
          continue;
        }
      }
      out.push_back(Replacement);  // the unit that follows is read on its own
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      out.push_back(Replacement);
    } else {
      out.push_back(unit);
    }
  }
  if (i < bytes.size()) out.push_back(Replacement);
  return out;
}

std::u32string decode_windows1252(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint8_t b = byte_at(bytes, i);
    out.push_back(b >= 0x80 && b <= 0x9F ? static_cast<char32_t>(Windows1252_High[b - 0x80]) : char32_t{b});
  }
  return out;
}

void append_utf8(std::string& out, char32_t code_point) {
  if (code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF)) code_point = Replacement;
  const auto put = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
  if (code_point < 0x80) {
    put(code_point);
  } else if (code_point < 0x800) {
    put(0xC0 | (code_point >> 6));
    put(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    put(0xE0 | (code_point >> 12));
    put(0x80 | ((code_point >> 6) & 0x3F));
    put(0x80 | (code_point & 0x3F));
  } else {
    put(0xF0 | (code_point >> 18));
    put(0x80 | ((code_point >> 12) & 0x3F));
    put(0x80 | ((code_point >> 6) & 0x3F));
    put(0x80 | (code_point & 0x3F));
  }
}

std::string encode_utf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char32_t c : text) append_utf8(out, c);
  return out;
}

}  // namespace sw48230

#include "core/common/xml_characters.h"

#include <cstdint>
#include <cstdio>

namespace sw48230 {
namespace {

constexpr char32_t No_Character = 0xFFFFFFFF;

std::string code_point_name(char32_t code_point) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code_point));
  return name;
}

std::string byte_name(unsigned char byte) {
  char name[16];
  std::snprintf(name, sizeof name, "0x%02X", static_cast<unsigned>(byte));
  return name;
}

// The code point that starts at `pos` and its length in bytes; No_Character
// for a byte that does not start a well-formed sequence (overlong forms,
// surrogates and values beyond U+10FFFF are not well-formed).
char32_t decode_at(std::string_view text, std::size_t pos, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t extra = 0;
  char32_t code_point = 0;
  char32_t lowest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    code_point = lead & 0x1Fu;
    lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    code_point = lead & 0x0Fu;
    lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    code_point = lead & 0x07u;
    lowest = 0x10000;
  } else {
    return No_Character;
  }
  if (pos + extra >= text.size()) return No_Character;
  for (std::size_t i = 1; i <= extra; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0u) != 0x80u) return No_Character;
    code_point = (code_point << 6) | (next & 0x3Fu);
  }
  if (code_point < lowest || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    return No_Character;
  }
  length = extra + 1;
  return code_point;
}

// The character a reference "&#...;" at `pos` stands for, and its length;
// nothing when no well-formed reference starts there.
std::optional<char32_t> reference_at(std::string_view text, std::size_t pos, std::size_t& length) {
  if (text.substr(pos, 2) != "&#") return std::nullopt;
  std::size_t i = pos + 2;
  const bool hex = i < text.size() && text[i] == 'x';
  if (hex) ++i;
  std::uint64_t value = 0;
  const std::size_t digits_start = i;
  for (; i < text.size() && text[i] != ';'; ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16u : 10u) + static_cast<unsigned>(digit);
    if (value > 0x10FFFF) value = 0x110000;  // stays out of range, never overflows
  }
  if (i == digits_start || i >= text.size()) return std::nullopt;
  length = i + 1 - pos;
  return static_cast<char32_t>(value);
}

std::optional<std::string> find_non_xml(std::string_view text, bool references) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t length = 1;
    if (references && text[pos] == '&') {
      if (const auto referenced = reference_at(text, pos, length)) {
        if (!Is_Xml_Character(*referenced)) return code_point_name(*referenced);
        pos += length;
        continue;
      }
    }
    const char32_t code_point = decode_at(text, pos, length);
    if (code_point == No_Character) return byte_name(static_cast<unsigned char>(text[pos]));
    if (!Is_Xml_Character(code_point)) return code_point_name(code_point);
    pos += length;
  }
  return std::nullopt;
}

}  // namespace

bool Is_Xml_Character(char32_t code_point) {
  if (code_point < 0x20) return code_point == 0x09 || code_point == 0x0A || code_point == 0x0D;
  if (code_point >= 0xD800 && code_point <= 0xDFFF) return false;
  if (code_point == 0xFFFE || code_point == 0xFFFF) return false;
  return code_point <= 0x10FFFF;
}

std::optional<std::string> Find_Non_Xml_Character(std::string_view text) { return find_non_xml(text, false); }

std::optional<std::string> Find_Non_Xml_Content(std::string_view document) { return find_non_xml(document, true); }

}  // namespace sw48230

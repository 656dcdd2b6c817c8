#include "core/common/xml_characters.h"

#include <cstdint>
#include <cstdio>

#include "core/common/utf8.h"

namespace sw48230 {
namespace {

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
    // Printable ASCII, nearly every character of a project, is always
    // allowed and needs no decoding.
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte >= 0x20 && byte < 0x7F && byte != '&') {
      ++pos;
      continue;
    }
    std::size_t length = 1;
    if (references && text[pos] == '&') {
      if (const auto referenced = reference_at(text, pos, length)) {
        if (!Is_Xml_Character(*referenced)) return code_point_name(*referenced);
        pos += length;
        continue;
      }
    }
    const std::size_t start = pos;
    const std::optional<char32_t> code_point = next_utf8(text, pos);
    if (!code_point) return byte_name(static_cast<unsigned char>(text[start]));
    if (!Is_Xml_Character(*code_point)) return code_point_name(*code_point);
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

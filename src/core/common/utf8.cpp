#include "core/common/utf8.h"

#include <cstdint>

namespace sw48230 {
namespace {

std::uint8_t byte_at(std::string_view bytes, std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); }

}  // namespace

std::optional<char32_t> next_utf8(std::string_view bytes, std::size_t& pos) {
  const std::uint8_t lead = byte_at(bytes, pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }

  // The allowed range of the second byte excludes overlong forms,
  // surrogates and values beyond U+10FFFF up front, so that a sequence is
  // rejected at the first byte that cannot belong to it.
  int length = 0;
  std::uint8_t second_min = 0x80;
  std::uint8_t second_max = 0xBF;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
    if (lead == 0xE0) second_min = 0xA0;
    if (lead == 0xED) second_max = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
    if (lead == 0xF0) second_min = 0x90;
    if (lead == 0xF4) second_max = 0x8F;
  } else {
    ++pos;
    return std::nullopt;
  }

  std::size_t next = pos + 1;
  for (int k = 1; k < length; ++k, ++next) {
    const std::uint8_t lo = k == 1 ? second_min : 0x80;
    const std::uint8_t hi = k == 1 ? second_max : 0xBF;
    if (next >= bytes.size() || byte_at(bytes, next) < lo || byte_at(bytes, next) > hi) {
      // An incomplete sequence is one unit; the byte that broke it starts
      // the next character.
      pos = next;
      return std::nullopt;
    }
    value = (value << 6) | (byte_at(bytes, next) & 0x3Fu);
  }
  pos = next;
  return value;
}

}  // namespace sw48230

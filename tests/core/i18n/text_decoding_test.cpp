#include "core/i18n/text_decoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace sw48230 {
namespace {

using namespace std::string_literals;

// Readable failure output for code point strings.
std::string hex(std::u32string_view text) {
  std::string out;
  for (const char32_t c : text) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X ", static_cast<unsigned>(c));
    out += buffer;
  }
  return out;
}

#define EXPECT_CODE_POINTS(actual, expected) EXPECT_EQ(hex(actual), hex(expected))

TEST(TextDecoding, ByteOrderMarkSelectsTheEncoding) {
  const struct {
    const char* name;
    std::string bytes;
    std::u32string expected;
  } cases[] = {
      {"UTF-8 BOM",
       "\xEF\xBB\xBF"
       "a\xC3\xA4\xE2\x82\xAC",
       U"a\u00E4\u20AC"},
      {"UTF-16 LE BOM",
       "\xFF\xFE"
       "a\0\xE4\0\xAC\x20"s,
       U"a\u00E4\u20AC"},
      {"UTF-16 BE BOM",
       "\xFE\xFF"
       "\0a\0\xE4\x20\xAC"s,
       U"a\u00E4\u20AC"},
      // Without a mark the bytes are Windows-1252, even when they would be
      // valid UTF-8.
      {"no BOM", "\xE4\x80\xB6", U"\u00E4\u20AC\u00B6"},
      {"no BOM, UTF-8 bytes", "\xC3\xA4", U"\u00C3\u00A4"},
      {"BOM only", "\xEF\xBB\xBF", U""},
      {"empty", "", U""},
      {"half a UTF-8 BOM", "\xEF\xBB", U"\u00EF\u00BB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_CODE_POINTS(decode_text_file(c.bytes), c.expected);
  }
}

TEST(TextDecoding, Windows1252) {
  const struct {
    unsigned char byte;
    char32_t expected;
  } cases[] = {
      {0x00, 0x0000},
      {0x41, 0x0041},
      {0x7F, 0x007F},
      {0x80, 0x20AC},
      {0x82, 0x201A},
      {0x83, 0x0192},
      {0x8A, 0x0160},
      {0x8C, 0x0152},
      {0x8E, 0x017D},
      {0x91, 0x2018},
      {0x93, 0x201C},
      {0x96, 0x2013},
      {0x99, 0x2122},
      {0x9C, 0x0153},
      {0x9E, 0x017E},
      {0x9F, 0x0178},
      {0xA0, 0x00A0},
      {0xB6, 0x00B6},
      {0xE4, 0x00E4},
      {0xFF, 0x00FF},
      // the five bytes the code page leaves undefined
      {0x81, 0x0081},
      {0x8D, 0x008D},
      {0x8F, 0x008F},
      {0x90, 0x0090},
      {0x9D, 0x009D},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    EXPECT_CODE_POINTS(decode_windows1252(std::string(1, static_cast<char>(c.byte))), std::u32string(1, c.expected));
  }
}

TEST(TextDecoding, Utf8ReplacesEachMalformedSequence) {
  const struct {
    const char* name;
    std::string bytes;
    std::u32string expected;
  } cases[] = {
      {"all lengths", "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", U"A\u00E4\u20AC\U0001F600"},
      {"highest code point", "\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
      {"lone continuation byte", "a\x80z", U"a\uFFFDz"},
      {"overlong two bytes", "\xC0\xAF", U"\uFFFD\uFFFD"},
      {"overlong three bytes", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"invalid lead bytes", "\xF5\xFF", U"\uFFFD\uFFFD"},
      {"truncated at the end", "a\xE2\x82", U"a\uFFFD"},
      {"truncated before ASCII",
       "\xE2\x82"
       "A",
       U"\uFFFDA"},
      {"truncated before a new sequence", "\xF0\x9F\xC3\xA4", U"\uFFFD\u00E4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_CODE_POINTS(decode_utf8(c.bytes), c.expected);
  }
}

TEST(TextDecoding, Utf16) {
  const struct {
    const char* name;
    std::string little_endian;
    std::u32string expected;
  } cases[] = {
      {"surrogate pair", "\x3D\xD8\x00\xDE"s, U"\U0001F600"},
      {"high surrogate then text",
       "\x3D\xD8"
       "A\0"s,
       U"\uFFFDA"},
      {"two high surrogates then a low", "\x3D\xD8\x3D\xD8\x00\xDE"s, U"\uFFFD\U0001F600"},
      {"lone low surrogate",
       "\x00\xDE"
       "A\0"s,
       U"\uFFFDA"},
      {"high surrogate at the end", "A\0\x3D\xD8"s, U"A\uFFFD"},
      {"odd trailing byte", "A\0B"s, U"A\uFFFD"},
      {"NUL is a character", "\0\0"s, U"\0"s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_CODE_POINTS(decode_utf16(c.little_endian, false), c.expected);

    std::string big_endian = c.little_endian;
    for (std::size_t i = 0; i + 1 < big_endian.size(); i += 2) std::swap(big_endian[i], big_endian[i + 1]);
    EXPECT_CODE_POINTS(decode_utf16(big_endian, true), c.expected);
  }
}

TEST(TextDecoding, Utf8Encoding) {
  const struct {
    char32_t code_point;
    std::string bytes;
  } cases[] = {
      {0x0000, "\0"s},
      {0x007F, "\x7F"},
      {0x0080, "\xC2\x80"},
      {0x07FF, "\xDF\xBF"},
      {0x0800, "\xE0\xA0\x80"},
      {0xFFFD, "\xEF\xBF\xBD"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
      // not encodable: written as U+FFFD
      {0xD800, "\xEF\xBF\xBD"},
      {0xDFFF, "\xEF\xBF\xBD"},
      {0x110000, "\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<unsigned>(c.code_point));
    EXPECT_EQ(encode_utf8(std::u32string(1, c.code_point)), c.bytes);
  }
  EXPECT_EQ(encode_utf8(U"a\u00E4\U0001F600"), "a\xC3\xA4\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace sw48230

#include "core/i18n/lng_file.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/i18n/message_table.h"

namespace sw48230 {
namespace {

using namespace std::string_literals;

constexpr std::string_view Utf8_Bom = "\xEF\xBB\xBF";
constexpr std::string_view Pilcrow = "\xC2\xB6";  // UTF-8

// What one line did: set `index` to `text`, was ignored for `reason`, or was
// not a STR line at all.
struct Outcome {
  enum Kind { Entry, Ignored, NotStr } kind;
  int index = 0;
  std::string text_or_reason;
};

Outcome parse_one_line(const std::string& line_utf8, int message_count = Default_Message_Count) {
  const LngContent content = parse_lng(std::string(Utf8_Bom) + line_utf8, message_count);
  EXPECT_LE(content.entries.size() + content.ignored.size(), 1u);
  if (!content.entries.empty()) return {Outcome::Entry, content.entries[0].index, content.entries[0].text};
  if (!content.ignored.empty()) return {Outcome::Ignored, 0, content.ignored[0].reason};
  return {Outcome::NotStr, 0, ""};
}

Outcome entry(int index, std::string text) { return {Outcome::Entry, index, std::move(text)}; }
Outcome ignored(std::string reason) { return {Outcome::Ignored, 0, std::move(reason)}; }
const Outcome not_str{Outcome::NotStr, 0, ""};

TEST(LngFile, LineGrammar) {
  const std::string P(Pilcrow);
  const struct {
    std::string line;
    Outcome expected;
  } cases[] = {
      {"STR0 = Start", entry(0, "Start")},
      {"  STR0 = Start  ", entry(0, "Start")},
      {"\t\x01STR0 = Start\t\x1F", entry(0, "Start")},
      {"STR564 = X", entry(564, "X")},
      {"STR5 = a = b", entry(5, "a = b")},
      {"STR5 = a\tb", entry(5, "a\tb")},
      {"STR5 = \xC3\x84rger", entry(5, "\xC3\x84rger")},

      // only upper-case STR at the start of the trimmed line counts
      {"str0 = Start", not_str},
      {"Str0 = Start", not_str},
      {"; STR0 = Start", not_str},
      {"", not_str},
      {"[Italiano]", not_str},

      // the character before "=" never belongs to the index field
      {"STR0=Start", ignored("index field is empty")},
      {"STR12=Start", entry(1, "Start")},
      {"STR57=x", entry(5, "x")},
      {"STR=x", ignored("index field is empty")},
      {"STR = x", ignored("index field is empty")},
      {"STR\t5\t= x", entry(5, "x")},
      {"STR 5 = x", entry(5, "x")},

      // the index field follows the number text rule
      {"STR$1F = x", entry(31, "x")},
      {"STR0x10 = x", entry(16, "x")},
      {"STR+7 = x", entry(7, "x")},
      {"STRabc = x", ignored("index field \"abc\" is not a number")},
      {"STR5 5 = x", ignored("index field \"5 5\" is not a number")},
      {"STR99999999999 = x", ignored("index field \"99999999999\" is not a number")},
      {"STR597 = X", ignored("index 597 is out of range 0..596")},
      {"STR-1 = X", ignored("index -1 is out of range 0..596")},
      {"STR$FFFFFFFF = X", ignored("index -1 is out of range 0..596")},

      {"STR5 Text", ignored("no \"=\"")},
      {"STR", ignored("no \"=\"")},
      // the first "=" ends the field even inside what looks like text
      {"STRx=5 = y", ignored("index field is empty")},

      {"STR5 =", ignored("text is empty")},
      {"STR5 =    ", ignored("text is empty")},
      {"STR5 = \t ", ignored("text is empty")},

      // comments
      {"STR5 = Cancel /#/ button of dialog 2", entry(5, "Cancel")},
      {"STR5 = a/#/b/#/c", entry(5, "a")},
      {"STR5 = /#/ note", ignored("text is only a comment")},
      {"STR5 =/#/", ignored("text is only a comment")},
      {"STR5 = a /# b", entry(5, "a /# b")},

      // pilcrows keep blanks that trimming would remove
      {"STR5 = " + P, entry(5, "")},
      {"STR5 = " + P + " abc", entry(5, " abc")},
      {"STR5 = abc" + P + "def", entry(5, "abc")},
      {"STR5 = " + P + P, entry(5, "")},
      {"STR42 = " + P + "Selected Language : " + P, entry(42, "Selected Language : ")},
      {"STR44 = " + P + " / " + P, entry(44, " / ")},
      {"STR5 = " + P + " a /#/ c", entry(5, " a")},
      {"STR5 = " + P + "/#/", entry(5, "")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const Outcome actual = parse_one_line(c.line);
    EXPECT_EQ(actual.kind, c.expected.kind);
    EXPECT_EQ(actual.index, c.expected.index);
    EXPECT_EQ(actual.text_or_reason, c.expected.text_or_reason);
  }
}

TEST(LngFile, RangeFollowsTheTableSize) {
  const Outcome last = parse_one_line("STR9 = x", 10);
  EXPECT_EQ(last.kind, Outcome::Entry);
  EXPECT_EQ(last.index, 9);
  EXPECT_EQ(parse_one_line("STR10 = x", 10).text_or_reason, "index 10 is out of range 0..9");
  EXPECT_EQ(parse_one_line("STR0 = x", 0).kind, Outcome::Ignored);
}

TEST(LngFile, KeepsEveryEntryInFileOrder) {
  const LngContent content = parse_lng("STR7 = first\nSTR3 = other\nSTR7 = second\n", Default_Message_Count);
  ASSERT_EQ(content.entries.size(), 3u);
  EXPECT_EQ(content.entries[0].index, 7);
  EXPECT_EQ(content.entries[0].text, "first");
  EXPECT_EQ(content.entries[2].index, 7);
  EXPECT_EQ(content.entries[2].text, "second");
  EXPECT_EQ(content.entries[2].line, 3);
}

TEST(LngFile, LineEndsAndLineNumbers) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<int> entry_lines;
  } cases[] = {
      {"CR LF", "STR1 = a\r\nSTR2 = b\r\n", {1, 2}},
      {"CR", "STR1 = a\rSTR2 = b\r", {1, 2}},
      {"LF", "STR1 = a\nSTR2 = b", {1, 2}},
      {"mixed", "STR1 = a\r\nSTR2 = b\rSTR3 = c\nSTR4 = d", {1, 2, 3, 4}},
      {"blank CR LF lines", "\r\n\r\nSTR1 = a", {3}},
      {"CR then CR LF", "\r\r\nSTR1 = a", {3}},
      {"LF then CR", "\n\rSTR1 = a", {3}},
      {"LF CR LF", "\n\r\nSTR1 = a", {3}},
      {"no line end at all", "STR1 = a", {1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LngContent content = parse_lng(c.bytes, Default_Message_Count);
    std::vector<int> lines;
    for (const LngEntry& e : content.entries) lines.push_back(e.line);
    EXPECT_EQ(lines, c.entry_lines);
    // A CR must never end up inside a text.
    for (const LngEntry& e : content.entries) EXPECT_EQ(e.text.find('\r'), std::string::npos);
  }
}

TEST(LngFile, IgnoredLinesCarryTheirLineNumbers) {
  const LngContent content = parse_lng(
      "; header\r\n"
      "STR0=bad\r\n"
      "\r\n"
      "STR1 = good\r"
      "STR2 =\n"
      "STR3 = fine\r\n"
      "STR600 = far\r\n",
      Default_Message_Count);
  ASSERT_EQ(content.ignored.size(), 3u);
  EXPECT_EQ(content.ignored[0].line, 2);
  EXPECT_EQ(content.ignored[0].reason, "index field is empty");
  EXPECT_EQ(content.ignored[1].line, 5);
  EXPECT_EQ(content.ignored[1].reason, "text is empty");
  EXPECT_EQ(content.ignored[2].line, 7);
  EXPECT_EQ(content.ignored[2].reason, "index 600 is out of range 0..596");
  ASSERT_EQ(content.entries.size(), 2u);
  EXPECT_EQ(content.entries[0].line, 4);
  EXPECT_EQ(content.entries[1].line, 6);
}

// Builds a UTF-16 file with its byte-order mark from UTF-16 code units.
std::string utf16_file(std::u16string_view units, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t u : units) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(LngFile, Encodings) {
  // Entry 1 has a pilcrow at each end, entry 2 needs three bytes and entry 3
  // four bytes in UTF-8; lines end in CR LF so that line numbers also count.
  const std::u16string utf16_text =
      u"; test\r\nSTR1 = \u00B6Gr\u00FC\u00DFe \u00B6\r\nSTR2 = \u20AC\r\nSTR3 = \U0001F600\r\n";
  const std::string utf8_text =
      "; test\r\nSTR1 = \xC2\xB6Gr\xC3\xBC\xC3\x9F"
      "e \xC2\xB6\r\nSTR2 = \xE2\x82\xAC\r\nSTR3 = \xF0\x9F\x98\x80\r\n";
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"UTF-8 BOM", std::string(Utf8_Bom) + utf8_text},
      {"UTF-16 LE", utf16_file(utf16_text, false)},
      {"UTF-16 BE", utf16_file(utf16_text, true)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LngContent content = parse_lng(c.bytes, Default_Message_Count);
    EXPECT_TRUE(content.ignored.empty());
    ASSERT_EQ(content.entries.size(), 3u);
    EXPECT_EQ(content.entries[0].line, 2);
    EXPECT_EQ(content.entries[0].text,
              "Gr\xC3\xBC\xC3\x9F"
              "e ");
    EXPECT_EQ(content.entries[1].text, "\xE2\x82\xAC");
    EXPECT_EQ(content.entries[2].line, 4);
    EXPECT_EQ(content.entries[2].text, "\xF0\x9F\x98\x80");
  }
}

TEST(LngFile, Windows1252WithoutByteOrderMark) {
  // E4 = a-umlaut, 80 = euro sign, B6 = pilcrow, 9D = undefined in the code page.
  const LngContent content = parse_lng("STR1 = \xB6 \xE4\x80\xB6 cut\r\nSTR2 = x\x9Dy", Default_Message_Count);
  ASSERT_EQ(content.entries.size(), 2u);
  EXPECT_EQ(content.entries[0].text, " \xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(content.entries[1].text, "x\xC2\x9Dy");
}

TEST(LngFile, MalformedUtf8BecomesReplacementCharacter) {
  const LngContent content = parse_lng(std::string(Utf8_Bom) +
                                           "STR1 = a\xFF"
                                           "b",
                                       Default_Message_Count);
  ASSERT_EQ(content.entries.size(), 1u);
  EXPECT_EQ(content.entries[0].text,
            "a\xEF\xBF\xBD"
            "b");
}

}  // namespace
}  // namespace sw48230

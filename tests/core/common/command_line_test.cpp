#include "core/common/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace sw48230 {
namespace {

struct SplitCase {
  std::string_view input;
  std::vector<std::string> expected;
};

TEST(CommandLine, SplitsLikeTheWindowsRuntime) {
  const SplitCase cases[] = {
      // nothing to split
      {"", {}},
      {"   ", {}},
      {" \t \t", {}},

      // blanks: only space and tab separate, runs count once, ends are trimmed
      {"a", {"a"}},
      {"a b", {"a", "b"}},
      {"  a   b  ", {"a", "b"}},
      {"a\tb", {"a", "b"}},
      {"\t a \t", {"a"}},
      {"a\nb", {"a\nb"}},
      {"a\rb\vc", {"a\rb\vc"}},

      // quotes group blanks and may start or stop inside an argument
      {R"("a b")", {"a b"}},
      {R"("abc" d e)", {"abc", "d", "e"}},
      {R"(a"b c"d)", {"ab cd"}},
      {R"("a"b)", {"ab"}},
      {R"("a b)", {"a b"}},  // an unclosed quote runs to the end
      {R"("a b   )", {"a b   "}},
      {"\"a\tb\"", {"a\tb"}},

      // empty arguments come only from quotes
      {R"("")", {""}},
      {R"("" "")", {"", ""}},
      {R"(a "" b)", {"a", "", "b"}},
      {R"(a "")", {"a", ""}},
      {R"(")", {""}},

      // a doubled quote inside quotes is literal and quoting goes on
      {R"("a""b")", {R"(a"b)"}},
      {R"(a"b"" c d)", {R"(ab" c d)"}},
      {R"("""")", {R"(")"}},
      {R"("a"" b" c)", {R"(a" b)", "c"}},
      // outside quotes the first quote opens, so "" there is just empty
      {R"(a""b)", {"ab"}},

      // backslashes are literal unless a quote follows
      {R"(a\b)", {R"(a\b)"}},
      {R"(a\\b)", {R"(a\\b)"}},
      {R"(a\)", {R"(a\)"}},
      {R"(a\\ b)", {R"(a\\)", "b"}},
      {R"(a\\b d"e f"g h)", {R"(a\\b)", "de fg", "h"}},
      // 2n+1 backslashes and a quote: n backslashes and a literal quote
      {R"(\")", {R"(")"}},
      {R"(a\"b c d)", {R"(a"b)", "c", "d"}},
      {R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}},
      {R"("a \" b")", {R"(a " b)"}},
      // 2n backslashes and a quote: n backslashes, and the quote toggles
      {R"(a\\"b c" d e)", {R"(a\b c)", "d", "e"}},
      {R"(a\\\\"b c" d e)", {R"(a\\b c)", "d", "e"}},
      {R"("C:\dir\\" x)", {R"(C:\dir\)", "x"}},
      {R"("C:\dir\" x)", {R"(C:\dir" x)"}},

      // what the updaters are actually given
      {R"("C:\Program Files\x" COM3)", {R"(C:\Program Files\x)", "COM3"}},
      {R"("C:\Program Files\Updater\data.hex" COM3 115200)",
       {R"(C:\Program Files\Updater\data.hex)", "COM3", "115200"}},
      {R"("Plant 1; rm -rf ~ & echo | $(whoami) `id` > out")", {R"(Plant 1; rm -rf ~ & echo | $(whoami) `id` > out)"}},
      {"Plant;1&2|3$(x)", {"Plant;1&2|3$(x)"}},
      {"'a b'", {"'a", "b'"}},  // single quotes mean nothing
      {"%PATH% *.hex ~", {"%PATH%", "*.hex", "~"}},

      // UTF-8 passes through byte for byte
      {"\"Anlage \xC3\x9C"
       "ber\" \xE2\x82\xAC",
       {"Anlage \xC3\x9C"
        "ber",
        "\xE2\x82\xAC"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("input: [") + std::string(c.input) + "]");
    EXPECT_EQ(split_windows_command_line(c.input), c.expected);
  }
}

}  // namespace
}  // namespace sw48230

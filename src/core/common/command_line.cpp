#include "core/common/command_line.h"

#include <cstddef>
#include <utility>

namespace sw48230 {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> split_windows_command_line(std::string_view arguments) {
  std::vector<std::string> result;
  std::string current;
  // Tracked apart from current.empty(): "" must still yield an empty argument.
  bool in_argument = false;
  bool quoted = false;

  std::size_t i = 0;
  const std::size_t n = arguments.size();
  while (i < n) {
    const char c = arguments[i];
    if (!quoted && is_blank(c)) {
      if (in_argument) {
        result.push_back(std::move(current));
        current.clear();
        in_argument = false;
      }
      ++i;
      continue;
    }
    in_argument = true;

    if (c == '\\') {
      std::size_t backslashes = 0;
      while (i < n && arguments[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < n && arguments[i] == '"') {
        // Backslashes only escape when a quote follows: each pair gives one,
        // and an odd one out makes the quote literal.
        current.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          current.push_back('"');
          ++i;
        }
        // With an even count the quote is left for the next round to toggle.
      } else {
        current.append(backslashes, '\\');
      }
      continue;
    }

    if (c == '"') {
      if (quoted && i + 1 < n && arguments[i + 1] == '"') {
        // A doubled quote inside quotes is a literal one; quoting goes on.
        current.push_back('"');
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
      continue;
    }

    current.push_back(c);
    ++i;
  }
  if (in_argument) result.push_back(std::move(current));
  return result;
}

std::string quote_windows_argument(std::string_view argument) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there each one is escaped, and
    // one more escapes the quote itself.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + '"';
}

}  // namespace sw48230

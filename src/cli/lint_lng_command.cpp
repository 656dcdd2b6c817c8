#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/common/paths.h"
#include "core/i18n/lng_file.h"
#include "core/i18n/message_table.h"

namespace sw48230::cli {

CommandExit run_lint_lng(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return UsageError{"a language file is needed"};
  if (args.size() > 1) return UsageError{"unexpected argument \"" + args[1] + "\""};
  const std::string& file = args.front();

  const Result<std::string> bytes = read_lng_bytes(path_from_utf8(file));
  if (!bytes) {
    err << "sw48230-cli: cannot read " << file << ": " << bytes.failure().reason << '\n';
    return Exit_Failure;
  }

  const LngContent content = parse_lng(*bytes, Default_Message_Count);
  // The format used by compilers, so that editors can jump to each line.
  for (const LngIgnoredLine& ignored : content.ignored) {
    out << file << ':' << ignored.line << ": " << ignored.reason << '\n';
  }
  if (content.ignored.empty()) {
    const std::size_t count = content.entries.size();
    out << file << ": " << count << (count == 1 ? " entry" : " entries") << ", 0 ignored lines\n";
  }
  return finish_output(out, err, content.ignored.empty() ? Exit_Success : Exit_Failure);
}

}  // namespace sw48230::cli

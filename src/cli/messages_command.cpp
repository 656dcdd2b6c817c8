#include <optional>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/common/paths.h"
#include "core/i18n/lng_file.h"
#include "core/i18n/message_table.h"

namespace sw48230::cli {
namespace {

// One entry per line whatever the text holds, so that the output can be
// split on line ends and tabs and compared with diff.
void write_escaped(std::ostream& out, const std::string& text) {
  for (const char c : text) {
    switch (c) {
      case '\\':
        out << "\\\\";
        break;
      case '\t':
        out << "\\t";
        break;
      case '\r':
        out << "\\r";
        break;
      case '\n':
        out << "\\n";
        break;
      default:
        out << c;
        break;
    }
  }
}

}  // namespace

CommandExit run_messages(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<std::string> lng_file;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lng") {
      if (lng_file) return UsageError{"--lng given twice"};
      if (i + 1 >= args.size()) return UsageError{"--lng needs a file"};
      lng_file = args[++i];
    } else {
      return UsageError{"unexpected argument \"" + args[i] + "\""};
    }
  }

  MessageTable table;
  table.Default_Messages();
  if (lng_file) {
    // The program itself falls back to the defaults here; a script asking for
    // a file's texts must not get English ones without noticing.
    const Result<std::string> bytes = read_lng_bytes(path_from_utf8(*lng_file));
    if (!bytes) {
      err << "sw48230-cli: cannot read " << *lng_file << ": " << bytes.failure().reason << '\n';
      return Exit_Failure;
    }
    table.Apply(parse_lng(*bytes, table.Message_Count()));
  }

  for (int index = 0; index < table.Message_Count(); ++index) {
    out << index << '\t';
    write_escaped(out, table.text(index));
    out << '\n';
  }
  return finish_output(out, err, Exit_Success);
}

}  // namespace sw48230::cli

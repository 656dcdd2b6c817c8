#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/failure.h"

namespace sw48230 {

// One line of a language file that sets an entry.
struct LngEntry {
  int line = 0;  // 1-based line number in the file
  int index = 0;
  std::string text;  // UTF-8
};

// One line that begins with "STR" but sets nothing, and why.
struct LngIgnoredLine {
  int line = 0;
  std::string reason;
};

struct LngContent {
  std::vector<LngEntry> entries;  // in file order; a later entry for an index wins
  std::vector<LngIgnoredLine> ignored;
};

// Parses the raw bytes of a language file (encoding chosen by byte-order mark,
// Windows-1252 without one; CR LF, CR or LF end a line) against a table of
// `message_count` entries.
LngContent parse_lng(std::string_view bytes, int message_count);

// The raw bytes of a language file; nothing, with the cause in `error`, when
// the file cannot be opened or read, is no regular file (a FIFO, a device, a
// folder) or is larger than Language_File_Limit.
Result<std::string> read_lng_bytes(const std::filesystem::path& file);

}  // namespace sw48230

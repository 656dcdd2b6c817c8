#include "core/i18n/message_table.h"

#include "core/common/file_read.h"
#include "core/common/paths.h"
#include "core/i18n/lng_file.h"

namespace sw48230 {
namespace {

// Only a regular file counts: a folder, a FIFO or a device that happens to
// carry a language's name must not stop the fallback to English, nor hold
// up the start of the program.
bool is_existing_file(const std::filesystem::path& file) { return is_regular_file_quietly(file); }

}  // namespace

void MessageTable::Default_Messages() { entries_ = default_messages(); }

const MessageTable& English_Messages() {
  static const MessageTable english = [] {
    MessageTable table;
    table.Default_Messages();
    return table;
  }();
  return english;
}

void MessageTable::Read_Lng_File(const std::filesystem::path& file) {
  const Result<std::string> bytes = read_lng_bytes(file);
  if (!bytes) return;
  Apply(parse_lng(*bytes, Message_Count()));
}

void MessageTable::Apply(const LngContent& content) {
  for (const LngEntry& entry : content.entries) {
    if (entry.index >= 0 && entry.index < Message_Count()) entries_[static_cast<std::size_t>(entry.index)] = entry.text;
  }
}

const std::string& MessageTable::text(int index) const {
  static const std::string empty;
  if (index < 0 || index >= Message_Count()) return empty;
  return entries_[static_cast<std::size_t>(index)];
}

void Load_Language(MessageTable& table, const std::filesystem::path& Language_Dir, std::string& Language_Name) {
  table.Default_Messages();

  // Joined as text, not as paths: the name is part of a file name even when
  // it looks like a path of its own.
  std::filesystem::path chosen = Language_Dir / "";
  chosen += path_from_utf8(Language_Name + ".lng");
  if (is_existing_file(chosen)) {
    table.Read_Lng_File(chosen);
    return;
  }

  Language_Name = "English";
  const auto english = Language_Dir / "English.lng";
  if (is_existing_file(english)) table.Read_Lng_File(english);
}

}  // namespace sw48230

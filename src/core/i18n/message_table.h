#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sw48230 {

struct LngContent;

// Number of texts the program ships; language files address indexes below it.
inline constexpr int Default_Message_Count = 597;

// The indexed table of every text the user sees. Texts are UTF-8.
class MessageTable {
 public:
  // Empties the table and appends the built-in English texts in index order.
  void Default_Messages();

  // Applies a language file: the entries it names get its texts, all others
  // keep theirs. A file that cannot be read changes nothing.
  void Read_Lng_File(const std::filesystem::path& file);

  // Applies already parsed language file content the same way.
  void Apply(const LngContent& content);

  // The text at `index`; an empty text for an index outside the table.
  const std::string& text(int index) const;

  int Message_Count() const { return static_cast<int>(entries_.size()); }
  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
};

// The built-in English texts, index 0 to Default_Message_Count - 1.
const std::vector<std::string>& default_messages();

// The same as a table, for what is reported in English whatever the
// language: the command-line tool's output.
const MessageTable& English_Messages();

// Rebuilds the defaults and applies Language_Dir/<Language_Name>.lng; when that
// file does not exist, Language_Name becomes "English" and English.lng is
// applied if present.
void Load_Language(MessageTable& table, const std::filesystem::path& Language_Dir, std::string& Language_Name);

}  // namespace sw48230

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "core/i18n/lng_file.h"
#include "core/i18n/message_table.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

const std::filesystem::path Shipped = SW48230_SHIPPED_LANGUAGES;

// No screen shows these texts, so a translation may leave them out.
bool is_unused(int index) {
  return (index >= 124 && index <= 250) || (index >= 479 && index <= 491) || index == 550 || index == 551;
}

std::map<int, std::string> entries_of(const std::string& file_name) {
  const Result<std::string> bytes = read_lng_bytes(Shipped / file_name);
  EXPECT_TRUE(bytes) << file_name << ": " << bytes.failure().reason;
  if (!bytes) return {};
  EXPECT_EQ(bytes->substr(0, 3), "\xEF\xBB\xBF") << file_name << " is UTF-8 with a byte-order mark";
  const LngContent content = parse_lng(*bytes, Default_Message_Count);
  EXPECT_TRUE(content.ignored.empty()) << file_name;
  std::map<int, std::string> entries;
  for (const LngEntry& entry : content.entries) {
    EXPECT_TRUE(entries.emplace(entry.index, entry.text).second) << file_name << " names " << entry.index << " twice";
  }
  return entries;
}

// The numbered places a text has for the values the program fills in.
std::multiset<char> placeholders(const std::string& text) {
  std::multiset<char> numbers;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') numbers.insert(text[i + 1]);
  }
  return numbers;
}

TEST(ShippedLanguagesTest, TranslationsCoverEveryTextAScreenShows) {
  // Where a language puts words after a composed-in name, the piece after
  // the name starts with a blank that the English one lacks.
  const std::map<std::string, std::set<int>> extra_leading_blank = {{"Italiano.lng", {}}, {"Deutsch.lng", {56}}};
  const auto& english = default_messages();
  for (const auto& [file_name, exceptions] : extra_leading_blank) {
    SCOPED_TRACE(file_name);
    const auto entries = entries_of(file_name);
    for (int index = 0; index < Default_Message_Count; ++index) {
      SCOPED_TRACE(index);
      const auto found = entries.find(index);
      if (is_unused(index)) {
        EXPECT_EQ(found, entries.end());
        continue;
      }
      ASSERT_NE(found, entries.end());
      const std::string& text = found->second;
      const std::string& original = english[static_cast<std::size_t>(index)];
      ASSERT_FALSE(text.empty());
      // Texts are joined with names and numbers; their outer blanks keep the parts apart.
      EXPECT_EQ(text.front() == ' ', original.front() == ' ' || exceptions.count(index) > 0);
      EXPECT_EQ(text.back() == ' ', original.back() == ' ');
      // A value left out would vanish from what the user reads.
      EXPECT_EQ(placeholders(text), placeholders(original)) << text;
    }
    // The two CAN frame formats are fixed values of the table, not translated.
    for (int index : {384, 450}) {
      EXPECT_NE(entries.at(index).find("\"CAN 2.0A (11 bits)\""), std::string::npos);
      EXPECT_NE(entries.at(index).find("\"CAN 2.0B (29 bits)\""), std::string::npos);
    }
  }
}

TEST(ShippedLanguagesTest, EnglishLeavesTheBuiltInTextsInForce) { EXPECT_TRUE(entries_of("English.lng").empty()); }

TEST(ShippedLanguagesTest, EveryLanguageHasItsFlag) {
  for (const char* name : {"Italiano.bmp", "Deutsch.bmp", "English.bmp", "DefaultFlag.bmp"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(test::read_file(Shipped / name).substr(0, 2), "BM");
  }
}

}  // namespace
}  // namespace sw48230

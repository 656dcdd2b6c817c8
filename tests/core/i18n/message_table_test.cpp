#include "core/i18n/message_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/common/paths.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;

class MessageTableTest : public ::testing::Test {
 protected:
  fs::path write(const std::string& utf8_name, const std::string& bytes) {
    const fs::path file = dir_ / path_from_utf8(utf8_name);
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  // Protection bits do not stop a privileged user; such a run cannot test it.
  static bool is_unreadable(const fs::path& file) { return !std::ifstream(file).is_open(); }

  static MessageTable defaults() {
    MessageTable table;
    table.Default_Messages();
    return table;
  }

  test::TempDir temp_;
  const fs::path& dir_ = temp_.path();
};

TEST_F(MessageTableTest, BuiltInTexts) {
  ASSERT_EQ(default_messages().size(), 597u);
  const MessageTable table = defaults();
  EXPECT_EQ(table.Message_Count(), 597);

  const struct {
    int index;
    const char* text;
  } cases[] = {
      {0, "Begin"},
      {9, "None Configuration Opened "},
      {11, "Opened Configuration of the Converter : "},
      {28, "OK"},
      {42, "Selected Language : "},
      {44, " / "},
      {94, " Select Device "},
      {384, "!! CAN Type must be \"CAN 2.0A (11 bits)\" or \"CAN 2.0B (29 bits)\""},
      {450, "!! CAN Type must be \"CAN 2.0A (11 bits)\" or \"CAN 2.0B (29 bits)\""},
      {491, "!! Default Values, dimension of CAN frame and number of Default Values are different"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(table.text(c.index), c.text);
  }
  EXPECT_EQ(table.text(-1), "");
  EXPECT_EQ(table.text(597), "");
  for (const std::string& text : default_messages()) EXPECT_FALSE(text.empty());
}

TEST_F(MessageTableTest, DefaultMessagesUndoesEveryChange) {
  MessageTable table = defaults();
  table.Read_Lng_File(write("a.lng", "STR0 = Anfang\nSTR491 = Ende\n"));
  ASSERT_EQ(table.text(0), "Anfang");
  table.Default_Messages();
  EXPECT_EQ(table.entries(), default_messages());
}

TEST_F(MessageTableTest, ReadLngFileChangesOnlyTheNamedEntries) {
  MessageTable table = defaults();
  table.Read_Lng_File(write("a.lng",
                            "STR7 = first\r\n"
                            "STR7 = second\r\n"
                            "STR8 =\r\n"
                            "STR597 = beyond\r\n"
                            "STR44 = \xB6 - \xB6\r\n"));
  std::vector<std::string> expected = default_messages();
  expected[7] = "second";
  expected[44] = " - ";
  EXPECT_EQ(table.entries(), expected);
  EXPECT_EQ(table.Message_Count(), 597);
}

TEST_F(MessageTableTest, FileThatCannotBeReadChangesNothing) {
  MessageTable table = defaults();
  table.Read_Lng_File(write("a.lng", "STR0 = Anfang\n"));

  table.Read_Lng_File(dir_ / "missing.lng");
  fs::create_directory(dir_ / "dir.lng");
  table.Read_Lng_File(dir_ / "dir.lng");
  EXPECT_EQ(table.text(0), "Anfang");
  EXPECT_EQ(table.text(1), "Step 1");

  const fs::path locked = write("locked.lng", "STR1 = Schritt\n");
  fs::permissions(locked, fs::perms::none);
  if (!is_unreadable(locked)) GTEST_SKIP() << "file permissions are not enforced for this user";
  table.Read_Lng_File(locked);
  EXPECT_EQ(table.text(1), "Step 1");
}

TEST_F(MessageTableTest, LoadLanguageAppliesTheChosenFileOnly) {
  write("Italiano.lng", "STR0 = Inizio\n");
  write("English.lng", "STR1 = Stage 1\n");
  MessageTable table;
  std::string name = "Italiano";
  Load_Language(table, dir_, name);
  EXPECT_EQ(name, "Italiano");
  EXPECT_EQ(table.text(0), "Inizio");
  EXPECT_EQ(table.text(1), "Step 1");
}

TEST_F(MessageTableTest, LoadLanguageFallsBackToEnglish) {
  const struct {
    const char* name;
    bool with_english_file;
    const char* expected_text_1;
  } cases[] = {
      {"without English.lng", false, "Step 1"},
      {"with English.lng", true, "Stage 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(dir_ / "English.lng");
    if (c.with_english_file) write("English.lng", "STR1 = Stage 1\n");

    MessageTable table;
    table.Default_Messages();
    table.Read_Lng_File(write("old.lng", "STR0 = leftover\n"));
    std::string name = "Klingon";
    Load_Language(table, dir_, name);
    EXPECT_EQ(name, "English");
    EXPECT_EQ(table.text(0), "Begin");
    EXPECT_EQ(table.text(1), c.expected_text_1);
    EXPECT_EQ(table.Message_Count(), 597);
  }
}

TEST_F(MessageTableTest, LoadLanguageWithoutLanguageFolder) {
  MessageTable table;
  std::string name = "Deutsch";
  Load_Language(table, dir_ / "no-such-folder", name);
  EXPECT_EQ(name, "English");
  EXPECT_EQ(table.entries(), default_messages());
}

TEST_F(MessageTableTest, FolderNamedLikeALanguageIsNotALanguageFile) {
  fs::create_directory(dir_ / "Deutsch.lng");
  MessageTable table;
  std::string name = "Deutsch";
  Load_Language(table, dir_, name);
  EXPECT_EQ(name, "English");
}

TEST_F(MessageTableTest, UnreadableLanguageFileKeepsTheNameAndTheDefaults) {
  const fs::path file = write("Deutsch.lng", "STR0 = Anfang\n");
  write("English.lng", "STR1 = Stage 1\n");
  fs::permissions(file, fs::perms::none);
  if (!is_unreadable(file)) GTEST_SKIP() << "file permissions are not enforced for this user";
  MessageTable table;
  std::string name = "Deutsch";
  Load_Language(table, dir_, name);
  EXPECT_EQ(name, "Deutsch");
  EXPECT_EQ(table.entries(), default_messages());
}

TEST_F(MessageTableTest, NonAsciiLanguageName) {
  write(
      "Fran\xC3\xA7"
      "ais.lng",
      "STR0 = D\xE9"
      "but\n");
  MessageTable table;
  std::string name =
      "Fran\xC3\xA7"
      "ais";
  Load_Language(table, dir_, name);
  EXPECT_EQ(name,
            "Fran\xC3\xA7"
            "ais");
  EXPECT_EQ(table.text(0),
            "D\xC3\xA9"
            "but");
}

TEST_F(MessageTableTest, PartialLanguageAfterFullOneLeavesNothingOfTheFirst) {
  std::string italian;
  for (int i = 0; i < Default_Message_Count; ++i)
    italian += "STR" + std::to_string(i) + " = IT " + std::to_string(i) + "\r\n";
  std::string french;
  for (int i = 0; i <= 100; ++i) french += "STR" + std::to_string(i) + " = FR " + std::to_string(i) + "\r\n";
  write("Italiano.lng", italian);
  write("Francais.lng", french);

  MessageTable table;
  std::string name = "Italiano";
  Load_Language(table, dir_, name);
  ASSERT_EQ(table.text(491), "IT 491");

  name = "Francais";
  Load_Language(table, dir_, name);
  EXPECT_EQ(name, "Francais");
  std::vector<std::string> expected = default_messages();
  for (int i = 0; i <= 100; ++i) expected[static_cast<std::size_t>(i)] = "FR " + std::to_string(i);
  EXPECT_EQ(table.entries(), expected);
}

}  // namespace
}  // namespace sw48230

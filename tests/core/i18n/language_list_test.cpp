#include "core/i18n/language_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/i18n/message_table.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include "core/common/windows_api.h"
#else
#include <sys/stat.h>
#endif

namespace sw48230 {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class LanguageListTest : public ::testing::Test {
 protected:
  void touch(const std::string& name, const std::string& bytes = "") { test::write_file(temp_ / name, bytes); }

  test::TempDir temp_;
};

TEST_F(LanguageListTest, ListsLanguageFilesSortedIgnoringCase) {
  for (const char* name : {"c.lng", "b.lng", "A.lng", "Deutsch.lng", "notes.txt", "Deutsch.bmp", "x.lng.bak"}) {
    touch(name);
  }
  EXPECT_EQ(List_Language_Files(temp_.path()), (Names{"A.lng", "b.lng", "c.lng", "Deutsch.lng"}));
}

#ifdef _WIN32

TEST_F(LanguageListTest, FilesAreListedByTheirAttributes) {
  for (const char* name : {"Italiano.lng", "UPPER.LNG", "Hidden.lng", "System.lng", "ReadOnly.lng"}) touch(name);
  fs::create_directory(temp_ / "Folder.lng");
  const auto set_attributes = [&](const char* name, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesW((temp_ / name).c_str(), attributes)) << name;
  };
  set_attributes("Hidden.lng", FILE_ATTRIBUTE_HIDDEN);
  set_attributes("ReadOnly.lng", FILE_ATTRIBUTE_READONLY);
  set_attributes("System.lng", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(List_Language_Files(temp_.path()), (Names{"Hidden.lng", "Italiano.lng", "System.lng", "UPPER.LNG"}));
  set_attributes("ReadOnly.lng", FILE_ATTRIBUTE_NORMAL);  // so that the folder can be removed
}

#else

TEST_F(LanguageListTest, OnlyReadableRegularFilesAreListed) {
  touch("Italiano.lng");
  touch("UPPER.LNG");  // Load_Language looks for "<name>.lng" and would not find it
  fs::create_directory(temp_ / "Folder.lng");
  fs::create_symlink(temp_ / "Italiano.lng", temp_ / "Link.lng");
  fs::create_symlink(temp_ / "missing", temp_ / "Dangling.lng");
  // Looked at without waiting for a writer or reading a device.
  ASSERT_EQ(::mkfifo((temp_ / "Fifo.lng").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", temp_ / "Zero.lng");
  EXPECT_EQ(List_Language_Files(temp_.path()), (Names{"Italiano.lng", "Link.lng"}));
}

TEST_F(LanguageListTest, FileTheUserCannotReadIsNotListed) {
  touch("Italiano.lng");
  touch("Locked.lng");
  fs::permissions(temp_ / "Locked.lng", fs::perms::none);
  if (std::ifstream(temp_ / "Locked.lng").is_open()) GTEST_SKIP() << "protection bits do not stop this user";
  EXPECT_EQ(List_Language_Files(temp_.path()), Names{"Italiano.lng"});
}

#endif

TEST_F(LanguageListTest, MissingFolderListsNothing) {
  EXPECT_TRUE(List_Language_Files(temp_ / "absent").empty());
  EXPECT_TRUE(List_Language_Files(temp_.path()).empty());
}

TEST(LanguageAttributesTest, WindowsRuleAdmitsOnlyHarmlessAttributes) {
  const struct {
    std::uint32_t attributes;
    bool listed;
  } cases[] = {
      {0x0080, true},   // normal
      {0x0020, true},   // archive
      {0x0026, true},   // hidden, system, archive
      {0x2220, true},   // sparse, not content indexed
      {0x0001, false},  // read-only
      {0x0010, false},  // directory
      {0x0021, false},  // read-only among allowed ones
      {0x0100, false},  // temporary
      {0x0400, false},  // reparse point
      {0x0800, false},  // compressed
      {0x1000, false},  // offline
      {0x4000, false},  // encrypted
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attributes);
    EXPECT_EQ(Windows_Attributes_Listed(c.attributes), c.listed);
  }
}

TEST(LanguagePageTest, PagesOfSixWithTheirButtons) {
  const struct {
    int count, page;
    LanguagePage expected;
  } cases[] = {
      // count, page: page, page count, first, shown, prev, next
      {6, 1, {1, 1, 0, 6, false, false}},   // one full page
      {7, 1, {1, 2, 0, 6, false, true}},    // a second page begins
      {7, 2, {2, 2, 6, 1, true, false}},    // ... with one language
      {12, 2, {2, 2, 6, 6, true, false}},   // two full pages
      {13, 1, {1, 3, 0, 6, false, true}},   // first of three
      {13, 2, {2, 3, 6, 6, true, true}},    // between two others
      {13, 3, {3, 3, 12, 1, true, false}},  // last of three
      {13, 4, {3, 3, 12, 1, true, false}},  // beyond the last page
      {13, 0, {1, 3, 0, 6, false, true}},   // before the first page
      {0, 1, {1, 1, 0, 0, false, false}},   // one empty page "1 / 1"
      {0, 2, {1, 1, 0, 0, false, false}},   // ... whatever is asked
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " languages, page " + std::to_string(c.page));
    const LanguagePage page = Language_Page(c.count, c.page);
    EXPECT_EQ(page.page, c.expected.page);
    EXPECT_EQ(page.page_count, c.expected.page_count);
    EXPECT_EQ(page.first, c.expected.first);
    EXPECT_EQ(page.shown, c.expected.shown);
    EXPECT_EQ(page.prev_visible, c.expected.prev_visible);
    EXPECT_EQ(page.next_visible, c.expected.next_visible);
  }
}

TEST_F(LanguageListTest, FlagOfALanguage) {
  EXPECT_EQ(Language_Of("Italiano.lng"), "Italiano");
  EXPECT_EQ(Language_Of(".lng"), "");

  EXPECT_FALSE(Flag_Bitmap(temp_.path(), "Italiano").has_value());
  touch("DefaultFlag.bmp");
  EXPECT_EQ(Flag_Bitmap(temp_.path(), "Italiano"), temp_ / "DefaultFlag.bmp");
  touch("Italiano.bmp");
  EXPECT_EQ(Flag_Bitmap(temp_.path(), "Italiano"), temp_ / "Italiano.bmp");
  EXPECT_EQ(Flag_Bitmap(temp_.path(), "Deutsch"), temp_ / "DefaultFlag.bmp");
  fs::create_directory(temp_ / "Deutsch.bmp");
  EXPECT_EQ(Flag_Bitmap(temp_.path(), "Deutsch"), temp_ / "DefaultFlag.bmp");
}

TEST_F(LanguageListTest, PreviewLoadsTheChosenTexts) {
  touch("Italiano.lng", "STR0 = Inizio\r\n");
  MessageTable table;
  Preview_Language(table, temp_.path(), "Italiano");
  EXPECT_EQ(table.text(0), "Inizio");
  EXPECT_EQ(table.text(1), "Step 1");

  // A file gone since it was listed falls back to English.
  Preview_Language(table, temp_.path(), "Klingon");
  EXPECT_EQ(table.text(0), "Begin");
}

}  // namespace
}  // namespace sw48230

#include "core/common/file_read.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/common/paths.h"
#include "core/common/xml_file.h"
#include "core/i18n/message_table.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

// The content, or nothing with the reason the failure gives in `error`.
std::optional<std::string> read(const std::filesystem::path& file, std::size_t limit, std::string& error) {
  const Result<std::string> bytes = read_regular_file(file, limit);
  error = bytes ? std::string() : bytes.failure().reason;
  if (!bytes) {
    EXPECT_EQ(bytes.failure().file, path_to_utf8(file));
    return std::nullopt;
  }
  return *bytes;
}

TEST(ReadRegularFile, ReadsUpToTheLimitAndRefusesMore) {
  test::TempDir dir;
  test::write_file(dir / "ten", "0123456789");
  std::string error;
  EXPECT_EQ(read(dir / "ten", 10, error), "0123456789");
  EXPECT_EQ(error, "");
  EXPECT_FALSE(read(dir / "ten", 9, error));
  EXPECT_EQ(error, "larger than the limit of 9 bytes");

  test::write_file(dir / "empty", "");
  EXPECT_EQ(read(dir / "empty", 0, error), "");
}

TEST(ReadRegularFile, RefusesWhatIsNoRegularFile) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(read(dir / "missing", 100, error));
  EXPECT_NE(error, "");
  EXPECT_FALSE(read(dir.path(), 100, error));
  EXPECT_EQ(error, std::make_error_code(std::errc::is_a_directory).message());
}

#ifndef _WIN32
// A FIFO would block the reader until a writer came; a device such as
// /dev/zero never ends. Both are refused at once.
TEST(ReadRegularFile, RefusesFifosAndDevicesWithoutWaiting) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::string error;
  EXPECT_FALSE(read(dir / "fifo", Language_File_Limit, error));
  EXPECT_EQ(error, "not a regular file");
  EXPECT_FALSE(read("/dev/zero", Language_File_Limit, error));
  EXPECT_EQ(error, "not a regular file");

  const Result<pugi::xml_document> xml = read_xml_file(dir / "fifo");
  ASSERT_FALSE(xml);
  EXPECT_EQ(xml.failure().text, Msg_Failure_File_Unreadable);
  EXPECT_EQ(xml.failure().reason, "not a regular file");
}

// At start-up a FIFO in place of the chosen language takes the documented
// fallback to English instead of stopping the program.
TEST(ReadRegularFile, LoadLanguageFallsBackFromAFifo) {
  test::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "Italiano.lng").c_str(), 0600), 0);
  test::write_file(dir / "English.lng", "STR0 = Start\n");
  MessageTable table;
  std::string language = "Italiano";
  Load_Language(table, dir.path(), language);
  EXPECT_EQ(language, "English");
  EXPECT_EQ(table.text(0), "Start");
}
#endif

TEST(ReadRegularFile, XmlFilesHaveALimit) {
  test::TempDir dir;
  test::write_file(dir / "big.xml", "<a>" + std::string(Xml_File_Limit, ' ') + "</a>");
  const Result<pugi::xml_document> xml = read_xml_file(dir / "big.xml");
  ASSERT_FALSE(xml);
  EXPECT_EQ(xml.failure().text, Msg_Failure_File_Unreadable);
  EXPECT_EQ(xml.failure().reason, "larger than the limit of " + std::to_string(Xml_File_Limit) + " bytes");
}

}  // namespace
}  // namespace sw48230

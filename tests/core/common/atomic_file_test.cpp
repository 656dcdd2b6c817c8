#include "core/common/atomic_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

std::size_t entries_in(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

TEST(AtomicFile, WritesANewFileAndReplacesAnOldOneLeavingNoTemporaryFile) {
  TempDir dir;
  const auto file = dir / "ParGen.xml";
  ASSERT_FALSE(write_file_atomically(file, std::string("first\0bytes", 11)));
  EXPECT_EQ(read_file(file), std::string("first\0bytes", 11));

  ASSERT_FALSE(write_file_atomically(file, "second"));
  EXPECT_EQ(read_file(file), "second");
  ASSERT_FALSE(write_file_atomically(file, ""));
  EXPECT_EQ(read_file(file), "");
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(AtomicFile, AFailedReplaceKeepsTheOldContentAndCleansUp) {
  TempDir dir;
  // A folder in the target's place cannot be replaced by a file.
  const auto target = dir / "bin";
  std::filesystem::create_directory(target);
  write_file(target / "bank.bin", "old");

  EXPECT_TRUE(write_file_atomically(target, "new"));
  EXPECT_TRUE(std::filesystem::is_directory(target));
  EXPECT_EQ(read_file(target / "bank.bin"), "old");
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(AtomicFile, AMissingFolderIsReported) {
  TempDir dir;
  const std::error_code error = write_file_atomically(dir / "missing" / "var.xml", "x");
  EXPECT_TRUE(error);
  EXPECT_FALSE(error.message().empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

#ifndef _WIN32
// A private file stays private when it is saved again; a new file gets the
// usual permissions.
TEST(AtomicFile, KeepsThePermissionsOfTheFileItReplaces) {
  TempDir dir;
  namespace fs = std::filesystem;
  const auto file = dir / "var.xml";
  ASSERT_FALSE(write_file_atomically(file, "first"));
  const fs::perms fresh = fs::status(file).permissions();
  for (const fs::perms kept : {fs::perms::owner_read | fs::perms::owner_write,
                               fs::perms::owner_all | fs::perms::group_read, fresh}) {
    fs::permissions(file, kept);
    ASSERT_FALSE(write_file_atomically(file, "again"));
    EXPECT_EQ(fs::status(file).permissions(), kept);
    EXPECT_EQ(read_file(file), "again");
  }
}
#endif

}  // namespace
}  // namespace sw48230

#include "core/common/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "core/common/paths.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include "core/common/windows_api.h"
#endif

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
  const auto failure = write_file_atomically(dir / "missing" / "var.xml", "x");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(path_from_utf8(failure->file), dir / "missing" / "var.xml");
  EXPECT_FALSE(failure->reason.empty());
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

TEST(AtomicFile, CreatingANewFileNeverOpensOneThatIsThere) {
  TempDir dir;
  const auto file = dir / "ParGen.xml.tmp1";
  write_file(file, "another writer's");
  errno = 0;
  std::FILE* opened = create_new_file(file);
  EXPECT_EQ(opened, nullptr);
  EXPECT_EQ(errno, EEXIST);
  if (opened != nullptr) std::fclose(opened);
  EXPECT_EQ(read_file(file), "another writer's");
}

#ifdef _WIN32

// An updater or an editor reading bank2.bin, which Windows does not let a
// rename replace until that program closes it.
class HeldFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    write_file(file_, "old");
    reader_ = CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader_, INVALID_HANDLE_VALUE);
  }

  TempDir dir_;
  std::filesystem::path file_ = dir_ / "bank2.bin";
  HANDLE reader_ = INVALID_HANDLE_VALUE;
};

TEST_F(HeldFileTest, IsReplacedOnceTheReaderClosesIt) {
  std::thread closing([this] {
    Sleep(200);
    CloseHandle(reader_);
  });
  const auto failure = write_file_atomically(file_, "new");
  closing.join();
  EXPECT_FALSE(failure) << failure->reason;
  EXPECT_EQ(read_file(file_), "new");
  EXPECT_EQ(entries_in(dir_.path()), 1u);
}

TEST_F(HeldFileTest, HeldTooLongIsReportedAndKept) {
  const auto failure = write_file_atomically(file_, "new");
  CloseHandle(reader_);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->reason, std::make_error_code(std::errc::permission_denied).message());
  EXPECT_EQ(read_file(file_), "old");
  EXPECT_EQ(entries_in(dir_.path()), 1u);
}

#endif

}  // namespace
}  // namespace sw48230

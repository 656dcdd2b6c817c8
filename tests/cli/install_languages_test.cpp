// install-languages, which ./run.sh runs before every start of the
// configurator: what it cannot read is named and left alone without failing
// the start; what it cannot write fails it.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>

#include "support/small_tmpfs.h"
#endif

#include "cli/run_cli.h"
#include "core/common/paths.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;

class InstallLanguages : public ::testing::Test {
 protected:
  InstallLanguages() {
    fs::create_directories(shipped_);
    fs::create_directories(language_);
    test::write_file(shipped_ / "Deutsch.lng", "STR0 = Anfang\r\n");
    test::write_file(shipped_ / "English.lng", "STR0 = Begin\r\n");
  }
  test::CliRun install() {
    return test::run_cli(temp_.path(), {"install-languages", path_to_utf8(shipped_), path_to_utf8(language_)});
  }
  std::string in_language(const char* name) const { return path_to_utf8(language_ / name); }

  test::TempDir temp_;
  fs::path shipped_ = temp_ / "shipped";
  fs::path language_ = temp_ / "LANGUAGE";
};

TEST_F(InstallLanguages, WhatCannotBeReadIsNamedAndTheRestInstalled) {
  const std::string is_a_directory = std::make_error_code(std::errc::is_a_directory).message();
  const struct {
    const char* name;
    std::function<void(const fs::path& language)> setup;
    const char* entry;  // in LANGUAGE, named on standard error
    std::string reason;
    bool english_only;  // Deutsch.lng was left alone; else both are installed
  } cases[] = {
      {"a folder named Deutsch.lng", [](const fs::path& l) { fs::create_directory(l / "Deutsch.lng"); }, "Deutsch.lng",
       is_a_directory, true},
#ifndef _WIN32
      {"a FIFO named Deutsch.lng", [](const fs::path& l) { ::mkfifo((l / "Deutsch.lng").c_str(), 0600); },
       "Deutsch.lng", "not a regular file", true},
      {"a FIFO named .shipped", [](const fs::path& l) { ::mkfifo((l / ".shipped").c_str(), 0600); }, ".shipped",
       "not a regular file", false},
      {"a link to /dev/zero named Deutsch.lng",
       [](const fs::path& l) { fs::create_symlink("/dev/zero", l / "Deutsch.lng"); }, "Deutsch.lng",
       "not a regular file", true},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(language_);
    fs::create_directories(language_);
    c.setup(language_);
    const test::CliRun run = install();
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "sw48230-cli: skipped " + in_language(c.entry) + ": " + c.reason + "\n");
    EXPECT_EQ(test::read_file(language_ / "English.lng"), "STR0 = Begin\r\n");
    EXPECT_EQ(fs::is_regular_file(language_ / "Deutsch.lng"), !c.english_only);
  }
}

TEST_F(InstallLanguages, AManifestThatCannotBeReplacedFails) {
  fs::create_directory(language_ / ".shipped");
  const test::CliRun run = install();
  EXPECT_EQ(run.exit_code, 1);
  const std::string manifest = in_language(".shipped");
  const std::string reason = std::make_error_code(std::errc::is_a_directory).message();
  EXPECT_EQ(run.err.rfind("sw48230-cli: skipped " + manifest + ": " + reason + "\nsw48230-cli: " + manifest +
                              " cannot be written: ",
                          0),
            0u)
      << run.err;
  EXPECT_EQ(test::read_file(language_ / "English.lng"), "STR0 = Begin\r\n");
}

#ifndef _WIN32
// A folder that is up to date needs no write; a new release does.
TEST_F(InstallLanguages, AReadOnlyLanguageFolderFailsOnlyWhenSomethingIsToBeWritten) {
  test::SmallTmpfs tmpfs(language_, 64 * 1024);
  if (!tmpfs.error().empty()) GTEST_SKIP() << tmpfs.error();
  ASSERT_EQ(install().exit_code, 0);
  ASSERT_TRUE(tmpfs.make_read_only());
  const test::CliRun up_to_date = install();
  EXPECT_EQ(up_to_date.exit_code, 0);
  EXPECT_EQ(up_to_date.err, "");

  test::write_file(shipped_ / "Deutsch.lng", "STR0 = Beginn\r\n");
  test::write_file(shipped_ / "Italiano.lng", "STR0 = Inizio\r\n");
  const test::CliRun release = install();
  EXPECT_EQ(release.exit_code, 1);
  const std::string reason = std::make_error_code(std::errc::read_only_file_system).message();
  EXPECT_EQ(release.err, "sw48230-cli: " + in_language("Deutsch.lng") + " cannot be written: " + reason +
                             "\nsw48230-cli: " + in_language("Italiano.lng") + " cannot be written: " + reason + "\n");
  EXPECT_EQ(test::read_file(language_ / "Deutsch.lng"), "STR0 = Anfang\r\n");
}
#endif

}  // namespace
}  // namespace sw48230

// The tool on inputs that are not what they claim to be (FIFOs, devices,
// huge files, folders and links in place of files) and on outputs that
// cannot be written.

#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "core/commsettings/comm_settings.h"
#include "support/small_tmpfs.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string dip_switch_settings() {
  CommSettings settings;
  settings.Device_Type = 1;
  return ParGen_Document(settings);
}

TEST(CliInputs, FifosAndDevicesAreRefusedAtOnce) {
  test::TempDir dir;
  const std::string fifo = (dir / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::vector<std::string>> commands = {
      {"lint-lng", fifo}, {"messages", "--lng", fifo}, {"dump", fifo},
      {"lint-lng", "/dev/zero"}, {"messages", "--lng", "/dev/zero"}, {"dump", "/dev/zero"},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args.front() + " " + args.back());
    const test::CliRun run = test::run_cli(dir.path(), args);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "sw48230-cli: cannot read " + args.back() + ": not a regular file\n");
  }
}

TEST(CliInputs, ALanguageFileLargerThanTheLimitIsRefused) {
  test::TempDir dir;
  const fs::path file = dir / "huge.lng";
  test::write_file(file, std::string(5 * 1024 * 1024, '\n'));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"lint-lng", file.string()}, {"messages", "--lng", file.string()}}) {
    const test::CliRun run = test::run_cli(dir.path(), args);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "sw48230-cli: cannot read " + file.string() + ": larger than the limit of 4194304 bytes\n");
  }
}

// Runs the tool with its standard output on /dev/full.
int exit_code_on_full_output(const std::vector<std::string>& args, const fs::path& err_file) {
  std::string command = std::string("'") + SW48230_CLI + "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " >/dev/full 2>'" + err_file.string() + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliOutput, AnOutputThatCannotBeWrittenFailsEveryCommand) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "this system has no /dev/full";
  test::TempDir dir;
  const fs::path project = dir / "project";
  fs::create_directory(project);
  test::write_file(project / "ParGen.xml", dip_switch_settings());
  test::write_file(dir / "ok.lng", "STR0 = Start\n");
  const std::vector<std::vector<std::string>> commands = {
      {"messages"},
      {"lint-lng", (dir / "ok.lng").string()},
      {"check", project.string()},
      {"build", project.string()},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args.front());
    const fs::path err = dir / "err.txt";
    EXPECT_EQ(exit_code_on_full_output(args, err), 1);
    EXPECT_TRUE(contains(test::read_file(err), "sw48230-cli: cannot write the output")) << test::read_file(err);
  }
  // dump needs the image just built.
  const fs::path err = dir / "err.txt";
  EXPECT_EQ(exit_code_on_full_output({"dump", (project / "bin" / "bank2.bin").string()}, err), 1);
  EXPECT_TRUE(contains(test::read_file(err), "sw48230-cli: cannot write the output")) << test::read_file(err);
}

class BuildPlaces : public ::testing::Test {
 public:
  BuildPlaces() {
    fs::create_directory(project_);
    test::write_file(project_ / "ParGen.xml", dip_switch_settings());
    test::write_file(project_ / "var.xml", test::table_document({test::screen_row()}));
  }
  test::CliRun build() { return test::run_cli(temp_.path(), {"build", project_.string()}); }

  test::TempDir temp_;
  fs::path project_ = temp_ / "project";
};

TEST_F(BuildPlaces, ParGenAsAFifoIsRefusedAtOnce) {
  fs::remove(project_ / "ParGen.xml");
  ASSERT_EQ(::mkfifo((project_ / "ParGen.xml").c_str(), 0600), 0);
  const test::CliRun built = build();
  EXPECT_EQ(built.exit_code, 1);
  EXPECT_TRUE(contains(built.err, "ParGen.xml: cannot be read: not a regular file")) << built.err;
  EXPECT_FALSE(fs::exists(project_ / "bin"));
}

TEST_F(BuildPlaces, BinAsAFileIsReported) {
  test::write_file(project_ / "bin", "a file");
  const test::CliRun built = build();
  EXPECT_EQ(built.exit_code, 1);
  EXPECT_EQ(built.err, "sw48230-cli: cannot create " + (project_ / "bin").string() + ": " +
                           std::make_error_code(std::errc::file_exists).message() + "\n");
  EXPECT_EQ(test::read_file(project_ / "bin"), "a file");
}

// The link itself is replaced by the image; the file it pointed to, which
// may belong to anything, is never written.
TEST_F(BuildPlaces, Bank2AsASymlinkIsReplacedAndItsTargetKept) {
  fs::create_directory(project_ / "bin");
  test::write_file(temp_ / "elsewhere.txt", "not an image");
  fs::create_symlink(temp_ / "elsewhere.txt", project_ / "bin" / "bank2.bin");
  const test::CliRun built = build();
  ASSERT_EQ(built.exit_code, 0) << built.err;
  EXPECT_FALSE(fs::is_symlink(project_ / "bin" / "bank2.bin"));
  EXPECT_EQ(fs::file_size(project_ / "bin" / "bank2.bin"), 34816u);
  EXPECT_EQ(test::read_file(temp_ / "elsewhere.txt"), "not an image");
}

// A build on a disk that is full or read-only keeps the old image.
TEST_F(BuildPlaces, FullOrReadOnlyDiskKeepsTheOldImage) {
  for (const bool read_only : {false, true}) {
    SCOPED_TRACE(read_only ? "read-only" : "full");
    const fs::path bin = project_ / "bin";
    fs::create_directory(bin);
    test::SmallTmpfs tmpfs(bin, 128 * 1024);
    if (!tmpfs.error().empty()) GTEST_SKIP() << tmpfs.error();
    test::write_file(bin / "bank2.bin", "old image");
    if (read_only) {
      ASSERT_TRUE(tmpfs.make_read_only());
    } else {
      tmpfs.fill();
    }
    const test::CliRun built = build();
    EXPECT_EQ(built.exit_code, 1);
    EXPECT_TRUE(contains(built.err, (bin / "bank2.bin").string() + " cannot be written: ")) << built.err;
    EXPECT_EQ(test::read_file(bin / "bank2.bin"), "old image");
  }
}

}  // namespace
}  // namespace sw48230

#endif

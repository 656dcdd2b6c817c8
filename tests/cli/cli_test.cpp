#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/i18n/message_table.h"
#include "run_cli.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

using RunResult = sw48230::test::CliRun;

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const auto end = text.find('\n', begin);
    if (end == std::string::npos) {
      lines.push_back(text.substr(begin));  // an unterminated last line
      break;
    }
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

class CliTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path file = dir_ / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

  RunResult run(const std::vector<std::string>& args) { return sw48230::test::run_cli(dir_, args); }

  sw48230::test::TempDir temp_;
  const fs::path& dir_ = temp_.path();
};

TEST_F(CliTest, VersionAndHelp) {
  const RunResult version = run({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "sw48230-cli 2.007\n");

  for (const char* flag : {"--help", "-h"}) {
    SCOPED_TRACE(flag);
    const RunResult help = run({flag});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("messages [--lng FILE]"), std::string::npos);
    EXPECT_NE(help.out.find("lint-lng FILE"), std::string::npos);
    EXPECT_EQ(help.err, "");
  }
}

TEST_F(CliTest, WrongCommandLineShowsUsageAndExits2) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"--verbose"},
      {"--version", "extra"},
      {"messages", "extra"},
      {"messages", "--lng"},
      {"messages", "--lng", "a.lng", "--lng", "b.lng"},
      {"messages", "--LNG", "a.lng"},
      {"lint-lng"},
      {"lint-lng", "a.lng", "b.lng"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& arg : args) joined += arg + ' ';
    SCOPED_TRACE(joined);
    const RunResult result = run(args);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("Usage:"), std::string::npos);
  }
}

TEST_F(CliTest, MessagesPrintsTheDefaults) {
  const RunResult result = run({"messages"});
  ASSERT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.err, "");
  ASSERT_FALSE(result.out.empty());
  EXPECT_EQ(result.out.back(), '\n');
  const std::vector<std::string> lines = split_lines(result.out);
  ASSERT_EQ(lines.size(), 597u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i], std::to_string(i) + "\t" + sw48230::default_messages()[i]);
  }
  EXPECT_EQ(lines[44], "44\t / ");
  EXPECT_EQ(lines[9], "9\tNone Configuration Opened ");
}

TEST_F(CliTest, MessagesAppliesTheLanguageFileAndEscapes) {
  const std::string file = write("Test.lng",
                                 "STR0 = Anfang\r\n"
                                 "STR5 = a\tb\\c\r\n"
                                 "STR9 = \xB6 Leer \xB6\r\n"
                                 "STR600 = ignored\r\n");
  const RunResult result = run({"messages", "--lng", file});
  ASSERT_EQ(result.exit_code, 0);
  const std::vector<std::string> lines = split_lines(result.out);
  ASSERT_EQ(lines.size(), 597u);
  EXPECT_EQ(lines[0], "0\tAnfang");
  EXPECT_EQ(lines[1], "1\tStep 1");
  EXPECT_EQ(lines[5], "5\ta\\tb\\\\c");
  EXPECT_EQ(lines[9], "9\t Leer ");
  EXPECT_EQ(lines[491], "491\t" + sw48230::default_messages()[491]);
}

TEST_F(CliTest, MessagesFailsOnAnUnreadableFile) {
  fs::create_directory(dir_ / "folder.lng");
  for (const std::string& file : {(dir_ / "missing.lng").string(), (dir_ / "folder.lng").string()}) {
    SCOPED_TRACE(file);
    const RunResult result = run({"messages", "--lng", file});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(file), std::string::npos);
  }
}

TEST_F(CliTest, LintLngAcceptsAGoodFile) {
  const std::string file =
      write("Good.lng", "; comment\r\nSTR0 = Anfang\r\n\r\nSTR1 = Schritt 1\r\nSTR1 = Schritt eins\r\n");
  const RunResult result = run({"lint-lng", file});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, file + ": 3 entries, 0 ignored lines\n");
}

TEST_F(CliTest, LintLngListsEveryIgnoredLine) {
  const std::string file = write("Bad.lng",
                                 "STR0 = fine\r\n"
                                 "STR1=no blank\r\n"
                                 "STR2 text\n"
                                 "str3 = lower case is no STR line\r"
                                 "STRab = y\r\n"
                                 "STR597 = far\r\n"
                                 "STR5 =\r\n"
                                 "STR6 = /#/ only a note\r\n");
  const RunResult result = run({"lint-lng", file});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, file + ":2: index field is empty\n" +  //
                            file + ":3: no \"=\"\n" +          //
                            file + ":5: index field \"ab\" is not a number\n" + file +
                            ":6: index 597 is out of range 0..596\n" +  //
                            file + ":7: text is empty\n" +              //
                            file + ":8: text is only a comment\n");
}

TEST_F(CliTest, LintLngFailsOnAMissingFile) {
  const std::string file = (dir_ / "missing.lng").string();
  const RunResult result = run({"lint-lng", file});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(file), std::string::npos);
}

}  // namespace

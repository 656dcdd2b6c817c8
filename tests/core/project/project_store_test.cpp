#include "core/project/project_store.h"

#include <gtest/gtest.h>

#include "core/common/paths.h"
#include "core/i18n/failure_messages.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::TempDir;
using test::write_file;

TEST(ProjectName, PortableNames) {
  const struct {
    const char* name;
    bool portable;
  } cases[] = {
      {"Plant1", true},
      {"Linea 3 - Nord", true},
      {"Impianto_\xC3\xA8", true},
      {".hidden", false},
      {"a.b", true},
      {"CONSOLE", true},
      {"COM10", true},
      {"", false},
      {".", false},
      {"..", false},
      {"a/b", false},
      {"a\\b", false},
      {"../Plant1", false},
      {"C:", false},
      {"a<b", false},
      {"a>b", false},
      {"a\"b", false},
      {"a|b", false},
      {"a?b", false},
      {"a*b", false},
      {"tab\there", false},
      {"Plant1.", false},
      {"Plant1 ", false},
      {"CON", false},
      {"con.txt", false},
      {"Nul", false},
      {"COM1", false},
      {"lpt9", false},
      {"AUX.backup.xml", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Is_Portable_Project_Name(c.name), c.portable) << '"' << c.name << '"';
  }
}

TEST(CreateProject, CreatesTheFolderWithAnEmptyBinFolder) {
  TempDir projects;
  const Result<std::filesystem::path> result = Create_Project(projects.path(), "Plant1");
  ASSERT_TRUE(result) << result.failure().text;
  EXPECT_EQ(*result, projects / "Plant1");
  EXPECT_TRUE(std::filesystem::is_directory(projects / "Plant1" / "bin"));
  EXPECT_TRUE(std::filesystem::is_empty(projects / "Plant1" / "bin"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(projects / "Plant1"), {}), 1);
}

TEST(CreateProject, RefusalsInTheirOrder) {
  TempDir projects;
  std::filesystem::create_directory(projects / "Plant1");
  write_file(projects / "notes.txt", "");
  const struct {
    const char* name;
    int message;
  } cases[] = {
      {"", Msg_Name_Empty},
      {"Plant1", Msg_Name_Exists},
      {"PLANT1", Msg_Name_Exists},  // would be the same folder on Windows
      {"Notes.TXT", Msg_Name_Exists},
      {"..", Msg_Name_Not_Valid},
      {"Plant1/sub", Msg_Name_Not_Valid},  // would nest inside an existing project
      {"a:b", Msg_Name_Not_Valid},
      {" ", Msg_Name_Not_Valid},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<std::filesystem::path> result = Create_Project(projects.path(), c.name);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.failure().text, c.message);
  }
  EXPECT_FALSE(std::filesystem::exists(projects / "Plant1" / "sub"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(projects.path()), {}), 2);
}

TEST(CreateProject, AVanishedProjectsFolderIsCreatedAgain) {
  TempDir dir;
  const Result<std::filesystem::path> result = Create_Project(dir / "PROJECTS", "Plant1");
  EXPECT_TRUE(result);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "PROJECTS" / "Plant1" / "bin"));
}

// The name is fine there; what failed is the folder, and the user is told
// which one and why.
TEST(CreateProject, AFolderThatCannotBeCreatedIsNamedWithTheReason) {
  TempDir dir;
  write_file(dir / "PROJECTS", "a file where the folder belongs");
  std::filesystem::create_directory(dir / "Other");
  const std::string long_name(300, 'x');
  const struct {
    std::filesystem::path projects;
    std::string name;
    std::filesystem::path failed;
    std::errc reason;
  } cases[] = {
      {dir / "PROJECTS", "Plant1", dir / "PROJECTS", std::errc::file_exists},
      {dir / "Other", long_name, dir / "Other" / long_name, std::errc::filename_too_long},
      {dir / "gone" / "PROJECTS", "Plant1", dir / "gone" / "PROJECTS", std::errc::no_such_file_or_directory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failed);
    const Result<std::filesystem::path> result = Create_Project(c.projects, c.name);
    ASSERT_FALSE(result);
    const Failure& failure = result.failure();
    EXPECT_EQ(failure.text, Msg_Folder_Not_Created);
    EXPECT_EQ(path_from_utf8(failure.file), c.failed);
#ifdef _WIN32
    // Windows' versions name a too long name's failure in different ways
    // (Wine as a missing path): there it only has to be one.
    if (c.reason == std::errc::filename_too_long) {
      EXPECT_FALSE(failure.reason.empty());
      continue;
    }
#endif
    EXPECT_EQ(failure.reason, std::make_error_code(c.reason).message());
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir / "Other"));
}

TEST(ListProjects, FoldersOnlySortedIgnoringCaseWithoutHiddenOnes) {
  TempDir projects;
  for (const char* name : {"beta", "Alpha", "gamma", "ALPHA2", ".git", "Zeta"}) {
    std::filesystem::create_directory(projects / name);
  }
  write_file(projects / "aaa.txt", "");
  EXPECT_EQ(List_Projects(projects.path()), (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "gamma", "Zeta"}));
  EXPECT_TRUE(List_Projects(projects / "missing").empty());
}

TEST(PreselectProject, ActiveProjectIgnoringCaseElseTheFirst) {
  const std::vector<std::string> projects = {"Alpha", "PLANT1", "Plant1x"};
  EXPECT_EQ(Preselect_Project(projects, "Plant1"), 1u);
  EXPECT_EQ(Preselect_Project(projects, "alpha"), 0u);
  EXPECT_EQ(Preselect_Project(projects, ""), 0u);
  EXPECT_EQ(Preselect_Project(projects, "Gone"), 0u);
  EXPECT_EQ(Preselect_Project({}, "Plant1"), std::nullopt);
}

}  // namespace
}  // namespace sw48230

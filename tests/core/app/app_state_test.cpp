#include "core/app/app_state.h"

#include <gtest/gtest.h>

#include "core/i18n/message_table.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::TempDir;
using test::write_file;

TEST(StartUp, FirstStartInAnEmptyFolder) {
  TempDir program;
  AppState state;
  MessageTable messages;
  EXPECT_FALSE(Start_Up(state, messages, program.path()));

  for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"}) {
    EXPECT_TRUE(std::filesystem::is_directory(program / folder)) << folder;
  }
  EXPECT_EQ(state.Projects_Dir, program / "PROJECTS");
  EXPECT_EQ(state.Project_Name, "");
  EXPECT_TRUE(state.Project_Dir.empty());
  EXPECT_EQ(state.Language_Name, "English");
  EXPECT_FALSE(Update_Timer_Enabled(state));
  EXPECT_EQ(messages.Message_Count(), Default_Message_Count);
  EXPECT_EQ(messages.text(9), "None Configuration Opened ");
  EXPECT_EQ(state.settings_file(), program / "Velstrom.xml");
}

TEST(StartUp, ReopensTheLastProjectOnlyWhenItsFolderExists) {
  TempDir program;
  write_file(program / "Velstrom.xml",
             "<Conf_Settings><lastproj><projectname>Plant1</projectname></lastproj>"
             "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update></lastinternet>"
             "</Conf_Settings>");
  {
    AppState state;
    MessageTable messages;
    EXPECT_FALSE(Start_Up(state, messages, program.path()));
    EXPECT_EQ(state.Project_Name, "Plant1");  // kept, so it is stored again at exit
    EXPECT_TRUE(state.Project_Dir.empty());
    EXPECT_TRUE(Update_Timer_Enabled(state));
  }
  std::filesystem::create_directories(program / "PROJECTS" / "Plant1");
  AppState state;
  MessageTable messages;
  EXPECT_TRUE(Start_Up(state, messages, program.path()));
  EXPECT_EQ(state.Project_Dir, program / "PROJECTS" / "Plant1");
}

TEST(StartUp, AMissingLanguageFallsBackToEnglish) {
  TempDir program;
  write_file(program / "Velstrom.xml", "<C><lastlang><language>Klingon</language></lastlang></C>");
  std::filesystem::create_directories(program / "LANGUAGE");
  write_file(program / "LANGUAGE" / "English.lng", "STR0 = Start here\r\n");
  AppState state;
  MessageTable messages;
  Start_Up(state, messages, program.path());
  EXPECT_EQ(state.Language_Name, "English");
  EXPECT_EQ(messages.text(0), "Start here");
}

TEST(OpenProject, AnEmptyNameLeavesNoProjectOpen) {
  AppState state;
  state.Projects_Dir = "PROJECTS";
  Open_Project(state, "Plant1");
  EXPECT_TRUE(state.project_open());
  EXPECT_EQ(state.Project_Dir, std::filesystem::path("PROJECTS") / "Plant1");
  Open_Project(state, "");
  EXPECT_FALSE(state.project_open());
  EXPECT_EQ(state.Project_Name, "");
}

}  // namespace
}  // namespace sw48230

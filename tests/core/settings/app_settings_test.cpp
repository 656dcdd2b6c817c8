#include "core/settings/app_settings.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

constexpr const char* Default_File =
    "<Conf_Settings><lastproj><projectname></projectname></lastproj>"
    "<lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
    "<lastlang><language>English</language></lastlang>"
    "<lastinternet><enable_internet>0</enable_internet><enable_update>0</enable_update>"
    "<enable_jump_field_tables>0</enable_jump_field_tables>"
    "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>";

AppSettings with(std::function<void(AppSettings&)> change) {
  AppSettings settings;
  change(settings);
  return settings;
}

TEST(AppSettings, ReadsEachItemOnItsOwnWithItsDefault) {
  const struct {
    const char* name;
    const char* content;
    AppSettings expected;
  } cases[] = {
      {"not well-formed", "<Conf_Settings><lastlang>", {}},
      {"empty file", "", {}},
      {"only a language", "<Conf_Settings><lastlang><language>Deutsch</language></lastlang></Conf_Settings>",
       with([](AppSettings& s) { s.Language_Name = "Deutsch"; })},
      {"any root name",
       "<?xml version=\"1.0\"?><!-- c --><Other><lastproj><projectname>Plant1</projectname></lastproj></Other>",
       with([](AppSettings& s) { s.Project_Name = "Plant1"; })},
      {"texts kept unchanged, even empty",
       "<R><lastproj><projectname> Plant 1 </projectname></lastproj><lastipadd><ipaddress/></lastipadd>"
       "<lastlang><language></language></lastlang></R>",
       with([](AppSettings& s) {
         s.Project_Name = " Plant 1 ";
         s.Last_IP_Address = "";
         s.Language_Name = "";
       })},
      {"only the exact text 1 is on",
       "<R><lastinternet><enable_internet>1</enable_internet><enable_update>yes</enable_update>"
       "<enable_jump_field_tables> 1</enable_jump_field_tables><Double_Click_Auto_Size>true"
       "</Double_Click_Auto_Size></lastinternet></R>",
       with([](AppSettings& s) { s.enable_internet = true; })},
      {"a missing flag does not hide the others",
       "<R><lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
       "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet></R>",
       with([](AppSettings& s) { s.enable_internet = s.enable_update = s.Double_Click_Auto_Size = true; })},
      {"items outside their section are not found",
       "<R><projectname>Plant1</projectname><lastproj/><language>Deutsch</language></R>",
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    write_file(dir / "Velstrom.xml", c.content);
    EXPECT_EQ(Read_Settings(dir / "Velstrom.xml"), c.expected);
  }
}

TEST(AppSettings, AMissingFileGivesTheDefaults) {
  TempDir dir;
  const AppSettings settings = Read_Settings(dir / "Velstrom.xml");
  EXPECT_EQ(settings, AppSettings{});
  EXPECT_EQ(settings.Project_Name, "");
  EXPECT_EQ(settings.Last_IP_Address, "192.168.2.205");
  EXPECT_EQ(settings.Language_Name, "English");
  EXPECT_FALSE(settings.enable_internet || settings.enable_update || settings.enable_jump_field_tables ||
               settings.Double_Click_Auto_Size);
}

TEST(AppSettings, WritesTheWholeTreeInItsOrder) {
  TempDir dir;
  ASSERT_FALSE(Save_Setting(dir / "Velstrom.xml", AppSettings{}));
  EXPECT_EQ(read_file(dir / "Velstrom.xml"), Default_File);
}

TEST(AppSettings, WhatIsWrittenIsReadBack) {
  TempDir dir;
  const AppSettings settings = with([](AppSettings& s) {
    s.Project_Name = "Linea <2> & \"Nord\" \xC3\xA4";
    s.Last_IP_Address = "10.0.0.7";
    s.Language_Name = "Italiano";
    s.enable_update = true;
    s.enable_jump_field_tables = true;
  });
  ASSERT_FALSE(Save_Setting(dir / "Velstrom.xml", settings));
  EXPECT_EQ(Read_Settings(dir / "Velstrom.xml"), settings);
}

TEST(AppSettings, AFailedWriteIsReported) {
  TempDir dir;
  EXPECT_TRUE(Save_Setting(dir / "missing" / "Velstrom.xml", AppSettings{}));
}

}  // namespace
}  // namespace sw48230

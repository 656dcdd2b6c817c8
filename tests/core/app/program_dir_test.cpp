#include "core/app/program_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace sw48230 {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::TempDir;
using test::write_file;

struct ChoiceCase {
  const char* name;
  Platform platform;
  ProgramDirFacts facts;
  ProgramDirKind kind;
  fs::path dir;
  fs::path shipped_languages;
};

// Builds the facts of one case in a line.
struct Facts {
  ProgramDirFacts facts;
  Facts& given(const fs::path& dir) { return facts.given = dir, *this; }
  Facts& exe(const fs::path& dir, bool writable) {
    facts.executable_dir = dir;
    facts.executable_dir_writable = writable;
    return *this;
  }
  Facts& with_data() { return facts.executable_dir_holds_data = true, *this; }
  Facts& installed() { return facts.installed_languages_present = true, *this; }
  Facts& xdg(const std::string& value) { return facts.xdg_data_home = value, *this; }
  Facts& home(const std::string& value) { return facts.home = value, *this; }
  Facts& local_app_data(const std::string& value) { return facts.local_app_data = value, *this; }
  Facts& user_profile(const std::string& value) { return facts.user_profile = value, *this; }
};

TEST(ChooseProgramDir, PicksGivenPortableOrPerUserFolder) {
  const fs::path installed_languages = "/usr/share/sw48230/LANGUAGE";
  const fs::path win = R"(C:\Tools\SW48230)";
  const std::string local = R"(C:\Users\ann\AppData\Local)";
  const auto posix_installed = [] { return Facts().exe("/usr/bin", false).installed(); };
  const ChoiceCase cases[] = {
      {"given wins over a portable copy",
       Platform::Posix,
       Facts().given("/data/plant").exe("/opt/sw", true).with_data().home("/home/ann").facts,
       ProgramDirKind::Given,
       "/data/plant",
       {}},
      {"portable copy",
       Platform::Posix,
       Facts().exe("/opt/sw", true).with_data().home("/home/ann").facts,
       ProgramDirKind::Executable,
       "/opt/sw",
       {}},
      {"writable folder without data is not a portable copy", Platform::Posix,
       Facts().exe("/opt/sw", true).home("/home/ann").facts, ProgramDirKind::PerUser, "/home/ann/.local/share/SW48230",
       "/opt/sw/LANGUAGE"},
      {"data in a read-only folder", Platform::Posix, posix_installed().with_data().home("/home/ann").facts,
       ProgramDirKind::PerUser, "/home/ann/.local/share/SW48230", installed_languages},
      {"installed, XDG_DATA_HOME set", Platform::Posix, posix_installed().xdg("/xdg").home("/home/ann").facts,
       ProgramDirKind::PerUser, "/xdg/SW48230", installed_languages},
      {"relative XDG_DATA_HOME is ignored", Platform::Posix, posix_installed().xdg("xdg").home("/home/ann").facts,
       ProgramDirKind::PerUser, "/home/ann/.local/share/SW48230", installed_languages},
      {"no home at all keeps the program's folder",
       Platform::Posix,
       posix_installed().xdg("rel").facts,
       ProgramDirKind::Executable,
       "/usr/bin",
       {}},
      {"Windows local application data", Platform::Windows,
       Facts().exe(win, false).home("/home/ann").local_app_data(local).user_profile(R"(C:\Users\ann)").facts,
       ProgramDirKind::PerUser, fs::path(local) / "SW48230", win / "LANGUAGE"},
      {"Windows falls back to the user profile", Platform::Windows,
       Facts().exe(win, false).local_app_data("AppData").user_profile(R"(\\srv\ann)").facts, ProgramDirKind::PerUser,
       fs::path(R"(\\srv\ann)") / "AppData" / "Local" / "SW48230", win / "LANGUAGE"},
      {"Windows portable copy",
       Platform::Windows,
       Facts().exe(win, true).with_data().local_app_data(local).facts,
       ProgramDirKind::Executable,
       win,
       {}},
      {"Windows ignores HOME",
       Platform::Windows,
       Facts().exe(win, false).home("/home/ann").facts,
       ProgramDirKind::Executable,
       win,
       {}},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramDirChoice choice = Choose_Program_Dir(c.facts, c.platform);
    EXPECT_EQ(choice.kind, c.kind);
    EXPECT_EQ(choice.dir, c.dir);
    EXPECT_EQ(choice.shipped_languages, c.shipped_languages);
  }
}

class ShippedLanguageRefresh : public ::testing::Test {
 protected:
  void ship(const std::string& name, const std::string& text) { write_file(shipped_ / name, text); }
  fs::path shipped() const { return shipped_; }
  fs::path target(const std::string& name) const { return language_ / name; }
  std::vector<std::string> refresh() { return Refresh_Shipped_Languages(shipped_, language_); }

  TempDir root_;
  fs::path shipped_ = root_ / "share";
  fs::path language_ = root_ / "LANGUAGE";

  void SetUp() override {
    fs::create_directories(shipped_);
    fs::create_directories(language_);
  }
};

TEST_F(ShippedLanguageRefresh, FirstStartCopiesEveryShippedFile) {
  ship("Deutsch.lng", "STR0 = Beginn\r\n");
  ship("Deutsch.bmp", std::string("BM\0\x01", 4));
  ship("README.txt", "not a language");
  EXPECT_TRUE(refresh().empty());
  EXPECT_FALSE(fs::exists(target("README.txt")));
  EXPECT_EQ(read_file(target("Deutsch.lng")), "STR0 = Beginn\r\n");
  EXPECT_EQ(read_file(target("Deutsch.bmp")), std::string("BM\0\x01", 4));
  EXPECT_TRUE(fs::exists(target(Shipped_Manifest_Name)));
}

TEST_F(ShippedLanguageRefresh, AnUpgradeReplacesOnlyFilesTheUserLeftAlone) {
  ship("Deutsch.lng", "STR0 = Beginn\r\n");
  ship("Italiano.lng", "STR0 = Inizio\r\n");
  ship("Removed.lng", "STR0 = gone\r\n");
  refresh();

  write_file(target("Italiano.lng"), "STR0 = Comincia\r\n");  // the user's translation
  fs::remove(target("Removed.lng"));
  write_file(target("Mine.lng"), "STR0 = mine\r\n");
  write_file(target("Espanol.lng"), "STR0 = Empezar (own)\r\n");  // before it was ever shipped

  ship("Deutsch.lng", "STR0 = Anfang\r\n");
  ship("Italiano.lng", "STR0 = Avvio\r\n");
  ship("Espanol.lng", "STR0 = Inicio\r\n");
  EXPECT_EQ(refresh(), (std::vector<std::string>{"Espanol.lng", "Italiano.lng"}));

  EXPECT_EQ(read_file(target("Deutsch.lng")), "STR0 = Anfang\r\n");
  EXPECT_EQ(read_file(target("Italiano.lng")), "STR0 = Comincia\r\n");
  EXPECT_EQ(read_file(target("Espanol.lng")), "STR0 = Empezar (own)\r\n");
  EXPECT_EQ(read_file(target("Mine.lng")), "STR0 = mine\r\n");
  EXPECT_EQ(read_file(target("Removed.lng")), "STR0 = gone\r\n");  // missing files come back

  // The kept files stay the user's at every later start too.
  ship("Italiano.lng", "STR0 = Partenza\r\n");
  refresh();
  EXPECT_EQ(read_file(target("Italiano.lng")), "STR0 = Comincia\r\n");
}

TEST_F(ShippedLanguageRefresh, AFileTheUserRestoredToTheShippedTextIsUpdatedAgain) {
  ship("Deutsch.lng", "STR0 = Beginn\r\n");
  write_file(target("Deutsch.lng"), "STR0 = Beginn\r\n");  // same text, copied by hand
  refresh();
  ship("Deutsch.lng", "STR0 = Anfang\r\n");
  refresh();
  EXPECT_EQ(read_file(target("Deutsch.lng")), "STR0 = Anfang\r\n");
}

TEST(PrepareProgramDir, CreatesThePerUserFolderAndFillsItsLanguages) {
  TempDir root;
  fs::create_directories(root / "share");
  write_file(root / "share" / "English.lng", "STR0 = Begin\r\n");
  const ProgramDirChoice per_user{ProgramDirKind::PerUser, root / "home" / ".local" / "share" / "SW48230",
                                  root / "share"};
  Prepare_Program_Dir(per_user);
  EXPECT_EQ(read_file(per_user.dir / "LANGUAGE" / "English.lng"), "STR0 = Begin\r\n");

  // A given or portable folder is the user's own: only created, never filled.
  for (const ProgramDirKind kind : {ProgramDirKind::Given, ProgramDirKind::Executable}) {
    const ProgramDirChoice own{kind, root / ("own" + std::to_string(static_cast<int>(kind))), root / "share"};
    Prepare_Program_Dir(own);
    EXPECT_TRUE(fs::is_directory(own.dir));
    EXPECT_FALSE(fs::exists(own.dir / "LANGUAGE"));
  }
}

TEST(PrepareProgramDir, AMissingShippedFolderLeavesLanguageEmpty) {
  TempDir root;
  Prepare_Program_Dir({ProgramDirKind::PerUser, root / "user", root / "nowhere"});
  EXPECT_TRUE(fs::is_directory(root / "user" / "LANGUAGE"));
  EXPECT_TRUE(fs::is_empty(root / "user" / "LANGUAGE"));
}

}  // namespace
}  // namespace sw48230

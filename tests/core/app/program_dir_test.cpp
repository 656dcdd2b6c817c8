#include "core/app/program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/common/file_read.h"
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
      {"given wins over a portable copy", Platform::Posix,
       Facts().given("/data/plant").exe("/opt/sw", true).with_data().home("/home/ann").facts, ProgramDirKind::Given,
       "/data/plant", "/opt/sw/LANGUAGE"},
      {"portable copy", Platform::Posix, Facts().exe("/opt/sw", true).with_data().home("/home/ann").facts,
       ProgramDirKind::Executable, "/opt/sw", "/opt/sw/LANGUAGE"},
      {"writable folder without data is not a portable copy", Platform::Posix,
       Facts().exe("/opt/sw", true).home("/home/ann").facts, ProgramDirKind::PerUser, "/home/ann/.local/share/SW48230",
       "/opt/sw/LANGUAGE"},
      {"data in a read-only folder", Platform::Posix, posix_installed().with_data().home("/home/ann").facts,
       ProgramDirKind::PerUser, "/home/ann/.local/share/SW48230", installed_languages},
      {"installed, XDG_DATA_HOME set", Platform::Posix, posix_installed().xdg("/xdg").home("/home/ann").facts,
       ProgramDirKind::PerUser, "/xdg/SW48230", installed_languages},
      {"relative XDG_DATA_HOME is ignored", Platform::Posix, posix_installed().xdg("xdg").home("/home/ann").facts,
       ProgramDirKind::PerUser, "/home/ann/.local/share/SW48230", installed_languages},
      {"no home at all keeps the program's folder", Platform::Posix, posix_installed().xdg("rel").facts,
       ProgramDirKind::Executable, "/usr/bin", installed_languages},
      {"Windows local application data", Platform::Windows,
       Facts().exe(win, false).home("/home/ann").local_app_data(local).user_profile(R"(C:\Users\ann)").facts,
       ProgramDirKind::PerUser, fs::path(local) / "SW48230", win / "LANGUAGE"},
      {"Windows falls back to the user profile", Platform::Windows,
       Facts().exe(win, false).local_app_data("AppData").user_profile(R"(\\srv\ann)").facts, ProgramDirKind::PerUser,
       fs::path(R"(\\srv\ann)") / "AppData" / "Local" / "SW48230", win / "LANGUAGE"},
      {"Windows portable copy", Platform::Windows, Facts().exe(win, true).with_data().local_app_data(local).facts,
       ProgramDirKind::Executable, win, win / "LANGUAGE"},
      {"Windows ignores HOME", Platform::Windows, Facts().exe(win, false).home("/home/ann").facts,
       ProgramDirKind::Executable, win, win / "LANGUAGE"},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramDirChoice choice = Choose_Program_Dir(c.facts, c.platform);
    EXPECT_EQ(choice.kind, c.kind);
    EXPECT_EQ(choice.dir, c.dir);
    EXPECT_EQ(choice.shipped_languages, c.shipped_languages);
  }
}

// "<file as the test names it>: <reason>" for each failure, the file relative
// to the test's folder.
std::vector<std::string> described(const std::vector<Failure>& failures, const fs::path& root = {}) {
  std::vector<std::string> lines;
  for (const Failure& failure : failures) {
    const fs::path file(failure.file);
    lines.push_back((root.empty() ? file : file.lexically_relative(root)).generic_string() + ": " + failure.reason);
  }
  return lines;
}

class ShippedLanguageRefresh : public ::testing::Test {
 protected:
  void ship(const std::string& name, const std::string& text) { write_file(shipped_ / name, text); }
  fs::path shipped() const { return shipped_; }
  fs::path target(const std::string& name) const { return language_ / name; }
  // The files kept as the user's; with good files nothing is skipped or fails.
  std::vector<std::string> refresh() {
    const LanguageRefresh report = Refresh_Shipped_Languages(shipped_, language_);
    EXPECT_EQ(described(report.skipped), std::vector<std::string>{});
    EXPECT_EQ(described(report.not_written), std::vector<std::string>{});
    return report.kept;
  }

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

// Something that is no readable file, in the shipped folder or in place of
// a shipped file or of the manifest in LANGUAGE, is named and left as it is;
// nothing waits for it or reads it past the limit, and the other files are
// installed all the same.
struct UnreadableCase {
  const char* name;
  std::function<void(const fs::path& shipped, const fs::path& language)> setup;
  std::vector<std::string> skipped;      // "<file below the test's folder>: <reason>"
  std::vector<std::string> not_written;  // files below the test's folder
  std::vector<std::string> installed;    // shipped copies in LANGUAGE afterwards
  std::function<bool(const fs::path& language)> left_alone;
};

std::string reason_of(std::errc error) { return std::make_error_code(error).message(); }

void make_folder(const fs::path& folder) { fs::create_directories(folder); }

#ifndef _WIN32
void make_fifo(const fs::path& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }
#endif

TEST(ShippedLanguageFaults, UnreadableEntriesAreSkippedAndNamed) {
  const std::string too_large = "larger than the limit of " + std::to_string(Language_File_Limit) + " bytes";
  const std::string huge(Language_File_Limit + 1, '\n');
  const UnreadableCase cases[] = {
      {"a folder in place of a shipped file",
       [](const fs::path&, const fs::path& language) { make_folder(language / "Deutsch.lng"); },
       {"LANGUAGE/Deutsch.lng: " + reason_of(std::errc::is_a_directory)},
       {},
       {"English.lng"},
       [](const fs::path& language) { return fs::is_directory(language / "Deutsch.lng"); }},
      {"a folder named like a language in the shipped folder",
       [](const fs::path& shipped, const fs::path&) { make_folder(shipped / "Magyar.lng"); },
       {"share/Magyar.lng: " + reason_of(std::errc::is_a_directory)},
       {},
       {"Deutsch.lng", "English.lng"},
       [](const fs::path& language) { return !fs::exists(language / "Magyar.lng"); }},
      {"a file of the user's over the limit",
       [&](const fs::path&, const fs::path& language) { write_file(language / "Deutsch.lng", huge); },
       {"LANGUAGE/Deutsch.lng: " + too_large},
       {},
       {"English.lng"},
       [](const fs::path& language) { return fs::file_size(language / "Deutsch.lng") == Language_File_Limit + 1; }},
      {"a shipped file over the limit",
       [&](const fs::path& shipped, const fs::path&) { write_file(shipped / "Huge.lng", huge); },
       {"share/Huge.lng: " + too_large},
       {},
       {"Deutsch.lng", "English.lng"},
       [](const fs::path& language) { return !fs::exists(language / "Huge.lng"); }},
      {"a folder as the manifest",
       [](const fs::path&, const fs::path& language) { make_folder(language / Shipped_Manifest_Name); },
       {"LANGUAGE/.shipped: " + reason_of(std::errc::is_a_directory)},
       {"LANGUAGE/.shipped"},
       {"Deutsch.lng", "English.lng"},
       [](const fs::path& language) { return fs::is_directory(language / Shipped_Manifest_Name); }},
      {"a file in place of the LANGUAGE folder",
       [](const fs::path&, const fs::path& language) {
         fs::remove(language);
         write_file(language, "not a folder");
       },
       {},
       {"LANGUAGE/Deutsch.lng", "LANGUAGE/English.lng"},
       {},
       [](const fs::path& language) { return read_file(language) == "not a folder"; }},
#ifndef _WIN32
      {"a FIFO in place of a shipped file",
       [](const fs::path&, const fs::path& language) { make_fifo(language / "Deutsch.lng"); },
       {"LANGUAGE/Deutsch.lng: not a regular file"},
       {},
       {"English.lng"},
       [](const fs::path& language) { return fs::is_fifo(language / "Deutsch.lng"); }},
      {"a link to a device in place of a shipped file",
       [](const fs::path&, const fs::path& language) { fs::create_symlink("/dev/zero", language / "Deutsch.lng"); },
       {"LANGUAGE/Deutsch.lng: not a regular file"},
       {},
       {"English.lng"},
       [](const fs::path& language) { return fs::is_symlink(language / "Deutsch.lng"); }},
      {"a FIFO as the manifest, replaced by a real one",
       [](const fs::path&, const fs::path& language) { make_fifo(language / Shipped_Manifest_Name); },
       {"LANGUAGE/.shipped: not a regular file"},
       {},
       {"Deutsch.lng", "English.lng"},
       [](const fs::path& language) { return fs::is_regular_file(language / Shipped_Manifest_Name); }},
      {"a FIFO in the shipped folder",
       [](const fs::path& shipped, const fs::path&) {
         fs::remove(shipped / "Deutsch.lng");
         make_fifo(shipped / "Deutsch.lng");
       },
       {"share/Deutsch.lng: not a regular file"},
       {},
       {"English.lng"},
       [](const fs::path& language) { return !fs::exists(language / "Deutsch.lng"); }},
      {"a link to a device in the shipped folder",
       [](const fs::path& shipped, const fs::path&) { fs::create_symlink("/dev/zero", shipped / "Magyar.lng"); },
       {"share/Magyar.lng: not a regular file"},
       {},
       {"Deutsch.lng", "English.lng"},
       [](const fs::path& language) { return !fs::exists(language / "Magyar.lng"); }},
#endif
  };
  for (const UnreadableCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir root;
    const fs::path shipped = root / "share";
    const fs::path language = root / "LANGUAGE";
    fs::create_directories(shipped);
    fs::create_directories(language);
    write_file(shipped / "Deutsch.lng", "STR0 = Anfang\r\n");
    write_file(shipped / "English.lng", "STR0 = Begin\r\n");
    c.setup(shipped, language);

    const LanguageRefresh report = Refresh_Shipped_Languages(shipped, language);
    EXPECT_EQ(described(report.skipped, root.path()), c.skipped);
    std::vector<std::string> not_written;
    for (const Failure& failure : report.not_written) {
      not_written.push_back(fs::path(failure.file).lexically_relative(root.path()).generic_string());
    }
    EXPECT_EQ(not_written, c.not_written);
    EXPECT_TRUE(report.kept.empty());
    for (const std::string& name : c.installed)
      EXPECT_EQ(read_file(language / name), read_file(shipped / name)) << name;
    EXPECT_TRUE(c.left_alone(language));
  }
}

TEST(ShippedLanguageFaults, NothingHappensWhenLanguageIsTheShippedFolder) {
  TempDir root;
  write_file(root / "English.lng", "STR0 = Begin\r\n");
  const LanguageRefresh report = Refresh_Shipped_Languages(root.path(), root / "." / "");
  EXPECT_TRUE(report.kept.empty() && report.skipped.empty() && report.not_written.empty());
  EXPECT_FALSE(fs::exists(root / Shipped_Manifest_Name));
}

// The per-user folder is the program's own and is refreshed at every
// start; a given or portable folder is the user's and is filled only while
// the options could offer no language from it.
TEST(PrepareProgramDir, FillsLanguageOfTheUsersOwnFolderOnlyWhenItOffersNone) {
  const struct {
    const char* name;
    ProgramDirKind kind;
    std::vector<std::string> present;  // in LANGUAGE before the start; a trailing "/" makes a folder
    bool filled;
    std::vector<std::string> skipped;
  } cases[] = {
      {"given, no LANGUAGE folder", ProgramDirKind::Given, {}, true, {}},
      {"given, an empty LANGUAGE folder", ProgramDirKind::Given, {"/"}, true, {}},
      {"given, only a flag and a manifest", ProgramDirKind::Given, {"Deutsch.bmp", ".shipped"}, true, {}},
      {"given, only a folder named like a language",
       ProgramDirKind::Given,
       {"Deutsch.lng/"},
       true,
       {"own/LANGUAGE/Deutsch.lng: " + reason_of(std::errc::is_a_directory)}},
      {"given, a language of the user's", ProgramDirKind::Given, {"Mine.lng"}, false, {}},
      {"portable, a language of the user's", ProgramDirKind::Executable, {"Mine.lng"}, false, {}},
      {"portable, an empty LANGUAGE folder", ProgramDirKind::Executable, {"/"}, true, {}},
      {"per-user, a language of the user's", ProgramDirKind::PerUser, {"Mine.lng"}, true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir root;
    const fs::path shipped = root / "share";
    fs::create_directories(shipped);
    write_file(shipped / "English.lng", "STR0 = Begin\r\n");
    write_file(shipped / "Deutsch.lng", "STR0 = Anfang\r\n");
    const ProgramDirChoice choice{c.kind, root / "own", shipped};
    for (const std::string& entry : c.present) {
      fs::create_directories(choice.dir / "LANGUAGE");
      if (entry == "/") continue;
      if (entry.ends_with('/')) {
        fs::create_directories(choice.dir / "LANGUAGE" / entry);
      } else {
        write_file(choice.dir / "LANGUAGE" / entry, "user's");
      }
    }

    const LanguageRefresh report = Prepare_Program_Dir(choice);
    EXPECT_TRUE(fs::is_directory(choice.dir));
    EXPECT_EQ(described(report.skipped, root.path()), c.skipped);
    EXPECT_TRUE(report.not_written.empty());
    EXPECT_EQ(fs::exists(choice.dir / "LANGUAGE" / "English.lng"), c.filled);
    EXPECT_EQ(fs::is_regular_file(choice.dir / "LANGUAGE" / Shipped_Manifest_Name),
              c.filled || std::find(c.present.begin(), c.present.end(), ".shipped") != c.present.end());
    for (const std::string& entry : c.present) {
      if (entry != "/" && entry != ".shipped") {
        EXPECT_TRUE(fs::exists(choice.dir / "LANGUAGE" / entry)) << entry;
      }
    }
  }
}

// A portable copy started from its own folder: its LANGUAGE folder is the
// shipped one and gets no manifest, whether it holds languages or not.
TEST(PrepareProgramDir, APortableCopysLanguageFolderIsTheShippedOne) {
  for (const bool with_languages : {true, false}) {
    TempDir root;
    const fs::path language = root / "LANGUAGE";
    fs::create_directories(language);
    if (with_languages) write_file(language / "English.lng", "STR0 = Begin\r\n");
    for (const ProgramDirKind kind : {ProgramDirKind::Executable, ProgramDirKind::Given}) {
      const LanguageRefresh report = Prepare_Program_Dir({kind, root.path(), language});
      EXPECT_TRUE(report.skipped.empty() && report.not_written.empty());
      EXPECT_FALSE(fs::exists(language / Shipped_Manifest_Name)) << with_languages;
    }
  }
}

TEST(PrepareProgramDir, AMissingShippedFolderLeavesLanguageEmpty) {
  TempDir root;
  const LanguageRefresh report = Prepare_Program_Dir({ProgramDirKind::PerUser, root / "user", root / "nowhere"});
  EXPECT_TRUE(report.skipped.empty() && report.not_written.empty());
  EXPECT_TRUE(fs::is_directory(root / "user" / "LANGUAGE"));
  EXPECT_TRUE(fs::is_empty(root / "user" / "LANGUAGE"));
}

}  // namespace
}  // namespace sw48230

#include "gui/app/tf_main.h"

#include <fcntl.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <functional>
#include <system_error>

#include "core/i18n/message_table.h"
#include "fakes.h"
#include "gui/ui/texts.h"
#include "screen_test.h"

using namespace sw48230;
using test::default_text;

namespace {

QString label_text(const TFMain& window, const char* name,
                   const std::source_location& where = std::source_location::current()) {
  return test::find<QLabel>(&window, name, where)->text();
}

void click(TFMain& window, const char* name, const std::source_location& where = std::source_location::current()) {
  test::click(&window, name, where);
}

// What `act` writes to standard error, which goes to `file` meanwhile.
QByteArray capture_standard_error(const QString& file, const std::function<void()>& act) {
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  const int target = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(target, STDERR_FILENO);
  ::close(target);
  act();
  std::fflush(stderr);
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  QFile written(file);
  return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

}  // namespace

class TFMainTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void firstStartCreatesTheFoldersAndClosingWritesTheSettings() {
    test::ProgramDir program;
    test::FakeServices fakes;
    {
      TFMain window(fakes.services(), program.fs_path());
      for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"}) {
        QVERIFY2(QFileInfo(program.path(folder)).isDir(), folder);
      }
      QCOMPARE(window.windowTitle(), QStringLiteral("Norvane - Configurator SW48230 - CAN / Modbus TCP Master "));
      QCOMPARE(label_text(window, "L_SW_Code"), QStringLiteral("SW48230"));
      QCOMPARE(label_text(window, "L_Name_Conf"), default_text(9));
      QCOMPARE(label_text(window, "L_Name_Conf_L2"), default_text(10));
      QVERIFY(!test::find<QTimer>(&window, "Timer_Update")->isActive());
      QCOMPARE(test::find<QTimer>(&window, "Timer_Update")->interval(), 60000);
      QVERIFY(!QFileInfo::exists(program.path("Velstrom.xml")));
      window.show();
      QVERIFY(window.close());
    }
    QCOMPARE(program.read("Velstrom.xml"),
             QByteArray("<Conf_Settings><lastproj><projectname></projectname></lastproj>"
                        "<lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
                        "<lastlang><language>English</language></lastlang>"
                        "<lastinternet><enable_internet>0</enable_internet><enable_update>0</enable_update>"
                        "<enable_jump_field_tables>0</enable_jump_field_tables>"
                        "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>"));
    QVERIFY(fakes.boxes.errors.isEmpty());
  }

  void theStoredProjectIsReopenedWhenItsFolderExists() {
    test::ProgramDir program;
    program.add_open_project(
        "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update></lastinternet>");
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    QCOMPARE(label_text(window, "L_Name_Conf"), default_text(11));
    QCOMPARE(label_text(window, "L_Name_Conf_L2"), QStringLiteral("Plant1"));
    QVERIFY(window.state().project_open());
    QVERIFY(test::find<QTimer>(&window, "Timer_Update")->isActive());
  }

  void aVanishedProjectIsNotOpenedButItsNameIsKept() {
    test::ProgramDir program;
    program.write("Velstrom.xml",
                  "<Conf_Settings><lastproj><projectname>Plant1</projectname></lastproj></Conf_Settings>");
    test::FakeServices fakes;
    {
      TFMain window(fakes.services(), program.fs_path());
      QCOMPARE(label_text(window, "L_Name_Conf"), default_text(9));
      QCOMPARE(label_text(window, "L_Name_Conf_L2"), default_text(10));
      click(window, "Btn_Prm_Gen");
      QCOMPARE(fakes.boxes.errors, QStringList{default_text(18)});
      window.close();
    }
    QVERIFY(program.read("Velstrom.xml").contains("<projectname>Plant1</projectname>"));
  }

  // The program still ends; one line on standard error says what was lost.
  void aStoredNameThatCouldLeadOutsideProjectsOpensNothing_data() {
    QTest::addColumn<QString>("name");  // "<outside>" stands for an absolute folder outside PROJECTS
    QTest::newRow("absolute") << QStringLiteral("<outside>");
    QTest::newRow("parent") << QStringLiteral("..");
    QTest::newRow("current") << QStringLiteral(".");
    QTest::newRow("up and over") << QStringLiteral("../Outside");
    QTest::newRow("nested") << QStringLiteral("Plant1/inner");
    QTest::newRow("backslash") << QStringLiteral("Plant1\\inner");
    QTest::newRow("refused character") << QStringLiteral("a:b");
    QTest::newRow("trailing blank") << QStringLiteral("Plant1 ");
  }

  // Velstrom.xml can be edited by hand: only a name a project could have
  // been created with is opened, so no folder outside PROJECTS is ever read
  // or written.
  void aStoredNameThatCouldLeadOutsideProjectsOpensNothing() {
    QFETCH(QString, name);
    test::ProgramDir program;
    program.mkpath("Outside");
    for (const char* folder : {"PROJECTS/Plant1/inner", "PROJECTS/Plant1\\inner", "PROJECTS/a:b", "PROJECTS/Plant1 "}) {
      program.mkpath(folder);
    }
    if (name == "<outside>") name = program.path("Outside");
    program.write("Velstrom.xml", "<Conf_Settings><lastproj><projectname>" + name.toUtf8() +
                                      "</projectname></lastproj></Conf_Settings>");
    test::FakeServices fakes;
    {
      TFMain window(fakes.services(), program.fs_path());
      QVERIFY(!window.state().project_open());
      QCOMPARE(label_text(window, "L_Name_Conf"), default_text(9));
      for (const char* step : {"Btn_Prm_Gen", "Btn_CreateBin"}) click(window, step);
      QCOMPARE(fakes.boxes.errors, QStringList(2, default_text(18)));
      window.close();
    }
    QVERIFY(fakes.programs.calls.empty());
    QCOMPARE(QDir(program.path("Outside")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    QVERIFY(!QFileInfo::exists(program.path("bin")));
    QVERIFY(!QFileInfo::exists(program.path("PROJECTS/bin")));
    QVERIFY(!QFileInfo::exists(program.path("PROJECTS/Plant1/inner/bin")));
  }

  void aSettingsFileThatCannotBeWrittenAtExitIsSaidOnStandardError() {
    test::ProgramDir program;
    // A folder in the file's place can be neither read as settings nor
    // replaced by a file.
    QVERIFY(QDir(program.path()).mkdir("Velstrom.xml"));
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    QCOMPARE(window.state().Language_Name, std::string("English"));
    window.show();
    const QByteArray said = capture_standard_error(program.path("stderr.txt"), [&] { QVERIFY(window.close()); });
    QVERIFY(!window.isVisible());
    QCOMPARE(said, (default_text(495) + " " + program.path("Velstrom.xml") + ": " +
                    QString::fromStdString(std::generic_category().message(EISDIR)) + "\n")
                       .toUtf8());
    QVERIFY(fakes.boxes.warnings.isEmpty());
    QVERIFY(QFileInfo(program.path("Velstrom.xml")).isDir());
    QCOMPARE(QDir(program.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"stderr.txt"});
  }

  void settingsThatCannotBeWrittenAfterTheOptionsAreShown() {
    test::ProgramDir program;
    QVERIFY(QDir(program.path()).mkdir("Velstrom.xml"));
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    window.show();
    bool shown = false;
    test::when_dialog_shown([&](QDialog* options) {
      shown = true;
      QCOMPARE(options->objectName(), QStringLiteral("TFSoftOptions"));
      QTest::mouseClick(test::find<QPushButton>(options, "Btn_OK"), Qt::LeftButton);
    });
    click(window, "Btn_Opz");
    QVERIFY(shown);
    // What was lost, in which file, and why.
    QCOMPARE(fakes.boxes.warnings.size(), 1);
    const QString& warning = fakes.boxes.warnings[0];
    for (const QString& part : {default_text(495), program.path("Velstrom.xml"),
                                QString::fromStdString(std::generic_category().message(EISDIR))}) {
      QVERIFY2(warning.contains(part), qPrintable(part + " not in: " + warning));
    }
    QVERIFY(window.isVisible());
  }

  void everyStepNeedingAProjectAnswersWithMessage18() {
    test::ProgramDir program;
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    const char* steps[] = {"Btn_Prm_Gen", "Btn_COB_Request", "Btn_COB_Setting", "Btn_CreateBin"};
    for (const char* step : steps) click(window, step);
    QCOMPARE(fakes.boxes.errors, QStringList(std::size(steps), QStringLiteral("Error! Project not Valid")));
    QVERIFY(fakes.programs.calls.empty());
  }

  void captionsAndHintsComeFromTheLanguageFile() {
    test::ProgramDir program;
    program.mkpath("LANGUAGE");
    program.write("LANGUAGE/Deutsch.lng",
                  "STR0 = Anfang\r\nSTR15 = Neue Konfiguration\r\nSTR253 = Neue Konfiguration anlegen\r\n"
                  "STR12 = Information (de)\r\nSTR10 = Schritt 1 benutzen\r\n");
    program.write("Velstrom.xml", "<C><lastlang><language>Deutsch</language></lastlang></C>");
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    QCOMPARE(label_text(window, "L_Begin"), QStringLiteral("Anfang"));
    QCOMPARE(label_text(window, "L_Name_Conf_L2"), QStringLiteral("Schritt 1 benutzen"));
    auto* create = test::find<QPushButton>(&window, "Btn_New");
    QCOMPARE(create->text(), QStringLiteral("Neue Konfiguration"));
    QCOMPARE(create->toolTip(), QStringLiteral("Neue Konfiguration anlegen"));
    auto* info = test::find<QPushButton>(&window, "Btn_Info");
    QCOMPARE(info->toolTip(), QStringLiteral("Information (de)"));
    QCOMPARE(info->accessibleName(), QStringLiteral("Information (de)"));
    QCOMPARE(label_text(window, "L_Step_1"), default_text(1));
    QVERIFY(!test::find<QLabel>(&window, "L_Step_6")->isVisibleTo(&window));
    QVERIFY(test::find<QLabel>(&window, "L_Step_5")->isVisibleTo(&window));
  }

  void everyControlHasAnAccessibleName() {
    test::ProgramDir program;
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                           qobject_cast<QListWidget*>(widget);
      if (control && widget->accessibleName().isEmpty()) {
        unnamed.append(widget->window()->objectName() + "/" + widget->objectName());
      }
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
  }

  void theMakersAddressOpensTheHomePage() {
    test::ProgramDir program;
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    window.show();
    QTest::mouseClick(test::find<QLabel>(&window, "L_Norvane"), Qt::LeftButton);
    QCOMPARE(fakes.browser.urls.size(), 1);
    QVERIFY(fakes.browser.urls[0].endsWith("/HOME/default.asp?frompg=SW48230"));

    test::when_dialog_shown([](QDialog* about) {
      QCOMPARE(about->objectName(), QStringLiteral("TFAbout"));
      QCOMPARE(test::find<QLabel>(about, "Label10")->text(), QStringLiteral("2.007"));
      QCOMPARE(test::find<QLabel>(about, "Label12")->text(), QStringLiteral("MN48230"));
      QTest::mouseClick(test::find<QLabel>(about, "Label4"), Qt::LeftButton);
      QTest::mouseClick(test::find<QLabel>(about, "Image2"), Qt::LeftButton);
      test::find<QPushButton>(about, "Btn_OK")->click();
    });
    click(window, "Btn_Info");
    QCOMPARE(fakes.browser.urls.size(), 3);
    QCOMPARE(fakes.browser.urls[2], fakes.browser.urls[0]);
  }

  void terminationCancelsTheOpenDialogAndSavesTheSettings() {
    test::ProgramDir program;
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    window.show();
    bool dialog_seen = false;
    test::when_dialog_shown([&](QDialog*) {
      dialog_seen = true;
      window.Terminate();
    });
    click(window, "Btn_New");
    QVERIFY(dialog_seen);
    QVERIFY(!window.isVisible());
    QVERIFY(QFileInfo::exists(program.path("Velstrom.xml")));
    QVERIFY(!window.state().project_open());
  }
};

QTEST_MAIN(TFMainTest)
#include "tf_main_test.moc"

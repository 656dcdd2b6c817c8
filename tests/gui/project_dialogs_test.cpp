#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <system_error>

#include "core/project/project.h"
#include "fakes.h"
#include "gui/app/tf_main.h"
#include "screen_test.h"

using namespace sw48230;

namespace {

QString label_text(const TFMain& window, const char* name) { return test::find<QLabel>(&window, name)->text(); }

// Opens a step-1 dialog of the main window and lets `act` drive it.
void run_dialog(TFMain& window, const char* button, std::function<void(QDialog*)> act) {
  bool shown = false;
  test::when_dialog_shown([&](QDialog* dialog) {
    shown = true;
    act(dialog);
  });
  test::click(&window, button);
  QVERIFY(shown);
}

QStringList list_items(QDialog* dialog) {
  QStringList items;
  auto* list = test::find<QListWidget>(dialog, "ListBox1");
  for (int row = 0; row < list->count(); ++row) items.append(list->item(row)->text());
  return items;
}

using test::click;

}  // namespace

class ProjectDialogsTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void creatingAProjectMakesItActiveAtOnce() {
    test::ProgramDir program;
    program.mkpath("PROJECTS/Plant0");
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    window.show();
    run_dialog(window, "Btn_New", [](QDialog* dialog) {
      auto* name = test::find<QLineEdit>(dialog, "E_New_Proj");
      QVERIFY(name->text().isEmpty());
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Create New Configuration"));
      QTest::keyClicks(name, "Plant1");
      QTest::keyClick(name, Qt::Key_Return);  // Enter acts as OK
    });
    QVERIFY(QFileInfo(program.path("PROJECTS/Plant1/bin")).isDir());
    QCOMPARE(QDir(program.path("PROJECTS/Plant1")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"bin"});
    QCOMPARE(label_text(window, "L_Name_Conf"), QStringLiteral("Opened Configuration of the Converter : "));
    QCOMPARE(label_text(window, "L_Name_Conf_L2"), QStringLiteral("Plant1"));
    QCOMPARE(window.state().Project_Name, std::string("Plant1"));
    QCOMPARE(QString::fromStdString(ParGen_Path(window.state().Project_Dir).string()),
             program.path("PROJECTS/Plant1/ParGen.xml"));
    QVERIFY(fakes.boxes.errors.isEmpty());

    // The dialog keeps nothing between uses.
    run_dialog(window, "Btn_New", [](QDialog* dialog) {
      QVERIFY(test::find<QLineEdit>(dialog, "E_New_Proj")->text().isEmpty());
      click(dialog, "Btn_Cancel");
    });
    QCOMPARE(window.state().Project_Name, std::string("Plant1"));
  }

  void refusedNamesKeepTheDialogOpenForCorrection() {
    test::ProgramDir program;
    program.mkpath("PROJECTS/plant1");
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    window.show();
    run_dialog(window, "Btn_New", [&](QDialog* dialog) {
      auto* name = test::find<QLineEdit>(dialog, "E_New_Proj");
      for (const char* text : {"", "Plant1", "../escape", "a:b"}) {
        name->setText(QString::fromLatin1(text));
        click(dialog, "Btn_OK");
        QVERIFY(dialog->isVisible());
      }
      QCOMPARE(name->text(), QStringLiteral("a:b"));
      click(dialog, "Btn_Cancel");
    });
    QCOMPARE(fakes.boxes.errors, (QStringList{"Error! Name Project is not valid",
                                              "Error! Name project is not valid because directory already exists",
                                              "Error! Name project is not valid", "Error! Name project is not valid"}));
    QVERIFY(!window.state().project_open());
    QCOMPARE(QDir(program.path("PROJECTS")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"plant1"});
    QVERIFY(!QFileInfo::exists(program.path("escape")));
  }

  // The name is not at fault when the folder cannot be made: the user sees
  // which folder and why, not "name not valid".
  void aProjectsFolderThatCannotBeCreatedIsNamedWithTheReason() {
    test::ProgramDir program;
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    window.show();
    QVERIFY(QDir(program.path()).rmdir("PROJECTS"));
    QFile blocker(program.path("PROJECTS"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    run_dialog(window, "Btn_New", [](QDialog* dialog) {
      QTest::keyClicks(test::find<QLineEdit>(dialog, "E_New_Proj"), "Plant1");
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      click(dialog, "Btn_Cancel");
    });
    QCOMPARE(fakes.boxes.errors.size(), 1);
    const QString& error = fakes.boxes.errors[0];
    for (const QString& part : {test::default_text(496), program.path("PROJECTS"),
                                QString::fromStdString(std::generic_category().message(EEXIST))}) {
      QVERIFY2(error.contains(part), qPrintable(part + " not in: " + error));
    }
    QVERIFY(!window.state().project_open());
  }

  void openingPreselectsTheActiveProjectIgnoringCase() {
    test::ProgramDir program;
    for (const char* name : {"beta", "PLANT1", "alpha", ".hidden"}) program.mkpath(QString("PROJECTS/") + name);
    program.write("PROJECTS/file.txt", "");
    program.write("Velstrom.xml", "<C><lastproj><projectname>Plant1</projectname></lastproj></C>");
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    window.show();
    QVERIFY(!window.state().project_open());  // on a case-sensitive system the folder is PLANT1

    // No project open: the first entry is preselected.
    run_dialog(window, "Btn_Open", [](QDialog* dialog) {
      QCOMPARE(list_items(dialog), (QStringList{"alpha", "beta", "PLANT1"}));
      QCOMPARE(test::find<QListWidget>(dialog, "ListBox1")->currentRow(), 0);
      click(dialog, "Btn_Cancel");
    });
    QVERIFY(!window.state().project_open());

    run_dialog(window, "Btn_Open", [](QDialog* dialog) {
      auto* list = test::find<QListWidget>(dialog, "ListBox1");
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
      click(dialog, "Btn_OK");
    });
    QCOMPARE(window.state().Project_Name, std::string("PLANT1"));
    QCOMPARE(label_text(window, "L_Name_Conf_L2"), QStringLiteral("PLANT1"));

    // Now PLANT1 is active and is preselected again.
    run_dialog(window, "Btn_Open", [](QDialog* dialog) {
      QCOMPARE(test::find<QListWidget>(dialog, "ListBox1")->currentRow(), 2);
      click(dialog, "Btn_OK");
    });
    QCOMPARE(window.state().Project_Name, std::string("PLANT1"));
    QVERIFY(fakes.boxes.errors.isEmpty());
  }

  void okWithAnEmptyListActsAsCancel() {
    test::ProgramDir program;
    program.mkpath("PROJECTS/Plant1");
    test::FakeServices fakes;
    TFMain window(fakes.services(), program.fs_path());
    window.show();
    run_dialog(window, "Btn_Open", [](QDialog* dialog) { click(dialog, "Btn_OK"); });
    QCOMPARE(window.state().Project_Name, std::string("Plant1"));

    // The folder vanishes outside the program: the stale name is not handed on.
    QDir(program.path("PROJECTS/Plant1")).removeRecursively();
    run_dialog(window, "Btn_Open", [](QDialog* dialog) {
      QVERIFY(list_items(dialog).isEmpty());
      click(dialog, "Btn_OK");
    });
    QCOMPARE(window.state().Project_Name, std::string("Plant1"));
    QCOMPARE(label_text(window, "L_Name_Conf_L2"), QStringLiteral("Plant1"));
  }
};

QTEST_MAIN(ProjectDialogsTest)
#include "project_dialogs_test.moc"

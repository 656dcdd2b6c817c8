#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "core/common/file_read.h"
#include "core/i18n/message_table.h"
#include "gui/app/tf_main.h"
#include "gui/ui/screen.h"
#include "gui/ui/texts.h"
#include "screen_test.h"

using namespace sw48230;

namespace {

// Every text of the table, as "<tag><index>", so that a screen left out of a
// language change keeps an English caption and shows it.
QByteArray tagged_language(const char* tag) {
  QByteArray bytes;
  for (int index = 0; index < Default_Message_Count; ++index) {
    bytes += "STR" + QByteArray::number(index) + " = " + tag + QByteArray::number(index) + "\r\n";
  }
  return bytes;
}

using test::click;
using test::find;

// The names in the language slots that are shown, slot 1 to 6.
QStringList shown_languages(QDialog* dialog) {
  QStringList names;
  for (int slot = 1; slot <= 6; ++slot) {
    auto* label = find<QLabel>(dialog, QByteArray("L_L" + QByteArray::number(slot)).constData());
    if (label->isVisible()) names.append(label->text());
  }
  return names;
}

struct Program : test::ProgramFixture {
  Program() { program.mkpath("LANGUAGE"); }
  QString file(const QString& name) const { return program.path(name); }
  QByteArray read(const QString& name) const { return program.read(name); }
  void write(const QString& name, const QByteArray& bytes) const { program.write(name, bytes); }
  void add_language(const QString& name, const QByteArray& bytes = "STR0 = x\r\n") { write("LANGUAGE/" + name, bytes); }
  // Opens the options from the main window and lets `act` drive them.
  void options(const std::function<void(QDialog*)>& act) { open("Btn_Opz", "TFSoftOptions", act); }
  QTimer* timer() const { return find<QTimer>(window.get(), "Timer_Update"); }
};

}  // namespace

class TFSoftOptionsTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void pagesFollowTheNumberOfLanguages_data() {
    QTest::addColumn<int>("languages");
    QTest::addColumn<int>("page");  // reached with Btn_Next from page 1
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("prev");
    QTest::addColumn<bool>("next");
    QTest::newRow("6, page 1") << 6 << 1 << "Page 1 / 1" << 6 << false << false;
    QTest::newRow("7, page 1") << 7 << 1 << "Page 1 / 2" << 6 << false << true;
    QTest::newRow("7, page 2") << 7 << 2 << "Page 2 / 2" << 1 << true << false;
    QTest::newRow("13, page 1") << 13 << 1 << "Page 1 / 3" << 6 << false << true;
    QTest::newRow("13, page 2") << 13 << 2 << "Page 2 / 3" << 6 << true << true;
    QTest::newRow("13, page 3") << 13 << 3 << "Page 3 / 3" << 1 << true << false;
    QTest::newRow("none") << 0 << 1 << "Page 1 / 1" << 0 << false << false;
  }
  void pagesFollowTheNumberOfLanguages() {
    QFETCH(int, languages);
    QFETCH(int, page);
    QFETCH(QString, indicator);
    QFETCH(int, shown);
    QFETCH(bool, prev);
    QFETCH(bool, next);
    Program program;
    for (int n = 1; n <= languages; ++n) program.add_language(QStringLiteral("L%1.lng").arg(n, 2, 10, QChar('0')));
    program.start();
    program.options([&](QDialog* dialog) {
      QVERIFY(find<QTabWidget>(dialog, "PageControl")->currentWidget() == find<QWidget>(dialog, "TS_Language"));
      for (int turn = 1; turn < page; ++turn) click(dialog, "Btn_Next");
      QCOMPARE(find<QLabel>(dialog, "L_Page_Lang")->text(), indicator);
      QCOMPARE(shown_languages(dialog).size(), shown);
      if (shown > 0) {
        QCOMPARE(shown_languages(dialog).first(), QStringLiteral("L%1").arg((page - 1) * 6 + 1, 2, 10, QChar('0')));
      }
      QCOMPARE(find<QPushButton>(dialog, "Btn_Prev")->isVisible(), prev);
      QCOMPARE(find<QPushButton>(dialog, "Btn_Next")->isVisible(), next);
      QCOMPARE(find<QLabel>(dialog, "L_Sel_Lang")->text(), QStringLiteral("Selected Language : English"));
    });
  }

  void pagingBackAndReopeningStartAtPageOne() {
    Program program;
    for (int n = 1; n <= 13; ++n) program.add_language(QStringLiteral("L%1.lng").arg(n, 2, 10, QChar('0')));
    program.start();
    program.options([](QDialog* dialog) {
      click(dialog, "Btn_Next");
      click(dialog, "Btn_Next");
      click(dialog, "Btn_Prev");
      QCOMPARE(find<QLabel>(dialog, "L_Page_Lang")->text(), QStringLiteral("Page 2 / 3"));
      QCOMPARE(shown_languages(dialog).first(), QStringLiteral("L07"));
    });
    // A language added while the program runs shows up at the next visit.
    program.add_language("L14.lng");
    program.options([](QDialog* dialog) {
      QCOMPARE(find<QLabel>(dialog, "L_Page_Lang")->text(), QStringLiteral("Page 1 / 3"));
      click(dialog, "Btn_Next");
      click(dialog, "Btn_Next");
      QCOMPARE(shown_languages(dialog), (QStringList{"L13", "L14"}));
    });
  }

  void languagesAreSortedIgnoringCase() {
    Program program;
    for (const char* name : {"c.lng", "b.lng", "A.lng", "readme.txt", "A.bmp"}) program.add_language(name);
    QDir(program.file("LANGUAGE")).mkdir("Folder.lng");
    program.start();
    program.options([](QDialog* dialog) { QCOMPARE(shown_languages(dialog), (QStringList{"A", "b", "c"})); });
  }

  void flagIsTheLanguagesOwnElseTheDefaultElseNone() {
    Program program;
    program.add_language("Italiano.lng");
    QVERIFY(QImage(20, 12, QImage::Format_RGB32).save(program.file("LANGUAGE/Italiano.bmp"), "BMP"));
    QVERIFY(QImage(16, 10, QImage::Format_RGB32).save(program.file("LANGUAGE/DefaultFlag.bmp"), "BMP"));
    program.start();
    const auto flag_of_slot_1 = [&](QSize expected) {
      program.options([&](QDialog* dialog) {
        auto* image = find<QLabel>(dialog, "I_L1");
        QCOMPARE(image->isVisible(), expected.isValid());
        if (expected.isValid()) QCOMPARE(image->pixmap().size(), expected);
        QVERIFY(find<QLabel>(dialog, "L_L1")->isVisible());
        QCOMPARE(image->accessibleName(), QStringLiteral("Italiano"));
      });
    };
    flag_of_slot_1(QSize(20, 12));
    QVERIFY(QFile::remove(program.file("LANGUAGE/Italiano.bmp")));
    flag_of_slot_1(QSize(16, 10));
    QVERIFY(QFile::remove(program.file("LANGUAGE/DefaultFlag.bmp")));
    flag_of_slot_1(QSize());
  }

  // A flag is read whole only up to the limit of the language files: a
  // larger "bitmap" is some other file and shows no image.
  void aFlagOverTheLimitShowsNoImage() {
    Program program;
    program.add_language("Italiano.lng");
    QVERIFY(QImage(20, 12, QImage::Format_RGB32).save(program.file("LANGUAGE/Italiano.bmp"), "BMP"));
    QFile flag(program.file("LANGUAGE/Italiano.bmp"));
    QVERIFY(flag.open(QIODevice::Append));
    QVERIFY(flag.write(QByteArray(static_cast<qsizetype>(Language_File_Limit), '\0')) > 0);
    flag.close();
    program.start();
    program.options([](QDialog* dialog) {
      QVERIFY(!find<QLabel>(dialog, "I_L1")->isVisible());
      QVERIFY(find<QLabel>(dialog, "L_L1")->isVisible());
    });
  }

  void updateChoicesFollowInternetAccess() {
    Program program;
    program.start();
    program.options([](QDialog* dialog) {
      auto* internet = find<QCheckBox>(dialog, "CB_En_Con");
      auto* update = find<QCheckBox>(dialog, "CB_Update");
      auto* check = find<QPushButton>(dialog, "Btn_Check_Update");
      const auto state = [&] {
        return QList<bool>{internet->isChecked(), update->isEnabled(), update->isChecked(), check->isEnabled()};
      };
      find<QTabWidget>(dialog, "PageControl")->setCurrentWidget(find<QWidget>(dialog, "TS_Con_Options"));
      QCOMPARE(state(), (QList<bool>{false, false, false, false}));
      click(internet);
      QCOMPARE(state(), (QList<bool>{true, true, false, false}));
      click(update);
      QCOMPARE(state(), (QList<bool>{true, true, true, true}));
      click(internet);
      QCOMPARE(state(), (QList<bool>{false, false, true, false}));  // the mark stays
      click(internet);
      QCOMPARE(state(), (QList<bool>{true, true, true, true}));
    });
  }

  void choosingALanguageRecaptionsEveryScreenAndCancelKeepsTheName() {
    Program program;
    program.add_language("Italiano.lng", tagged_language("IT"));
    program.start();
    auto* begin = find<QLabel>(program.window.get(), "L_Begin");
    auto* project_label = find<QLabel>(program.window.get(), "L_Name_Conf");
    program.options([&](QDialog* dialog) {
      // No: nothing changes.
      click(dialog, "L_L1");
      QCOMPARE(program.fakes.boxes.questions,
               QStringList{"Do you want to change the Language from English to Italiano?"});
      QCOMPARE(begin->text(), QStringLiteral("Begin"));

      program.fakes.boxes.answers = {true};
      click(dialog, "I_L1");
      QCOMPARE(begin->text(), QStringLiteral("IT0"));
      QCOMPARE(find<QPushButton>(program.window.get(), "Btn_New")->toolTip(), QStringLiteral("IT253"));
      const QList<Screen*> screens = program.window->findChildren<Screen*>();
      QVERIFY(screens.size() >= 3);
      for (Screen* screen : screens) {
        QVERIFY2(screen->windowTitle().startsWith("IT"), qPrintable(screen->objectName()));
        QVERIFY2(find<QLabel>(screen, "L_SW_Desc")->text().startsWith("IT"), qPrintable(screen->objectName()));
      }
      QCOMPARE(find<QLabel>(dialog, "L_Sel_Lang")->text(), QStringLiteral("IT42Italiano"));
      QCOMPARE(find<QLabel>(dialog, "L_Page_Lang")->text(), QStringLiteral("IT431IT441"));
      QCOMPARE(find<QPushButton>(dialog, "Btn_OK")->text(), QStringLiteral("IT50"));
      // The project labels change only with the project.
      QCOMPARE(project_label->text(), QStringLiteral("None Configuration Opened "));

      // The question is asked for the language in use as well.
      program.fakes.boxes.answers = {true};
      click(dialog, "L_L1");
      QCOMPARE(program.fakes.boxes.questions.last(), QStringLiteral("IT54ItalianoIT55ItalianoIT56"));
      click(dialog, "Btn_Cancel");
    });
    QCOMPARE(program.window->state().Language_Name, std::string("English"));
    QCOMPARE(begin->text(), QStringLiteral("IT0"));
    QVERIFY(!QFileInfo::exists(program.file("Velstrom.xml")));

    // The next visit starts from the committed name, in the texts in force.
    program.options(
        [](QDialog* dialog) { QCOMPARE(find<QLabel>(dialog, "L_Sel_Lang")->text(), QStringLiteral("IT42English")); });
    program.window->close();
    QVERIFY(program.read("Velstrom.xml").contains("<language>English</language>"));
  }

  void okCommitsTheChoicesAndTheSettingsAreWrittenAtOnce() {
    Program program;
    program.add_language("Deutsch.lng", "STR0 = Anfang\r\n");
    program.start();
    QVERIFY(!program.timer()->isActive());

    program.fakes.boxes.answers = {true};
    program.options([](QDialog* dialog) {
      click(dialog, "L_L1");
      click(dialog, "CB_En_Con");
      click(dialog, "CB_Soft_Set_Jump_Table");
      click(dialog, "Btn_OK");
    });
    QCOMPARE(program.read("Velstrom.xml"),
             QByteArray("<Conf_Settings><lastproj><projectname></projectname></lastproj>"
                        "<lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
                        "<lastlang><language>Deutsch</language></lastlang>"
                        "<lastinternet><enable_internet>1</enable_internet><enable_update>0</enable_update>"
                        "<enable_jump_field_tables>1</enable_jump_field_tables>"
                        "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>"));
    QVERIFY(!program.timer()->isActive());

    program.options([](QDialog* dialog) {
      QCOMPARE(find<QLabel>(dialog, "L_Sel_Lang")->text(), QStringLiteral("Selected Language : Deutsch"));
      QVERIFY(find<QCheckBox>(dialog, "CB_En_Con")->isChecked());
      QVERIFY(find<QCheckBox>(dialog, "CB_Soft_Set_Jump_Table")->isChecked());
      click(dialog, "CB_Update");
      click(dialog, "CB_DoubleClick_Auto_Size");
      click(dialog, "Btn_OK");
    });
    QVERIFY(program.timer()->isActive());
    QCOMPARE(program.timer()->interval(), 60000);
    QVERIFY(program.read("Velstrom.xml").contains("<enable_update>1</enable_update>"));
    QVERIFY(program.read("Velstrom.xml").contains("<Double_Click_Auto_Size>1</Double_Click_Auto_Size>"));

    // Cancel drops the changes of the visit.
    const QByteArray saved = program.read("Velstrom.xml");
    program.options([](QDialog* dialog) {
      click(dialog, "CB_En_Con");
      click(dialog, "Btn_Cancel");
    });
    QVERIFY(program.window->state().enable_internet);
    QVERIFY(program.timer()->isActive());
    QCOMPARE(program.read("Velstrom.xml"), saved);

    // Without internet access the timer stops; the update choice is kept.
    program.options([](QDialog* dialog) {
      click(dialog, "CB_En_Con");
      click(dialog, "Btn_OK");
    });
    QVERIFY(!program.timer()->isActive());
    QVERIFY(program.read("Velstrom.xml").contains("<enable_internet>0</enable_internet><enable_update>1"));
  }

  void manualCheckShowsTheResultUntilTheNextVisit() {
    Program program;
    program.write(
        "Velstrom.xml",
        "<C><lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update></lastinternet></C>");
    program.fakes.http.replies = {"VER. 2.010", "VER. 2.007"};
    program.start();
    program.options([&](QDialog* dialog) {
      auto* result = find<QLabel>(dialog, "LL_Check_Update");
      find<QTabWidget>(dialog, "PageControl")->setCurrentWidget(find<QWidget>(dialog, "TS_Con_Options"));
      QVERIFY(!result->isVisible());
      click(dialog, "Btn_Check_Update");
      QVERIFY(result->isVisible());
      QCOMPARE(result->accessibleName(), QStringLiteral("New Version Available. Click Here for more Details"));
      QTest::mouseClick(result, Qt::LeftButton, {}, QPoint(4, result->height() / 2));
      QCOMPARE(program.fakes.browser.urls, QStringList{"http://127.0.0.1:8080/Home/download/download.asp#HD48230"});

      click(dialog, "Btn_Check_Update");
      QCOMPARE(result->text(), QStringLiteral("No Update Available"));
      QCOMPARE(result->textFormat(), Qt::PlainText);
    });
    QCOMPARE(program.fakes.http.targets.size(), std::size_t{2});
    QCOMPARE(program.fakes.http.targets.front(), std::string("/home/download/GetversionSW.asp?nomesw=SW48230"));
    program.options([](QDialog* dialog) { QVERIFY(!find<QLabel>(dialog, "LL_Check_Update")->isVisible()); });
  }
};

QTEST_MAIN(TFSoftOptionsTest)
#include "tf_soft_options_test.moc"

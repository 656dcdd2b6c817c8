// Export... and Import... of the request screens.

#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "request_screen_fixture.h"
#include "screen_test.h"

using namespace sw48230;
using test::cell;
using test::click;
using test::Fixture;

namespace {

const char* file_of(const QByteArray& step) {
  return step == "Btn_COB_Request" ? "PROJECTS/Plant1/var.xml" : "PROJECTS/Plant1/var2.xml";
}

// Two requests that pass the checks of both tables on jumper hardware.
const QByteArray Two_Rows =
    "<R><row COB=\"385\" IP_Add_B1=\"10\" IP_Add_B2=\"0\" IP_Add_B3=\"0\" IP_Add_B4=\"1\" ID_Modbus=\"1\" Type=\"0\" "
    "Address_Word=\"0\" Quantity=\"1\" Mnemonic=\"Pump\"/>"
    "<row COB=\"386\" IP_Add_B1=\"10\" IP_Add_B2=\"0\" IP_Add_B3=\"0\" IP_Add_B4=\"2\" ID_Modbus=\"1\" Type=\"0\" "
    "Address_Word=\"0\" Quantity=\"1\" Mnemonic=\"Valve\"/></R>";

// A CSV of three requests as a spreadsheet saves it: semicolons, no byte
// order mark, LF, the columns in an order of its own, a quoted mnemonic.
const QByteArray Three_Rows =
    "Mnemonic;COB;IP_Add_B1;IP_Add_B2;IP_Add_B3;IP_Add_B4;ID_Modbus;Type;Address_Word;Quantity\n"
    "\"Tank; level\";512;192;168;0;20;3;0;100;2\n"
    "Boiler;513;192;168;0;21;3;0;0;1\n"
    "Fan;514;192;168;0;22;3;0;0;1\n";

QStringList column(QTableView* view, int col, int rows) {
  QStringList cells;
  for (int row = 1; row <= rows; ++row) cells.append(cell(view, row, col));
  return cells;
}

QPushButton* button(QDialog* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

void both_screens() {
  QTest::addColumn<QByteArray>("step");
  QTest::newRow("COB Request") << QByteArray("Btn_COB_Request");
  QTest::newRow("COB Setting") << QByteArray("Btn_COB_Setting");
}

}  // namespace

class RequestCsvScreenTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  // What is exported is what the user sees, unsaved edits included, and an
  // import of it brings exactly those rows back.
  void anExportOfUnsavedEditsImportsBack_data() { both_screens(); }

  void anExportOfUnsavedEditsImportsBack() {
    QFETCH(QByteArray, step);
    Fixture f(0);
    f.write(file_of(step), Two_Rows);
    const QString csv = f.program.path("PROJECTS/Plant1/table.csv");
    f.fakes.files.paths = {csv};
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      test::select(view, 2, Col_Mnemonic);
      QTest::keyClick(view, Qt::Key_F2);
      QWidget* editor = view->indexWidget(test::at(view, 2, Col_Mnemonic));
      QVERIFY(editor != nullptr);
      QTest::keyClick(editor, Qt::Key_End);
      QTest::keyClicks(editor, " open");
      // Export takes the edit still open in the cell.
      click(dialog, "Btn_Export");
    });
    QCOMPARE(f.fakes.files.calls.size(), std::size_t{1});
    QVERIFY(f.fakes.files.calls[0].save);
    QCOMPARE(f.fakes.files.calls[0].filter, QStringLiteral("CSV files (*.csv)"));
    const QString table_name = QString::fromLatin1(file_of(step)).section('/', -1).replace(".xml", ".csv");
    QCOMPARE(f.fakes.files.calls[0].start, QDir::toNativeSeparators(f.program.path("PROJECTS/Plant1/" + table_name)));
    const QByteArray exported = f.read("PROJECTS/Plant1/table.csv");
    QVERIFY(exported.startsWith("\xEF\xBB\xBF"));
    QVERIFY2(exported.contains(",Valve open\r\n"), exported.constData());
    QVERIFY(!f.read(file_of(step)).contains("Valve open"));  // export saves nothing

    f.fakes.files.paths = {csv};
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      QCOMPARE(column(view, Col_Mnemonic, 2), (QStringList{"Pump", "Valve"}));
      click(dialog, "Btn_Import");
      QCOMPARE(column(view, Col_Mnemonic, 3), (QStringList{"Pump", "Valve open", ""}));
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
    QVERIFY(f.read(file_of(step)).contains("Mnemonic=\"Valve open\""));
  }

  // The imported rows replace the screen's as one step of the history, and
  // only OK saves them.
  void anImportIsOneStepToUndo_data() { both_screens(); }

  void anImportIsOneStepToUndo() {
    QFETCH(QByteArray, step);
    Fixture f(0);
    f.write(file_of(step), Two_Rows);
    f.write("three.csv", Three_Rows);
    f.fakes.files.paths = {f.program.path("three.csv")};
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      click(dialog, "Btn_Import");
      QVERIFY(f.fakes.boxes.errors.isEmpty());
      QCOMPARE(column(view, Col_COB, 4), (QStringList{"512", "513", "514", ""}));
      QCOMPARE(cell(view, 1, Col_Mnemonic), QStringLiteral("Tank; level"));
      QCOMPARE(cell(view, 1, Col_IP), QStringLiteral("192.168.0.20"));
      QVERIFY(!f.read(file_of(step)).contains("512"));

      QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(column(view, Col_COB, 3), (QStringList{"385", "386", ""}));
      QCOMPARE(column(view, Col_Mnemonic, 2), (QStringList{"Pump", "Valve"}));
      QVERIFY(!button(dialog, "Btn_Undo")->isEnabled());  // the whole import was one step
      QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
      QCOMPARE(column(view, Col_COB, 4), (QStringList{"512", "513", "514", ""}));
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    const QByteArray saved = f.read(file_of(step));
    QVERIFY(saved.contains("COB=\"514\"") && saved.contains("Mnemonic=\"Tank; level\""));
    QVERIFY(!saved.contains("COB=\"385\""));
  }

  // A file with any failing line changes nothing; the box lists each
  // failing line with its column and reason, the first twenty of many.
  void aFailingImportChangesNothingAndListsTheLines_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("lines");
    const QByteArray header = "COB,IP_Add_B1,IP_Add_B2,IP_Add_B3,IP_Add_B4,ID_Modbus,Type,Address_Word,Quantity\r\n";
    QTest::newRow("two bad lines") << header +
                                          "300,10,0,0,1,1,0,0,1\r\n302,10,0,0,1,1,0,0,\x1B\r\n301,10,0,0,1,1,0,x,1\r\n"
                                   << QStringList{"Import failed, nothing was changed:",
                                                  "CSV line 3, column Quantity!! The value holds a character that a "
                                                  "project file cannot store: U+001B",
                                                  "CSV line 4, column Address_Word"};
    QTest::newRow("unknown column") << QByteArray("COB,Colour\r\n300,red\r\n")
                                    << QStringList{"Import failed, nothing was changed:",
                                                   "CSV line 1, column Colour!! Unknown column"};
    QTest::newRow("binary file") << QByteArray("COB\r\n\x00\x01\x02\xFF\r\n", 9)
                                 << QStringList{"Import failed, nothing was changed:",
                                                "CSV line 2!! The file is not a text file"};
    QByteArray many = header;
    for (int i = 0; i < 25; ++i) many += QByteArray::number(300 + i) + ",10,0,0,1,1,0,0,x\r\n";
    QTest::newRow("25 bad lines") << many
                                  << QStringList{"Import failed, nothing was changed:", "CSV line 2, column Quantity",
                                                 "CSV line 21, column Quantity", "... and 5 more failing lines"};
  }

  void aFailingImportChangesNothingAndListsTheLines() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, lines);
    Fixture f(0);
    f.write("PROJECTS/Plant1/var.xml", Two_Rows);
    f.write("bad.csv", csv);
    const QString path = f.program.path("bad.csv");
    f.fakes.files.paths = {path};
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      click(dialog, "Btn_Import");
      QCOMPARE(f.fakes.boxes.errors.size(), 1);
      const QStringList shown = f.fakes.boxes.errors[0].split('\n');
      QCOMPARE(shown[0], QDir::toNativeSeparators(path));
      for (const QString& line : lines) {
        QVERIFY2(std::any_of(shown.begin(), shown.end(), [&](const QString& s) { return s.startsWith(line); }),
                 qPrintable(line + " not in:\n" + f.fakes.boxes.errors[0]));
      }
      QVERIFY(shown.size() <= 23);  // path, heading, twenty failures and the count
      QCOMPARE(column(view, Col_COB, 3), (QStringList{"385", "386", ""}));
      QVERIFY(!button(dialog, "Btn_Undo")->isEnabled());
    });
  }

  // Export goes up to the last request, a row without a Cob-ID before it
  // included; Import brings that row back at its place, and OK refuses the
  // gap as it does for a Cob-ID cleared by hand.
  void aRowWithoutACobIdComesBackAtItsPlace_data() { both_screens(); }

  void aRowWithoutACobIdComesBackAtItsPlace() {
    QFETCH(QByteArray, step);
    Fixture f(0);
    f.write(file_of(step), Two_Rows);
    const QByteArray before = f.read(file_of(step));
    f.fakes.files.paths = {f.program.path("gap.csv"), f.program.path("gap.csv")};
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      test::set_cell(view, 1, Col_COB, "");
      click(dialog, "Btn_Export");
      QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(column(view, Col_COB, 2), (QStringList{"385", "386"}));
      click(dialog, "Btn_Import");
      QVERIFY2(f.fakes.boxes.errors.isEmpty(), qPrintable(f.fakes.boxes.errors.join('\n')));
      QCOMPARE(column(view, Col_COB, 3), (QStringList{"", "386", ""}));
      QCOMPARE(column(view, Col_Mnemonic, 2), (QStringList{"Pump", "Valve"}));
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
    });
    QCOMPARE(f.fakes.boxes.errors,
             QStringList{"Error row 1!! Cob-ID is empty, but rows below it hold requests, which would not be saved"});
    QCOMPARE(f.read(file_of(step)), before);
  }

  // A file of no requests would empty the table: Import asks first, and No
  // keeps the rows.
  void aFileWithoutRequestsAsksBeforeEmptying_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("No") << false;
    QTest::newRow("Yes") << true;
  }

  void aFileWithoutRequestsAsksBeforeEmptying() {
    QFETCH(bool, yes);
    Fixture f(0);
    f.write("PROJECTS/Plant1/var.xml", Two_Rows);
    f.write("header.csv",
            "\xEF\xBB\xBF"
            "COB,Mnemonic\r\n\r\n");
    const QString path = f.program.path("header.csv");
    f.fakes.files.paths = {path};
    f.fakes.boxes.answers = {yes};
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      click(dialog, "Btn_Import");
      QCOMPARE(column(view, Col_COB, 2), yes ? (QStringList{"", ""}) : (QStringList{"385", "386"}));
    });
    QCOMPARE(f.fakes.boxes.questions,
             QStringList{QDir::toNativeSeparators(path) +
                         "\nThe file holds no requests: importing it empties the table. Empty the table?"});
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  // Text typed or pasted into a cell that the file could not hold is a
  // failed row check: OK and Test refuse it, naming the row and the column.
  void textTheFileCannotHoldFailsTheChecks_data() {
    QTest::addColumn<QString>("mnemonic");
    QTest::addColumn<QString>("said");
    QTest::newRow("escape") << QStringLiteral("pump\x1B[1m")
                            << "Error row 2!! Mnemonic holds a character that a project file cannot store: U+001B";
    QTest::newRow("U+FFFF") << QString(QChar(0xFFFF))
                            << "Error row 2!! Mnemonic holds a character that a project file cannot store: U+FFFF";
    QTest::newRow("too long") << QString(256, QLatin1Char('x'))
                              << "Error row 2!! Mnemonic is longer than 255 characters";
  }

  void textTheFileCannotHoldFailsTheChecks() {
    QFETCH(QString, mnemonic);
    QFETCH(QString, said);
    Fixture f(0);
    f.write("PROJECTS/Plant1/var.xml", Two_Rows);
    const QByteArray before = f.read("PROJECTS/Plant1/var.xml");
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      test::set_cell(view, 2, Col_Mnemonic, mnemonic);
      click(dialog, "Btn_OK");
      QVERIFY(dialog->isVisible());
      click(dialog, "Btn_Test");
    });
    QCOMPARE(f.fakes.boxes.errors, (QStringList{said, said}));
    QCOMPARE(f.read("PROJECTS/Plant1/var.xml"), before);
  }

  // Cancelling a dialog does nothing; a file that cannot be written is said.
  void cancelledDialogsAndUnwritableFiles() {
    Fixture f(0);
    f.write("PROJECTS/Plant1/var.xml", Two_Rows);
    const QString missing_dir = f.program.path("no such folder/out.csv");
    f.fakes.files.paths = {QString(), QString(), missing_dir};
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      click(dialog, "Btn_Export");
      click(dialog, "Btn_Import");
      QVERIFY(f.fakes.boxes.errors.isEmpty());
      QCOMPARE(column(view, Col_COB, 2), (QStringList{"385", "386"}));
      click(dialog, "Btn_Export");
      QCOMPARE(f.fakes.boxes.errors.size(), 1);
      const QString path = QDir::toNativeSeparators(missing_dir);
      QVERIFY2(f.fakes.boxes.errors[0].startsWith(path + "\n" + path + " cannot be written: "),
               qPrintable(f.fakes.boxes.errors[0]));
      QVERIFY(dialog->isVisible());
    });
    QCOMPARE(f.fakes.files.calls.size(), std::size_t{3});
    QVERIFY(!QFile::exists(missing_dir));
  }
};

QTEST_MAIN(RequestCsvScreenTest)
#include "request_csv_screen_test.moc"

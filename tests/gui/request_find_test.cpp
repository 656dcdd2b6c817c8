// The find bar of the request screens and the Cob-ID's hex hint.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "request_screen_fixture.h"
#include "screen_test.h"

using namespace sw48230;
using test::at;
using test::Fixture;

namespace {

// 389 is row 1's Cob-ID, row 2's register address and row 4's unit id.
const QByteArray Rows =
    "<R><row COB=\"389\" IP_Add_B1=\"10\" IP_Add_B2=\"0\" IP_Add_B3=\"0\" IP_Add_B4=\"1\" ID_Modbus=\"1\" "
    "Address_Word=\"0\" Mnemonic=\"Pump\"/>"
    "<row COB=\"390\" IP_Add_B1=\"10\" IP_Add_B2=\"0\" IP_Add_B3=\"0\" IP_Add_B4=\"2\" ID_Modbus=\"2\" "
    "Address_Word=\"389\" Mnemonic=\"Valve\"/>"
    "<row COB=\"0x187\" IP_Add_B1=\"10\" IP_Add_B2=\"0\" IP_Add_B3=\"1\" IP_Add_B4=\"3\" ID_Modbus=\"3\" "
    "Address_Word=\"5\" Mnemonic=\"pump room\"/>"
    "<row COB=\"400\" IP_Add_B1=\"10\" IP_Add_B2=\"0\" IP_Add_B3=\"0\" IP_Add_B4=\"4\" ID_Modbus=\"389\" "
    "Address_Word=\"6\" Mnemonic=\"Fan\"/></R>";

QString note(QDialog* dialog) { return dialog->findChild<QLabel*>("L_Find_Status")->text(); }

QLineEdit* query_field(QDialog* dialog) { return dialog->findChild<QLineEdit*>("E_Find"); }

QPoint current(QTableView* view) {
  const QModelIndex index = view->currentIndex();
  return {index.row() + 1, index.column()};
}

// Opens the find bar with Ctrl+F from the grid and types a new query.
void find(QDialog* dialog, QTableView* view, const QString& query) {
  view->setFocus();
  QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
  QLineEdit* field = query_field(dialog);
  QVERIFY(field->isVisible());
  QCOMPARE(QApplication::focusWidget(), field);
  QTest::keyClicks(field, query);  // the old query was selected, so typing replaces it
}

}  // namespace

class RequestFindTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  // Enter and Shift+Enter walk the matches, going round the table with a
  // note; the bar says when nothing matches.
  void enterWalksTheMatches_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QList<int>>("keys");      // Enter, or Shift+Enter as -1
    QTest::addColumn<QList<QPoint>>("cells");  // row, column after each key
    QTest::addColumn<QStringList>("notes");
    const QString top = QStringLiteral("Passed the end of the table: continued from the first row");
    const QString end = QStringLiteral("Passed the first row: continued from the end of the table");
    QTest::newRow("decimal Cob-ID, address, unit id")
        << "389" << QList<int>{1, 1, 1, 1}
        << QList<QPoint>{{1, Col_COB}, {2, Col_Address}, {4, Col_ID_Modbus}, {1, Col_COB}}
        << QStringList{"", "", "", top};
    QTest::newRow("hex query finds decimal and hex Cob-IDs")
        << "0x185" << QList<int>{1, -1, -1} << QList<QPoint>{{1, Col_COB}, {4, Col_ID_Modbus}, {2, Col_Address}}
        << QStringList{"", end, ""};
    QTest::newRow("hex Cob-ID in the table")
        << "391" << QList<int>{1} << QList<QPoint>{{3, Col_COB}} << QStringList{""};
    QTest::newRow("address") << "10.0.1.3" << QList<int>{1} << QList<QPoint>{{3, Col_IP}} << QStringList{""};
    QTest::newRow("mnemonic, any case") << "PUMP" << QList<int>{1, 1}
                                        << QList<QPoint>{{1, Col_Mnemonic}, {3, Col_Mnemonic}} << QStringList{"", ""};
    QTest::newRow("no match") << "Boiler" << QList<int>{1} << QList<QPoint>{{1, 0}} << QStringList{"No match"};
  }

  void enterWalksTheMatches() {
    QFETCH(QString, query);
    QFETCH(QList<int>, keys);
    QFETCH(QList<QPoint>, cells);
    QFETCH(QStringList, notes);
    Fixture f(0);
    f.write("PROJECTS/Plant1/var.xml", Rows);
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      test::select(view, 1, 0);
      find(dialog, view, query);
      for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClick(query_field(dialog), Qt::Key_Return, keys[i] < 0 ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(current(view), cells[i]);
        QCOMPARE(note(dialog), notes[i]);
      }
      QVERIFY(dialog->isVisible());
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  // Escape closes the bar and gives the grid the focus back; the screen
  // stays open, with its edits. The buttons find as the keys do.
  void escapeClosesOnlyTheBar() {
    Fixture f(0);
    f.write("PROJECTS/Plant1/var.xml", Rows);
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      test::set_cell(view, 2, Col_Mnemonic, "Valve 2");
      test::select(view, 1, 0);
      find(dialog, view, "valve");
      QTest::mouseClick(dialog->findChild<QPushButton*>("Btn_Find_Next"), Qt::LeftButton);
      QCOMPARE(current(view), QPoint(2, Col_Mnemonic));
      QTest::mouseClick(dialog->findChild<QPushButton*>("Btn_Find_Previous"), Qt::LeftButton);
      QCOMPARE(note(dialog), QStringLiteral("Passed the first row: continued from the end of the table"));
      QTest::keyClick(query_field(dialog), Qt::Key_Escape);
      QVERIFY(!query_field(dialog)->isVisible());
      QVERIFY(dialog->isVisible());
      QCOMPARE(QApplication::focusWidget(), view);
      QCOMPARE(test::cell(view, 2, Col_Mnemonic), QStringLiteral("Valve 2"));
      // From a button of the bar too.
      find(dialog, view, "x");
      auto* close = dialog->findChild<QPushButton*>("Btn_Find_Close");
      close->setFocus();
      QTest::keyClick(close, Qt::Key_Escape);
      QVERIFY(!close->isVisible());
      QVERIFY(dialog->isVisible());
    });
    QVERIFY(f.fakes.boxes.questions.isEmpty());
  }

  // The open bar's controls are on the Tab chain, between the buttons above
  // and the grid below.
  void tabReachesTheBar() {
    Fixture f(0);
    f.open("Btn_COB_Setting", [&](QDialog* dialog, QTableView* view) {
      find(dialog, view, "1");
      QStringList chain;
      for (int step = 0; step < 5; ++step) {
        QWidget* focus = QApplication::focusWidget();
        chain.append(focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
      }
      QCOMPARE(chain, (QStringList{"E_Find", "Btn_Find_Previous", "Btn_Find_Next", "Btn_Find_Close", "ACG_Modbus"}));
      // Enter on a button of the bar is that button.
      find(dialog, view, "1");
      for (int step = 0; step < 3; ++step) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Btn_Find_Close"));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QVERIFY(!query_field(dialog)->isVisible());
      QVERIFY(dialog->isVisible());
    });
  }

  // The Cob-ID's hint is its hex value, as wide as the frame format.
  void theCobIdHintIsHex_data() {
    QTest::addColumn<int>("device_type");
    QTest::addColumn<QByteArray>("pargen");  // the frame format element of ParGen.xml
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<QString>("hint");
    QTest::newRow("jumper, 11-bit") << 0 << QByteArray("<CAN_Type>0</CAN_Type>") << QByteArray("<row COB=\"389\"/>")
                                    << "0x185";
    QTest::newRow("jumper, 29-bit") << 0 << QByteArray("<CAN_Type>1</CAN_Type>") << QByteArray("<row COB=\"389\"/>")
                                    << "0x00000185";
    QTest::newRow("dip-switch, the row's 29-bit")
        << 1 << QByteArray() << QByteArray("<row COB=\"$1ABCDEF0\" CAN_Type=\"CAN 2.0B (29 bits)\"/>") << "0x1ABCDEF0";
    QTest::newRow("dip-switch, the row's 11-bit")
        << 1 << QByteArray("<CAN_Type>1</CAN_Type>") << QByteArray("<row COB=\"7\" CAN_Type=\"CAN 2.0A (11 bits)\"/>")
        << "0x007";
    QTest::newRow("not a number") << 0 << QByteArray() << QByteArray("<row COB=\"12a\"/>") << "";
  }

  void theCobIdHintIsHex() {
    QFETCH(int, device_type);
    QFETCH(QByteArray, pargen);
    QFETCH(QByteArray, row);
    QFETCH(QString, hint);
    Fixture f(device_type);
    f.write("PROJECTS/Plant1/ParGen.xml", "<GeneralParameter><Device_Type>" + QByteArray::number(device_type) +
                                              "</Device_Type>" + pargen + "</GeneralParameter>");
    f.write("PROJECTS/Plant1/var.xml", "<R>" + row + "</R>");
    f.open("Btn_COB_Request", [&](QDialog*, QTableView* view) {
      QCOMPARE(at(view, 1, Col_COB).data(Qt::ToolTipRole).toString(), hint);
      // The hint follows an edit.
      test::set_cell(view, 1, Col_COB, "16");
      QVERIFY(at(view, 1, Col_COB).data(Qt::ToolTipRole).toString().endsWith("10"));
    });
  }
};

QTEST_MAIN(RequestFindTest)
#include "request_find_test.moc"

// The network warnings of the request screens: highlighted rows, their
// hints, the list that selects them; OK still saves.

#include <QBrush>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/commsettings/comm_settings.h"
#include "request_screen_fixture.h"
#include "screen_test.h"

using namespace sw48230;
using test::at;
using test::click;
using test::Fixture;

namespace {

QByteArray row(int cob, const QByteArray& last_byte, const QByteArray& third_byte = "0") {
  return "<row COB=\"" + QByteArray::number(cob) + "\" IP_Add_B1=\"192\" IP_Add_B2=\"168\" IP_Add_B3=\"" + third_byte +
         "\" IP_Add_B4=\"" + last_byte +
         "\" ID_Modbus=\"1\" Type=\"0\" Address_Word=\"0\" Quantity=\"1\" Mnemonic=\"m\"/>";
}

// A jumper project whose converter is 192.168.0.10/24 without a gateway.
void write_project(Fixture& f, const QByteArray& rows) {
  CommSettings settings;
  settings.Device_Type = Device_Type_Jumper;
  f.write("PROJECTS/Plant1/ParGen.xml", QByteArray::fromStdString(ParGen_Document(settings)));
  f.write("PROJECTS/Plant1/var.xml", "<R>" + rows + "</R>");
}

bool highlighted(QTableView* view, int row, int col) {
  return at(view, row, col).data(Qt::BackgroundRole).canConvert<QBrush>();
}

// Edits a cell the way a user does: F2, the new text, Enter.
void retype(QTableView* view, int row, int col, const QString& text) {
  test::select(view, row, col);
  QTest::keyClick(view, Qt::Key_F2);
  QWidget* editor = view->indexWidget(at(view, row, col));
  QVERIFY(editor != nullptr);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
}

}  // namespace

class RequestWarningsScreenTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void warnedRowsAreMarkedAndListed() {
    Fixture f(0);
    // Row 2 is outside the subnet, rows 3 and 4 share a Cob-ID.
    write_project(f, row(256, "11") + row(257, "11", "5") + row(258, "12") + row(258, "13"));
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      auto* button = dialog->findChild<QPushButton*>("Btn_Warnings");
      auto* list = dialog->findChild<QListWidget*>("LB_Warnings");
      QCOMPARE(button->text(), QStringLiteral("Warnings (2)"));
      QVERIFY(!list->isVisible());
      QVERIFY(!highlighted(view, 1, Col_COB));
      for (const int r : {2, 3, 4}) QVERIFY(highlighted(view, r, Col_Mnemonic));
      // Dark text on the light mark, whatever the palette.
      QCOMPARE(at(view, 2, Col_IP).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::black));
      QCOMPARE(at(view, 2, Col_IP).data(Qt::ToolTipRole).toString(),
               QStringLiteral("Warning row 2!! The server is outside the converter's subnet and no gateway is "
                              "enabled: the converter cannot reach it"));
      // The Cob-ID's hint keeps its hex value before the reasons.
      QCOMPARE(at(view, 3, Col_COB).data(Qt::ToolTipRole).toString(),
               QStringLiteral("0x102\nWarning rows 3, 4!! Enabled read requests with the same Cob-ID feed one CAN "
                              "frame"));

      QTest::mouseClick(button, Qt::LeftButton);
      QVERIFY(list->isVisible());
      QCOMPARE(list->count(), 2);
      // The open list is on the Tab chain, after the grid.
      view->setFocus();
      QTest::keyClick(view, Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), list);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
      QCOMPARE(view->selectionModel()->selectedRows(Col_COB).size(), 2);
      QVERIFY(view->selectionModel()->isRowSelected(2, {}) && view->selectionModel()->isRowSelected(3, {}));
      // The arrow keys pick the other entry.
      QTest::keyClick(list, Qt::Key_Up);
      QCOMPARE(view->currentIndex().row(), 1);
      QVERIFY(view->selectionModel()->isRowSelected(1, {}) && !view->selectionModel()->isRowSelected(2, {}));

      // Mending a row takes its warning away at once; an undo brings it back.
      retype(view, 2, Col_IP, "192.168.0.14");
      QCOMPARE(button->text(), QStringLiteral("Warnings (1)"));
      QVERIFY(!highlighted(view, 2, Col_IP));
      QCOMPARE(list->count(), 1);
      QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(button->text(), QStringLiteral("Warnings (2)"));
      QVERIFY(highlighted(view, 2, Col_IP));

      // They are warnings: OK saves.
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
    QVERIFY(f.read("PROJECTS/Plant1/var.xml").contains("IP_Add_B3=\"5\""));
    // A new opening closes the list.
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView*) {
      QVERIFY(!dialog->findChild<QListWidget*>("LB_Warnings")->isVisible());
    });
  }

  // Without valid converter settings only the warnings of the rows show.
  void noAddressWarningsWithoutTheConvertersAddress() {
    Fixture f(0);
    f.write("PROJECTS/Plant1/var.xml", "<R>" + row(256, "11", "5") + row(256, "12") + "</R>");
    f.write("PROJECTS/Plant1/ParGen.xml",
            "<GeneralParameter><Device_Type>0</Device_Type><TCP_IP_1>300</TCP_IP_1></GeneralParameter>");
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      QCOMPARE(dialog->findChild<QPushButton*>("Btn_Warnings")->text(), QStringLiteral("Warnings (1)"));
      QCOMPARE(at(view, 1, Col_IP).data(Qt::ToolTipRole).toString(),
               QStringLiteral("Warning rows 1, 2!! Enabled read requests with the same Cob-ID feed one CAN frame"));
    });
  }
};

QTEST_MAIN(RequestWarningsScreenTest)
#include "request_warnings_screen_test.moc"

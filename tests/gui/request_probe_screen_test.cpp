// The Test button of the request screens against real Modbus TCP servers on
// 127.0.0.1.

#include <QBrush>
#include <QProgressBar>

#include "core/commsettings/comm_settings.h"
#include "gui/tables/request_table_model.h"
#include "request_screen_fixture.h"
#include "screen_test.h"
#include "support/modbus_test_server.h"

using namespace sw48230;
using test::at;
using test::cell;
using test::click;
using test::find;
using test::Fixture;
using test::set_cell;

namespace {

constexpr int Col_Result = RequestTableModel::Col_Result;
constexpr int Col_Quantity = 9;

struct Row {
  int port = 0;
  int unit = 1;
  int address = 2;
  int quantity = 1;
  bool enabled = true;
};

// A row as the screens save it; `registers` is the type of holding
// registers in the table of `step`, which both read with function 3.
QByteArray row_element(const QByteArray& step, int cob, const Row& row) {
  const QByteArray type = step == "Btn_COB_Request" ? "2" : "1";
  return "<row Enable=\"" + QByteArray(row.enabled ? "Y" : "N") + "\" COB=\"" + QByteArray::number(cob) +
         "\" CAN_Type=\"CAN 2.0A (11 bits)\" IP_Add_B1=\"127\" IP_Add_B2=\"0\" IP_Add_B3=\"0\" IP_Add_B4=\"1\" "
         "Port=\"" +
         QByteArray::number(row.port) + "\" ID_Modbus=\"" + QByteArray::number(row.unit) + "\" Type=\"" + type +
         "\" Address_Word=\"" + QByteArray::number(row.address) + "\" Quantity=\"" + QByteArray::number(row.quantity) +
         "\" PollTime=\"100\" MaxError=\"0\" Swap=\"N\" Mnemonic=\"\"/>";
}

// A dip-switch project whose table of `step` holds `rows` from Cob-ID 256 on.
void write_project(Fixture& f, const QByteArray& step, const std::vector<Row>& rows, const char* time_out = "2000") {
  CommSettings settings;
  settings.Device_Type = Device_Type_Dip_Switch;
  settings.Time_Out = time_out;
  f.write("PROJECTS/Plant1/ParGen.xml", QByteArray::fromStdString(ParGen_Document(settings)));
  QByteArray document = "<R>";
  for (std::size_t i = 0; i < rows.size(); ++i) document += row_element(step, 256 + static_cast<int>(i), rows[i]);
  f.write(step == "Btn_COB_Request" ? "PROJECTS/Plant1/var.xml" : "PROJECTS/Plant1/var2.xml", document + "</R>");
}

QString result(QTableView* view, int row) { return at(view, row, Col_Result).data().toString(); }

QPushButton* button(QDialog* dialog, const char* name,
                    const std::source_location& where = std::source_location::current()) {
  return find<QPushButton>(dialog, name, where);
}

// Every cell of the table's own columns.
QStringList content(QTableView* view) {
  QStringList cells;
  for (int row = 1; row <= 20; ++row) {
    for (int col = 0; col < Col_Result; ++col) cells.append(cell(view, row, col));
  }
  return cells;
}

void click_cell(QTableView* view, int row, int col, Qt::KeyboardModifiers keys = {}) {
  QTest::mouseClick(view->viewport(), Qt::LeftButton, keys, view->visualRect(at(view, row, col)).center());
}

void both_screens() {
  QTest::addColumn<QByteArray>("step");
  QTest::newRow("COB Request") << QByteArray("Btn_COB_Request");
  QTest::newRow("COB Setting") << QByteArray("Btn_COB_Setting");
}

}  // namespace

class RequestProbeScreenTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void everyEnabledRowShowsItsAnswerAndNothingIsKept_data() { both_screens(); }

  void everyEnabledRowShowsItsAnswerAndNothingIsKept() {
    QFETCH(QByteArray, step);
    test::ModbusTestServer server({"127.0.0.1"});
    const test::ClosedPort closed;
    const int port = server.port();
    Fixture f(1);
    write_project(
        f, step,
        {{.port = port}, {.port = port, .address = 150}, {.port = closed.port()}, {.port = port, .enabled = false}});
    const char* file = step == "Btn_COB_Request" ? "PROJECTS/Plant1/var.xml" : "PROJECTS/Plant1/var2.xml";
    QStringList before;
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      // The rows are probed as they stand on the screen, not as saved.
      set_cell(view, 1, Col_Quantity, "2");
      before = content(view);
      click(dialog, "Btn_Test");
      QVERIFY(!button(dialog, "Btn_Test")->isEnabled());
      QVERIFY(button(dialog, "Btn_Stop")->isVisible());
      QTRY_VERIFY(button(dialog, "Btn_Test")->isEnabled());
      QVERIFY(!button(dialog, "Btn_Stop")->isVisible());

      QVERIFY2(result(view, 1).startsWith("ok ") && result(view, 1).endsWith(" ms: 65535 300"),
               qPrintable(result(view, 1)));
      QCOMPARE(result(view, 2), QStringLiteral("exception 02 Illegal Data Address"));
      QVERIFY2(result(view, 3).startsWith("refused"), qPrintable(result(view, 3)));
      QCOMPARE(result(view, 4), QString());  // not enabled
      QCOMPARE(at(view, 3, Col_Result).data(Qt::ToolTipRole).toString(), result(view, 3));
      const auto colour = [&](int row) {
        return at(view, row, Col_Result).data(Qt::ForegroundRole).value<QBrush>().color();
      };
      QCOMPARE(colour(1), QColor(0, 128, 0));
      QCOMPARE(colour(2), QColor(192, 0, 0));
      QCOMPARE(colour(3), QColor(192, 0, 0));
      QCOMPARE(view->model()->headerData(Col_Result, Qt::Horizontal).toString(), QStringLiteral("Result"));

      QCOMPARE(content(view), before);
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
    const QByteArray saved = f.read(file);
    QVERIFY(saved.contains("Quantity=\"2\""));
    for (const char* word : {"ok", "Illegal", "refused", "ms:"}) QVERIFY2(!saved.contains(word), word);

    // The results are gone at the next opening; the table is as saved.
    f.open(step.constData(), [&](QDialog*, QTableView* view) {
      QCOMPARE(content(view), before);
      for (int row = 1; row <= 4; ++row) QCOMPARE(result(view, row), QString());
    });
    QCOMPARE(f.read(file), saved);
    // Nothing was ever written to the server.
    for (int function : server.functions_received()) QVERIFY(function >= 1 && function <= 4);
  }

  void onlyTheSelectedRowsAreProbed_data() { both_screens(); }

  void onlyTheSelectedRowsAreProbed() {
    QFETCH(QByteArray, step);
    test::ModbusTestServer server({"127.0.0.1"});
    Fixture f(1);
    write_project(f, step, {{.port = server.port()}, {.port = server.port(), .address = 3}, {.port = server.port()}});
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      click_cell(view, 2, 2);
      click_cell(view, 3, 4, Qt::ControlModifier);
      click(dialog, "Btn_Test");
      QTRY_VERIFY(button(dialog, "Btn_Test")->isEnabled());
      QCOMPARE(result(view, 1), QString());
      QVERIFY2(result(view, 2).endsWith(" ms: 300"), qPrintable(result(view, 2)));
      QVERIFY2(result(view, 3).endsWith(" ms: 65535"), qPrintable(result(view, 3)));
    });
  }

  void aFailedCheckProbesNothing_data() { both_screens(); }

  void aFailedCheckProbesNothing() {
    QFETCH(QByteArray, step);
    test::ModbusTestServer server({"127.0.0.1"});
    Fixture f(1);
    write_project(f, step, {{.port = server.port()}});
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      set_cell(view, 1, 2, "4096");
      click(dialog, "Btn_Test");
      QVERIFY(button(dialog, "Btn_Test")->isEnabled());
      QTest::qWait(50);
      QCOMPARE(result(view, 1), QString());
    });
    QCOMPARE(f.fakes.boxes.errors, QStringList{"Error row 1!! Cob-ID must be between 0 and 2047"});
    QCOMPARE(server.connections_accepted(), 0);
  }

  void stopEndsTheRunAndTheScreenStaysUsable_data() { both_screens(); }

  void stopEndsTheRunAndTheScreenStaysUsable() {
    QFETCH(QByteArray, step);
    // Unit 9 is never answered: without the stop, its row would wait 60 s.
    test::ModbusTestServer server({"127.0.0.1"}, {.silent_unit = 9});
    Fixture f(1);
    write_project(f, step, {{.port = server.port()}, {.port = server.port(), .unit = 9}}, "60000");
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      click(dialog, "Btn_Test");
      QTRY_VERIFY(!result(view, 1).isEmpty());
      auto* progress = dialog->findChild<QProgressBar*>("PB_Test");
      QVERIFY(progress->isVisible());
      QCOMPARE(progress->text(), QStringLiteral("1 of 2 rows tested"));
      // The grid takes edits while the probe waits.
      set_cell(view, 3, 13, "typed");
      QCOMPARE(cell(view, 3, 13), QStringLiteral("typed"));
      click(dialog, "Btn_Stop");
      QVERIFY(button(dialog, "Btn_Test")->isEnabled());
      QVERIFY(!progress->isVisible());
      QTest::qWait(50);
      QCOMPARE(result(view, 2), QString());
    });
  }

  void closingWhileRunningStopsTheProbe_data() {
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<QString>("how");
    for (const char* how : {"OK", "Cancel", "Escape", "close box"}) {
      QTest::addRow("COB Request, %s", how) << QByteArray("Btn_COB_Request") << QString::fromLatin1(how);
      QTest::addRow("COB Setting, %s", how) << QByteArray("Btn_COB_Setting") << QString::fromLatin1(how);
    }
  }

  void closingWhileRunningStopsTheProbe() {
    QFETCH(QByteArray, step);
    QFETCH(QString, how);
    test::ModbusTestServer server({"127.0.0.1"}, {.silent_unit = 9});
    Fixture f(1);
    write_project(f, step, {{.port = server.port(), .unit = 9}, {.port = server.port(), .unit = 9}}, "60000");
    f.open(step.constData(), [&](QDialog* dialog, QTableView*) {
      click(dialog, "Btn_Test");
      QTRY_COMPARE(server.connections_accepted(), 1);
      if (how == "OK") click(dialog, "Btn_OK");
      if (how == "Cancel") click(dialog, "Btn_Cancel");
      if (how == "Escape") QTest::keyClick(dialog, Qt::Key_Escape);
      if (how == "close box") QVERIFY(dialog->close());
      QVERIFY(!dialog->isVisible());
      QVERIFY(button(dialog, "Btn_Test")->isEnabled());
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }
};

QTEST_MAIN(RequestProbeScreenTest)
#include "request_probe_screen_test.moc"

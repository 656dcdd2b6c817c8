// The Test button of the request screens against real Modbus TCP servers on
// 127.0.0.1.

#include <QBrush>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "core/commsettings/comm_settings.h"
#include "gui/tables/request_table_model.h"
#include "request_screen_fixture.h"
#include "screen_test.h"
#include "support/modbus_test_server.h"
#include "support/scripted_modbus_server.h"

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

QString scope(QDialog* dialog) { return find<QLabel>(dialog, "L_Test_Scope")->text(); }
QString summary(QDialog* dialog) { return find<QLabel>(dialog, "L_Test_Summary")->text(); }

// The last value of each row's answer, for rows 1 to `rows`; empty where
// no answer shows.
QStringList last_values(QTableView* view, int rows) {
  QStringList values;
  for (int row = 1; row <= rows; ++row) values.append(result(view, row).section(QLatin1Char(' '), -1));
  return values;
}

// The whole answer can be read in the grid as it stands, without scrolling.
void expect_in_view(QTableView* view, int row) {
  const int x = view->columnViewportPosition(Col_Result);
  const int width = view->columnWidth(Col_Result);
  QVERIFY(!view->isColumnHidden(Col_Result));
  QVERIFY2(x >= 0 && x + width <= view->viewport()->width(),
           qPrintable(QStringLiteral("at %1, %2 wide").arg(x).arg(width)));
  const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
  QVERIFY2(view->fontMetrics().horizontalAdvance(result(view, row)) + margins <= width, qPrintable(result(view, row)));
}

// Stands for a probe that cannot be cut off, such as a connection the
// system is still making: it returns once the test lets it, or after a few
// seconds, so that a window waiting for it fails the test instead of
// hanging it.
class StubbornProber final : public Prober {
 public:
  std::vector<ProbeResult> run(const std::vector<ProbeRequest>&, const ProbeOptions&, ProbeStop&,
                               const ProbeProgress&) override {
    inside = true;
    std::unique_lock lock(mutex_);
    released_.wait_for(lock, std::chrono::seconds(5), [this] { return let_go_; });
    inside = false;
    return {};
  }
  void release() {
    {
      const std::lock_guard lock(mutex_);
      let_go_ = true;
    }
    released_.notify_all();
  }
  std::atomic<bool> inside{false};

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool let_go_ = false;
};

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
      QCOMPARE(scope(dialog), QStringLiteral("Rows to test: 3 (all enabled)"));
      QVERIFY(view->isColumnHidden(Col_Result));
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
      QCOMPARE(summary(dialog),
               QStringLiteral("Tested 3 of 3 rows: 1 ok, 1 exception, 0 time-out, 1 refused, 0 unreachable, 0 error"));
      for (int row = 1; row <= 3; ++row) expect_in_view(view, row);

      QCOMPARE(content(view), before);
      click(dialog, "Btn_OK");
      QVERIFY(!dialog->isVisible());
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
    const QByteArray saved = f.read(file);
    QVERIFY(saved.contains("Quantity=\"2\""));
    for (const char* word : {"ok", "Illegal", "refused", "ms:"}) QVERIFY2(!saved.contains(word), word);

    // The results are gone at the next opening; the table is as saved.
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      QCOMPARE(content(view), before);
      for (int row = 1; row <= 4; ++row) QCOMPARE(result(view, row), QString());
      QVERIFY(view->isColumnHidden(Col_Result));
      QCOMPARE(summary(dialog), QString());
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
      QCOMPARE(scope(dialog), QStringLiteral("Rows to test: 3 (all enabled)"));
      // A single clicked cell narrows the test to its row, which is said.
      click_cell(view, 2, 2);
      QCOMPARE(scope(dialog), QStringLiteral("Rows to test: 1 (selected)"));
      click_cell(view, 3, 4, Qt::ControlModifier);
      QCOMPARE(scope(dialog), QStringLiteral("Rows to test: 2 (selected)"));
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
      QCOMPARE(summary(dialog), QStringLiteral("Stopped after 1 of 2 rows: 1 ok, 0 exception, 0 time-out, 0 refused, "
                                               "0 unreachable, 0 error"));
      QTest::qWait(50);
      QCOMPARE(result(view, 2), QString());
    });
  }

  // A probe thread that cannot be cut off at once never holds the window:
  // Stop and the ways of closing take effect while it still runs, and what
  // it reports later is not shown.
  void theWindowNeverWaitsForTheProbe_data() {
    QTest::addColumn<QString>("how");
    for (const char* how : {"Stop", "OK", "Cancel", "Escape", "close box"})
      QTest::newRow(how) << QString::fromLatin1(how);
  }

  void theWindowNeverWaitsForTheProbe() {
    QFETCH(QString, how);
    StubbornProber prober;
    Fixture f(1, "", &prober);
    // Declared after the program, so the probe is let go before the program
    // ends and waits for it, whatever the test found.
    const struct Release {
      StubbornProber& prober;
      ~Release() { prober.release(); }
    } release{prober};
    write_project(f, "Btn_COB_Request", {{.port = 502}});
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView*) {
      click(dialog, "Btn_Test");
      QTRY_VERIFY(prober.inside);
      if (how == "Stop") click(dialog, "Btn_Stop");
      if (how == "OK") click(dialog, "Btn_OK");
      if (how == "Cancel") click(dialog, "Btn_Cancel");
      if (how == "Escape") QTest::keyClick(dialog, Qt::Key_Escape);
      if (how == "close box") QVERIFY(dialog->close());
      QVERIFY2(prober.inside, "the window waited for the probe");
      QVERIFY(button(dialog, "Btn_Test")->isEnabled());
      QVERIFY(!button(dialog, "Btn_Stop")->isVisible());
      QCOMPARE(dialog->isVisible(), how == "Stop");
      QCOMPARE(summary(dialog), QStringLiteral("Stopped after 0 of 1 rows: 0 ok, 0 exception, 0 time-out, 0 refused, "
                                               "0 unreachable, 0 error"));
    });
    QVERIFY(f.fakes.boxes.errors.isEmpty());
  }

  // A server that never completes the connection, as a device switched off
  // on the local network: Stop ends the test at once, with a time-out of a
  // minute, and the connection given up is no result.
  void stopGivesUpAConnectionBeingMade() {
    test::UnansweredPort unanswered;
    if (!unanswered.hangs()) QSKIP("this system refuses a connection to a full queue instead of leaving it unanswered");
    Fixture f(1);
    write_project(f, "Btn_COB_Request", {{.port = unanswered.port()}}, "60000");
    f.open("Btn_COB_Request", [&](QDialog* dialog, QTableView* view) {
      click(dialog, "Btn_Test");
      QTest::qWait(100);
      QVERIFY(button(dialog, "Btn_Stop")->isVisible());
      click(dialog, "Btn_Stop");
      QVERIFY(button(dialog, "Btn_Test")->isEnabled());
      QCOMPARE(summary(dialog), QStringLiteral("Stopped after 0 of 1 rows: 0 ok, 0 exception, 0 time-out, 0 refused, "
                                               "0 unreachable, 0 error"));
      QTest::qWait(200);
      QCOMPARE(result(view, 1), QString());
    });
  }

  // A result belongs to the request it tested: it moves with its row, and
  // a row that no longer holds that request shows none.
  void resultsStayWithTheirRequests_data() {
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected");  // the last value shown on rows 1 to 4
    const std::pair<const char*, QStringList> changes[] = {
        {"Delete Row 1", {"300", "400", "", ""}},           {"Insert Row 2", {"65535", "", "300", "400"}},
        {"Paste Row 3 over row 1", {"", "300", "400", ""}}, {"edit row 2", {"65535", "", "400", ""}},
        {"edit row 2, Undo", {"65535", "300", "400", ""}},  {"Delete Row 1, Undo", {"", "300", "400", ""}},
        {"Import without row 1", {"", "", "", ""}},
    };
    for (const auto& [change, expected] : changes) {
      QTest::addRow("COB Request, %s", change)
          << QByteArray("Btn_COB_Request") << QString::fromLatin1(change) << expected;
      QTest::addRow("COB Setting, %s", change)
          << QByteArray("Btn_COB_Setting") << QString::fromLatin1(change) << expected;
    }
  }

  void resultsStayWithTheirRequests() {
    QFETCH(QByteArray, step);
    QFETCH(QString, change);
    QFETCH(QStringList, expected);
    test::ModbusTestServer server({"127.0.0.1"});
    Fixture f(1);
    const int port = server.port();
    write_project(f, step, {{.port = port, .address = 2}, {.port = port, .address = 3}, {.port = port, .address = 4}});
    const QString csv = f.program.path("rows.csv");
    f.open(step.constData(), [&](QDialog* dialog, QTableView* view) {
      click(dialog, "Btn_Test");
      QTRY_VERIFY(button(dialog, "Btn_Test")->isEnabled());
      QCOMPARE(last_values(view, 4), (QStringList{"65535", "300", "400", ""}));

      const auto delete_row_1 = [&] {
        click_cell(view, 1, 2);
        f.fakes.boxes.answers.push_back(true);
        click(dialog, "Btn_DelRow");
      };
      const auto edit_row_2 = [&] {
        click_cell(view, 2, 8);
        QTest::keyClicks(view, QStringLiteral("9"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(cell(view, 2, 8) != QStringLiteral("3"));
      };
      if (change == "Delete Row 1") delete_row_1();
      if (change == "Insert Row 2") {
        click_cell(view, 2, 2);
        click(dialog, "Btn_InsRow");
      }
      if (change == "Paste Row 3 over row 1") {
        click_cell(view, 3, 2);
        click(dialog, "Btn_CopyRow");
        click_cell(view, 1, 2);
        f.fakes.boxes.answers.push_back(true);
        click(dialog, "Btn_PasteRow");
      }
      if (change.startsWith("edit row 2")) edit_row_2();
      if (change == "Delete Row 1, Undo") delete_row_1();
      if (change.endsWith("Undo")) click(dialog, "Btn_Undo");
      if (change == "Import without row 1") {
        f.fakes.files.paths = {csv, csv};
        click(dialog, "Btn_Export");
        QList<QByteArray> lines = f.read("rows.csv").split('\n');
        lines.removeAt(1);
        f.write("rows.csv", lines.join('\n'));
        click(dialog, "Btn_Import");
        QCOMPARE(cell(view, 1, 8), QStringLiteral("3"));
      }
      QCOMPARE(last_values(view, 4), expected);
    });
    QVERIFY2(f.fakes.boxes.errors.isEmpty(), qPrintable(f.fakes.boxes.errors.join('\n')));
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

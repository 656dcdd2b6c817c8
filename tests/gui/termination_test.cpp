#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "screen_test.h"
#include "support/scripted_modbus_server.h"

// The configurator in a process of its own, ended by a signal while nobody
// can answer it: at logout, or Ctrl+C in the terminal it was started from.
class TerminationTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  // Any warning fails, except the offscreen platform's note that it cannot
  // resize windows to their content.
  void init() {
    ScreenTest::init();
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support propagateSizeHints)")));
  }

  void aSignalEndsTheProgramWithoutAsking_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("signal_number");
    QTest::addColumn<QByteArray>("device_type");
    QTest::newRow("unsaved edits, SIGTERM") << QStringLiteral("edits") << SIGTERM << QByteArray();
    QTest::newRow("unsaved edits, SIGINT") << QStringLiteral("edits") << SIGINT << QByteArray();
    QTest::newRow("question open, SIGTERM") << QStringLiteral("question") << SIGTERM << QByteArray();
    QTest::newRow("question open, SIGINT") << QStringLiteral("question") << SIGINT << QByteArray();
    QTest::newRow("table edited, jumper, SIGTERM") << QStringLiteral("table") << SIGTERM << QByteArray("0");
    QTest::newRow("table edited, jumper, SIGINT") << QStringLiteral("table") << SIGINT << QByteArray("0");
    QTest::newRow("table edited, dip-switch, SIGTERM") << QStringLiteral("table") << SIGTERM << QByteArray("1");
    QTest::newRow("table edited, dip-switch, SIGINT") << QStringLiteral("table") << SIGINT << QByteArray("1");
    // The server never answers the connection, and the time-out is a minute.
    QTest::newRow("test under way, SIGTERM") << QStringLiteral("testing") << SIGTERM << QByteArray("1");
    QTest::newRow("test under way, SIGINT") << QStringLiteral("testing") << SIGINT << QByteArray("1");
  }

  void aSignalEndsTheProgramWithoutAsking() {
    QFETCH(QString, scenario);
    QFETCH(int, signal_number);
    QFETCH(QByteArray, device_type);
    sw48230::test::ProgramDir program;
    program.add_open_project();
    const sw48230::test::UnansweredPort unanswered;
    if (scenario == "testing" && !unanswered.hangs()) {
      QSKIP("this system refuses a connection to a full queue instead of leaving it unanswered");
    }
    const QByteArray table =
        "<R><row Enable=\"Y\" COB=\"385\" IP_Add_B1=\"127\" IP_Add_B2=\"0\" IP_Add_B3=\"0\" IP_Add_B4=\"1\" Port=\"" +
        QByteArray::number(unanswered.port()) +
        "\" Type=\"2\" Address_Word=\"0\" Quantity=\"1\" PollTime=\"100\"/></R>";
    if (!device_type.isEmpty()) {
      program.write(QStringLiteral("PROJECTS/Plant1/ParGen.xml"),
                    "<G><Device_Type>" + device_type + "</Device_Type><Time_Out>60000</Time_Out></G>");
      program.write(QStringLiteral("PROJECTS/Plant1/var.xml"), table);
    }

    QProcess driver;
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    driver.start(QStringLiteral(TERMINATION_DRIVER_PATH), {program.path(), scenario});
    QVERIFY(driver.waitForStarted(10000));
    QByteArray said;
    while (!said.contains("ready\n") && driver.waitForReadyRead(30000)) {
      said += driver.readAllStandardOutput();
    }
    QVERIFY2(said.contains("ready\n"), said.constData());

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(::kill(static_cast<pid_t>(driver.processId()), signal_number), 0);
    // Bounded only so that a program waiting for an answer fails the test
    // instead of hanging it.
    const bool ended = driver.waitForFinished(10000);
    if (!ended) {
      driver.kill();
      driver.waitForFinished(10000);
    }
    QVERIFY2(ended, "the program waited for an answer nobody could give");
    qInfo("ended %lld ms after the signal", static_cast<long long>(clock.elapsed()));
    QCOMPARE(driver.exitStatus(), QProcess::NormalExit);
    QCOMPARE(driver.exitCode(), 0);

    // The settings are saved; the edit nobody confirmed is not.
    QVERIFY(program.read(QStringLiteral("Velstrom.xml")).contains("<ipaddress>192.168.2.205</ipaddress>"));
    if (device_type.isEmpty()) {
      QVERIFY(!QFile::exists(program.path(QStringLiteral("PROJECTS/Plant1/ParGen.xml"))));
    } else {
      QCOMPARE(program.read(QStringLiteral("PROJECTS/Plant1/var.xml")), table);
    }
  }
};

QTEST_MAIN(TerminationTest)
#include "termination_test.moc"

#pragma once

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cerrno>
#include <chrono>
#include <initializer_list>
#include <system_error>

#include "gui/app/tf_main.h"
#include "platform/program_starter.h"
#include "screen_test.h"

namespace sw48230::test {

// A program folder (with a blank in its name, as under "Program Files") with
// the project Plant1 open, and the main window over it.
struct UpdateFixture : ProgramFixture {
  // `device_type` goes into ParGen.xml, none when empty; `last_ip` is the
  // remembered device address.
  explicit UpdateFixture(const QByteArray& device_type = "0", const QByteArray& last_ip = "192.168.2.205")
      : ProgramFixture(QStringLiteral("Velstrom 2")) {
    program.add_open_project("<lastipadd><ipaddress>" + last_ip + "</ipaddress></lastipadd>");
    if (!device_type.isEmpty()) {
      write(QStringLiteral("PROJECTS/Plant1/ParGen.xml"),
            "<GeneralParameter><Device_Type>" + device_type + "</Device_Type></GeneralParameter>");
    }
  }

  QString path(const QString& name) const { return program.path(name); }

  void write(const QString& name, const QByteArray& bytes) const { program.write(name, bytes); }

  // Shows the update screen as Update Device does after its build and lets
  // `act` drive it;
  // fails unless `screen` came up.
  void open_update(const char* screen, const std::function<void(QDialog*)>& act) {
    bool shown = false;
    when_dialog_shown([&](QDialog* dialog) {
      shown = true;
      QCOMPARE(dialog->objectName(), QString::fromLatin1(screen));
      act(dialog);
      if (dialog->isVisible()) dialog->reject();  // never leave a test hanging
    });
    const bool ethernet = QString::fromLatin1(screen) == QStringLiteral("TFBootTCP");
    window->Show_Update_Screen(ethernet ? ImageKind::Bank2 : ImageKind::Bank);
    QVERIFY(shown);
  }
};

// A control's texts by message index; -1 where it has none to check.
struct ControlTexts {
  const char* name;
  int caption;
  int hint;
};

// Each control shows its caption and hint from the message table and has a
// name for screen readers.
inline void expect_texts(QDialog* dialog, std::initializer_list<ControlTexts> controls) {
  for (const ControlTexts& c : controls) {
    QWidget* widget = find(dialog, c.name);
    if (c.caption >= 0) QCOMPARE(widget->property("text").toString(), default_text(c.caption));
    QCOMPARE(widget->toolTip(), c.hint < 0 ? QString() : default_text(c.hint));
    QVERIFY2(!widget->accessibleName().isEmpty(), c.name);
  }
}

inline bool shown(QDialog* dialog, const char* name) { return find(dialog, name)->isVisibleTo(dialog); }

#ifdef FAKE_UPDATER_PATH

// The ways an updater run can end that the user must hear about, each played
// by the fake updater placed in the program folder under the updater's name.
inline void updater_outcomes_data() {
  QTest::addColumn<bool>("present");
  QTest::addColumn<int>("exit_code");
  QTest::addColumn<int>("sleep_ms");
  QTest::addColumn<int>("limit_ms");
  QTest::addColumn<QString>("box");  // "error", "warning" or none
  QTest::addColumn<QString>("first_line");
  QTest::addColumn<QString>("last_line");  // after the program's full path
  QTest::newRow("ends with code 0") << true << 0 << 0 << 60000 << QString() << QString() << QString();
  QTest::newRow("missing") << false << 0 << 0 << 60000 << QStringLiteral("error") << default_text(492)
                           << QString::fromStdString(std::generic_category().message(ENOENT));
  QTest::newRow("exits with code 3") << true << 3 << 0 << 60000 << QStringLiteral("warning") << default_text(493) + " 3"
                                     << QString();
  QTest::newRow("outlives the limit") << true << 0 << 4000 << 400 << QStringLiteral("warning") << default_text(494)
                                      << QString();
}

// Runs the update screen `screen` with a real program starter whose limit is
// shortened where the row says; `drive` takes the screen to its update button and
// presses it. Checks the one box shown afterwards: its first line, the
// updater's full path, and the system's reason where there is one.
inline void check_updater_outcome(const char* screen, const QString& updater_name, UpdateFixture& f,
                                  const std::function<void(QDialog*)>& drive) {
  QFETCH(bool, present);
  QFETCH(int, exit_code);
  QFETCH(int, sleep_ms);
  QFETCH(int, limit_ms);
  QFETCH(QString, box);
  QFETCH(QString, first_line);
  QFETCH(QString, last_line);
  const QString updater = f.path(updater_name);
  const QString record = f.program.root().filePath(QStringLiteral("record"));
  if (present) QVERIFY(QFile::copy(QStringLiteral(FAKE_UPDATER_PATH), updater));
  qputenv("FAKE_UPDATER_RECORD", QFile::encodeName(record));
  qputenv("FAKE_UPDATER_SLEEP_MS", QByteArray::number(sleep_ms));
  qputenv("FAKE_UPDATER_EXIT", QByteArray::number(exit_code));
  SystemProgramStarter starter{std::chrono::milliseconds(limit_ms)};
  const Services services = f.fakes.services();
  f.start(Services{services.boxes, starter, services.browser, services.http, services.serial_ports, services.echo,
                   services.clock, services.prober, services.files});
  f.open_update(screen, [&](QDialog* dialog) {
    drive(dialog);
    // The screen stays on its update page, ready for another run.
    QVERIFY(dialog->isVisible());
    QVERIFY(shown(dialog, "Btn_Update"));
  });
  qunsetenv("FAKE_UPDATER_SLEEP_MS");
  qunsetenv("FAKE_UPDATER_EXIT");

  const QStringList& errors = f.fakes.boxes.errors;
  const QStringList& warnings = f.fakes.boxes.warnings;
  QCOMPARE(errors.size(), box == QStringLiteral("error") ? 1 : 0);
  QCOMPARE(warnings.size(), box == QStringLiteral("warning") ? 1 : 0);
  if (!box.isEmpty()) {
    QStringList expected{first_line, updater};
    if (!last_line.isEmpty()) expected.append(last_line);
    QCOMPARE((errors + warnings).first().split(QLatin1Char('\n')), expected);
  }
  if (sleep_ms > 0) {
    // Left running, never killed: it still ends on its own.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record + QStringLiteral(".done")), 20000);
  } else if (present) {
    QVERIFY(QFileInfo::exists(record + QStringLiteral(".done")));
  }
}

#endif

}  // namespace sw48230::test

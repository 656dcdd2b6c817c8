#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <system_error>

#include "platform/program_starter.h"
#include "platform/signal_bridge.h"
#include "screen_test.h"

using namespace std::chrono_literals;

namespace sw48230 {
namespace {

const QString kFakeUpdater = QStringLiteral(FAKE_UPDATER_PATH);

// What the fake updater wrote about itself; see fake_updater.cpp.
struct Record {
  bool valid = false;
  qint64 pid = -1;
  qint64 pgid = -1;
  QList<QByteArray> argv;
};

Record read_record(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  Record record;
  qsizetype pos = 0;
  auto header = [&](const QByteArray& key) -> qint64 {
    const qsizetype end = data.indexOf('\n', pos);
    if (end < 0) return -1;
    const QList<QByteArray> parts = data.mid(pos, end - pos).split(' ');
    pos = end + 1;
    if (parts.size() != 2 || parts[0] != key) return -1;
    bool ok = false;
    const qint64 value = parts[1].toLongLong(&ok);
    return ok ? value : -1;
  };
  record.pid = header("pid");
  record.pgid = header("pgid");
  const qint64 argc = header("argc");
  if (record.pid < 0 || record.pgid < 0 || argc < 0) return {};
  for (qint64 i = 0; i < argc; ++i) {
    const qsizetype blank = data.indexOf(' ', pos);
    if (blank < 0) return {};
    bool ok = false;
    const qsizetype length = data.mid(pos, blank - pos).toLongLong(&ok);
    if (!ok || blank + 1 + length >= data.size() || data[blank + 1 + length] != '\n') return {};
    record.argv.append(data.mid(blank + 1, length));
    pos = blank + 2 + length;
  }
  record.valid = pos == data.size();
  return record;
}

bool process_gone(qint64 pid) { return ::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH; }

// Kills a fake updater left behind by a failed check.
struct KillOnExit {
  qint64 pid = -1;
  ~KillOnExit() {
    if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGKILL);
  }
};

class CountingWidget final : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    QWidget::paintEvent(event);
  }
};

volatile std::sig_atomic_t previous_handler_calls = 0;
void previous_handler(int) { previous_handler_calls = previous_handler_calls + 1; }

}  // namespace

class StartProgramTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  int run_ = 0;
  QString record_;

  // Points the fake at a fresh record file and sets how long it sleeps and
  // the code it ends with.
  void prepare_fake(int sleep_ms, int exit_code = 0) {
    if (exit_code != 0) {
      qputenv("FAKE_UPDATER_EXIT", QByteArray::number(exit_code));
    } else {
      qunsetenv("FAKE_UPDATER_EXIT");
    }
    record_ = dir_.filePath(QStringLiteral("record%1").arg(++run_));
    qputenv("FAKE_UPDATER_RECORD", QFile::encodeName(record_));
    if (sleep_ms > 0) {
      qputenv("FAKE_UPDATER_SLEEP_MS", QByteArray::number(sleep_ms));
    } else {
      qunsetenv("FAKE_UPDATER_SLEEP_MS");
    }
  }
  bool fake_done() const { return QFileInfo::exists(record_ + QStringLiteral(".done")); }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void passes_the_argument_string_split_like_windows_data() {
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QList<QByteArray>>("expected");
    QTest::newRow("empty") << QString() << QList<QByteArray>{};
    QTest::newRow("blanks only") << QStringLiteral(" \t ") << QList<QByteArray>{};
    QTest::newRow("path with blanks and port") << QStringLiteral(R"("C:\Program Files\Upd\fw.hex" COM3 115200)")
                                               << QList<QByteArray>{R"(C:\Program Files\Upd\fw.hex)", "COM3", "115200"};
    QTest::newRow("shell characters stay literal")
        << QStringLiteral(R"("Plant 1; rm -f x & y | $(id) `id` > out" *.hex ~ %PATH%)")
        << QList<QByteArray>{"Plant 1; rm -f x & y | $(id) `id` > out", "*.hex", "~", "%PATH%"};
    QTest::newRow("quotes and backslashes") << QStringLiteral(R"(a\\\"b "c ""d"" e" "" f\\"g h" "C:\dir\\")")
                                            << QList<QByteArray>{R"(a\"b)", R"(c "d" e)", "", R"(f\g h)", R"(C:\dir\)"};
    QTest::newRow("non-ASCII") << QString::fromUtf8(
                                      "\"Anlage \xC3\x9C"
                                      "ber\" \xE2\x82\xAC")
                               << QList<QByteArray>{
                                      "Anlage \xC3\x9C"
                                      "ber",
                                      "\xE2\x82\xAC"};
  }

  void passes_the_argument_string_split_like_windows() {
    QFETCH(QString, parameter);
    QFETCH(QList<QByteArray>, expected);
    prepare_fake(0);
    SystemProgramStarter starter(60s);
    const ProgramRun run = starter.Start_Program(kFakeUpdater, parameter, false);

    QVERIFY2(fake_done(), "returned before the program ended");
    QVERIFY(run == ProgramRun{});
    const Record record = read_record(record_);
    QVERIFY(record.valid);
    QCOMPARE(record.argv.value(0), QFile::encodeName(kFakeUpdater));
    QCOMPARE(record.argv.mid(1), expected);
    // A group of its own: a Ctrl+C at the terminal must not reach the updater.
    QCOMPARE(record.pgid, record.pid);
  }

  void waits_until_the_program_ends_and_gives_its_exit_code_data() {
    QTest::addColumn<int>("exit_code");
    QTest::newRow("success") << 0;
    QTest::newRow("failure") << 3;
    QTest::newRow("highest") << 255;
  }

  void waits_until_the_program_ends_and_gives_its_exit_code() {
    QFETCH(int, exit_code);
    prepare_fake(700, exit_code);
    SystemProgramStarter starter(60s);
    QElapsedTimer clock;
    clock.start();
    const ProgramRun run = starter.Start_Program(kFakeUpdater, QStringLiteral("x"), false);
    QVERIFY2(fake_done(), "returned before the program ended");
    QVERIFY(clock.elapsed() < 60000);
    QCOMPARE(int(run.end), int(ProgramEnd::Ended));
    QCOMPARE(run.exit_code, exit_code);
  }

  void stops_waiting_at_the_limit_and_leaves_the_program_running() {
    prepare_fake(3000);
    SystemProgramStarter starter(300ms);
    QElapsedTimer clock;
    clock.start();
    const ProgramRun run = starter.Start_Program(kFakeUpdater, QString(), false);
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(int(run.end), int(ProgramEnd::Still_Running));
    const bool ended_before_return = fake_done();

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record_), 20000);
    KillOnExit cleanup{read_record(record_).pid};
    QVERIFY(cleanup.pid > 0);
    QVERIFY(elapsed >= 300);
    QVERIFY2(!ended_before_return, "waited for the program past the limit");

    // It runs to its end instead of being killed, and is reaped afterwards.
    QTRY_VERIFY_WITH_TIMEOUT(fake_done(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(process_gone(cleanup.pid), 20000);
    cleanup.pid = -1;
  }

  void returns_at_once_when_the_program_cannot_start_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<int>("reason");
    QTest::newRow("missing") << dir_.filePath(QStringLiteral("no_such_updater")) << QByteArray() << false << ENOENT;
    QTest::newRow("empty path") << QString() << QByteArray() << false << ENOENT;
    QTest::newRow("folder") << dir_.path() << QByteArray() << false << EACCES;
    // Root may read any file but still runs only what is marked executable.
    QTest::newRow("not executable") << dir_.filePath(QStringLiteral("plain.bin")) << QByteArray("data") << false
                                    << EACCES;
    // Without a shell, a file that is neither a binary nor a script is not run.
    QTest::newRow("no format") << dir_.filePath(QStringLiteral("garbage.bin")) << QByteArray("touch started\n") << true
                               << ENOEXEC;
  }

  void returns_at_once_when_the_program_cannot_start() {
    QFETCH(QString, program);
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    QFETCH(int, reason);
    if (!content.isEmpty()) {
      QFile file(program);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(content);
      file.close();
      QFile::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
      if (executable) permissions |= QFileDevice::ExeOwner;
      QVERIFY(file.setPermissions(permissions));
    }
    SystemProgramStarter starter(60s);
    QElapsedTimer clock;
    clock.start();
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
    const ProgramRun run = starter.Start_Program(program, QStringLiteral("a b"), false);
    QVERIFY(QDir::setCurrent(before));
    QVERIFY(clock.elapsed() < 30000);
    QCOMPARE(int(run.end), int(ProgramEnd::Not_Started));
    QCOMPARE(QString::fromStdString(run.reason), QString::fromStdString(std::generic_category().message(reason)));
    QVERIFY(!QFileInfo::exists(dir_.filePath(QStringLiteral("started"))));
  }

  void keeps_the_user_out_while_waiting() {
    CountingWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new QPushButton(QStringLiteral("Update"), &window);
    layout->addWidget(button);
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int clicks = 0;
    connect(button, &QPushButton::clicked, this, [&clicks] { ++clicks; });

    bool ran_during_wait = false;
    int cursor_shape = -1;
    bool open_after_close_box = false;
    int paints_before = 0;
    bool painted = false;
    QTimer::singleShot(0, this, [&] {
      ran_during_wait = !fake_done();
      if (const QCursor* cursor = QGuiApplication::overrideCursor()) cursor_shape = cursor->shape();
      QTest::mouseClick(button, Qt::LeftButton);
      // What the window system sends for the close box or Alt+F4.
      QCloseEvent close_box;
      QCoreApplication::sendEvent(window.windowHandle(), &close_box);
      open_after_close_box = window.isVisible();
      paints_before = window.paints;
      window.update();
      QTimer::singleShot(300, this, [&] { painted = window.paints > paints_before; });
    });

    prepare_fake(1500);
    SystemProgramStarter starter(60s);
    starter.Start_Program(kFakeUpdater, QString(), false);

    QVERIFY(fake_done());
    QVERIFY(ran_during_wait);
    QCOMPARE(cursor_shape, int(Qt::WaitCursor));
    QVERIFY(open_after_close_box);
    QVERIFY(painted);
    QCOMPARE(clicks, 0);
    QVERIFY(window.isVisible());

    // Everything is back once the wait is over.
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
  }

  // The path a termination signal takes: the main window is closed from
  // code, the application quits as its last window closed, and the updater
  // is left to finish.
  void closing_the_application_stops_waiting() {
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());

    prepare_fake(3000);
    SystemProgramStarter starter(60s);
    bool ended_before_return = true;
    bool open_at_return = true;
    bool abandoned = false;
    QTimer::singleShot(0, this, [&] {
      QTimer::singleShot(200, this, [&] { window.close(); });
      abandoned = starter.Start_Program(kFakeUpdater, QString(), false).end == ProgramEnd::Abandoned;
      ended_before_return = fake_done();
      open_at_return = window.isVisible();
    });
    // Only so that a broken wait fails instead of hanging.
    QTimer fallback;
    fallback.setSingleShot(true);
    fallback.callOnTimeout([] { QCoreApplication::exit(1); });
    fallback.start(20000);
    const int exit_code = QCoreApplication::exec();

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record_), 20000);
    KillOnExit cleanup{read_record(record_).pid};
    QCOMPARE(exit_code, 0);
    QVERIFY(!open_at_return);
    QVERIFY2(!ended_before_return, "kept waiting after the application quit");
    QVERIFY(abandoned);
    QTRY_VERIFY_WITH_TIMEOUT(fake_done(), 30000);
    cleanup.pid = -1;
  }

  void a_termination_signal_is_reported_on_the_qt_thread_data() {
    QTest::addColumn<int>("signal_number");
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
  }

  void a_termination_signal_is_reported_on_the_qt_thread() {
    QFETCH(int, signal_number);
    struct sigaction previous {};
    previous.sa_handler = previous_handler;
    sigemptyset(&previous.sa_mask);
    struct sigaction saved {};
    QCOMPARE(::sigaction(signal_number, &previous, &saved), 0);
    previous_handler_calls = 0;

    {
      SignalBridge bridge;
      QSignalSpy spy(&bridge, &SignalBridge::terminationRequested);
      QCOMPARE(::raise(signal_number), 0);
      QTRY_COMPARE(spy.count(), 1);
      QCOMPARE(int(previous_handler_calls), 0);
    }

    // Once the bridge is gone the handler it replaced is back.
    QCOMPARE(::raise(signal_number), 0);
    QCOMPARE(int(previous_handler_calls), 1);
    ::sigaction(signal_number, &saved, nullptr);
  }
};

}  // namespace sw48230

QTEST_MAIN(sw48230::StartProgramTest)
#include "start_program_test.moc"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <deque>

#include "fakes.h"
#include "gui/app/tf_main.h"
#include "gui/i18n/version_check.h"
#include "platform/http_getter.h"
#include "screen_test.h"

using namespace sw48230;

namespace {

// Short, so that a server that keeps silent does not hold the test up.
constexpr int Test_Timeout_Ms = 300;

// A version service on the loopback interface: records the head of every
// request and answers each with the next queued reply, or keeps silent
// when the queue is empty.
class VersionServer : public QObject {
 public:
  VersionServer() {
    QVERIFY(server_.listen(QHostAddress::LocalHost, 0));
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
      }
    });
  }
  QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }

  std::deque<QByteArray> replies;
  QList<QByteArray> requests;

 private:
  void serve(QTcpSocket* socket) {
    QByteArray& received = pending_[socket];
    received += socket->readAll();
    const auto end = received.indexOf("\r\n\r\n");
    if (end < 0) return;
    requests.append(received.left(end));
    if (replies.empty()) return;
    socket->write(replies.front());
    replies.pop_front();
    socket->disconnectFromHost();
  }

  QTcpServer server_;
  QHash<QTcpSocket*, QByteArray> pending_;
};

QByteArray ok(const QByteArray& body) { return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body; }

using test::find;

// A program directory whose settings allow the automatic check.
void allow_update_check(const test::ProgramDir& program) {
  program.write(
      "Velstrom.xml",
      "<C><lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update></lastinternet></C>");
}

void click_link(QLabel* label) { QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, label->height() / 2)); }

}  // namespace

class UpdateCheckTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private slots:
  void theRequestIsAPlainHttp10GetWithTheFixedHeaders() {
    VersionServer server;
    server.replies = {ok("VER. 2.010")};
    QtHttpGetter http(server.host().toStdString(), Test_Timeout_Ms);
    QVERIFY(Check_Version(http));

    QCOMPARE(server.requests.size(), 1);
    const QList<QByteArray> lines = server.requests.front().split('\n');
    QCOMPARE(lines.front(), QByteArray("GET /home/download/GetversionSW.asp?nomesw=SW48230 HTTP/1.0\r"));
    QMap<QByteArray, QByteArray> headers;
    for (const QByteArray& line : lines.mid(1)) {
      const auto colon = line.indexOf(':');
      QVERIFY2(colon > 0, line.constData());
      headers.insert(line.left(colon).toLower(), line.mid(colon + 1).trimmed());
    }
    QCOMPARE(headers.value("accept"), QByteArray("text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
    QCOMPARE(headers.value("user-agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
    QCOMPARE(headers.value("host"), server.host().toLatin1());
    QVERIFY(!headers.contains("cookie"));
    QCOMPARE(headers.size(), 3);
  }

  void onlyANewerVersionIsOffered_data() {
    QTest::addColumn<QByteArray>("reply");  // empty: the server keeps silent
    QTest::addColumn<bool>("newer");
    QTest::newRow("VER. 2.010") << ok("VER. 2.010") << true;
    QTest::newRow("VER. 2.007") << ok("VER. 2.007") << false;
    QTest::newRow("ver. 0.000") << ok("ver. 0.000") << false;
    QTest::newRow("VER. 10.01") << ok("VER. 10.01") << false;
    QTest::newRow("error status") << QByteArray("HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999") << false;
    QTest::newRow("reply beyond the cap") << ok("VER. 9.999" + QByteArray(70 * 1024, ' ')) << false;
    QTest::newRow("no answer") << QByteArray() << false;
  }
  void onlyANewerVersionIsOffered() {
    QFETCH(QByteArray, reply);
    QFETCH(bool, newer);
    VersionServer server;
    if (!reply.isEmpty()) server.replies = {reply, reply};
    QtHttpGetter http(server.host().toStdString(), Test_Timeout_Ms);
    QCOMPARE(Check_Version(http), newer);

    // The manual check of the options screen says the same.
    test::ProgramDir program;
    allow_update_check(program);
    test::FakeServices fakes;
    TFMain window(Services{fakes.boxes, fakes.programs, fakes.browser, http, fakes.serial_ports, fakes.echo,
                           fakes.clock, fakes.prober, fakes.files},
                  program.fs_path());
    window.show();
    QString shown;
    test::when_dialog_shown([&](QDialog* dialog) {
      find<QTabWidget>(dialog, "PageControl")->setCurrentWidget(find<QWidget>(dialog, "TS_Con_Options"));
      QTest::mouseClick(find<QPushButton>(dialog, "Btn_Check_Update"), Qt::LeftButton);
      auto* result = find<QLabel>(dialog, "LL_Check_Update");
      shown = result->isVisible() ? result->accessibleName() : QString();
      if (newer) {
        click_link(result);
        QCOMPARE(fakes.browser.urls, QStringList{"http://" + server.host() + "/Home/download/download.asp#HD48230"});
      }
      dialog->reject();
    });
    QTest::mouseClick(find<QPushButton>(&window, "Btn_Opz"), Qt::LeftButton);
    QCOMPARE(shown, newer ? QStringLiteral("New Version Available. Click Here for more Details")
                          : QStringLiteral("No Update Available"));
    QCOMPARE(server.requests.size(), 2);
  }

  void aRefusedConnectionReadsAsNoNewerVersion() {
    QString host;
    {
      VersionServer closed;
      host = closed.host();
    }
    QtHttpGetter http(host.toStdString(), Test_Timeout_Ms);
    QCOMPARE(http.get("/", {}), std::string());
  }

  void theWindowsKeepBeingServedWhileTheRequestWaits() {
    VersionServer silent;
    QtHttpGetter http(silent.host().toStdString(), Test_Timeout_Ms);
    bool returned = false;
    bool served_while_waiting = false;
    QTimer::singleShot(20, [&] { served_while_waiting = !returned; });
    QVERIFY(!Check_Version(http));
    returned = true;
    QVERIFY(served_while_waiting);
    QCOMPARE(silent.requests.size(), 1);
  }

  void theTimerChecksEveryTwoHoursAfterTheFirstMinute() {
    VersionServer server;
    server.replies = {ok("VER. 2.010"), ok("VER. 2.007")};
    QtHttpGetter http(server.host().toStdString(), Test_Timeout_Ms);
    test::ProgramDir program;
    allow_update_check(program);
    test::FakeServices fakes;
    TFMain window(Services{fakes.boxes, fakes.programs, fakes.browser, http, fakes.serial_ports, fakes.echo,
                           fakes.clock, fakes.prober, fakes.files},
                  program.fs_path());
    window.show();
    auto* timer = find<QTimer>(&window, "Timer_Update");
    auto* notice = find<QLabel>(&window, "LL_Update");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 60000);
    QVERIFY(!notice->isVisible());

    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QCOMPARE(server.requests.size(), 1);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->accessibleName(), QStringLiteral("New Version Available. Click Here for more Details"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 7200000);
    click_link(notice);
    QCOMPARE(fakes.browser.urls, QStringList{"http://" + server.host() + "/Home/download/download.asp#HD48230"});

    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QCOMPARE(server.requests.size(), 2);
    QVERIFY(!notice->isVisible());
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 7200000);
    QVERIFY(fakes.boxes.errors.isEmpty());
  }
};

QTEST_MAIN(UpdateCheckTest)
#include "update_check_test.moc"

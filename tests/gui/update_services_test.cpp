#include <linux/capability.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

#include "core/common/paths.h"
#include "platform/event_loop_clock.h"
#include "platform/icmp_echo.h"
#include "platform/serial_ports.h"
#include "screen_test.h"

using namespace sw48230;
using namespace std::chrono_literals;

namespace {

constexpr int No_Namespace = 77;

class SteadyClock final : public Clock {
 public:
  std::chrono::milliseconds now() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
  }
  bool pause(std::chrono::milliseconds duration) override {
    std::this_thread::sleep_for(duration);
    return true;
  }
};

bool bring_loopback_up() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return false;
  ifreq request{};
  std::strcpy(request.ifr_name, "lo");
  bool up = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
  request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
  up = up && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
  ::close(fd);
  return up;
}

bool drop_raw_sockets() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  data[0].effective &= ~(1u << CAP_NET_RAW);
  data[0].permitted &= ~(1u << CAP_NET_RAW);
  return ::syscall(SYS_capset, &header, data) == 0;
}

// Runs `body` in a child process with a network of its own that holds only
// its loopback interface, so no echo can leave the machine, with the ping
// socket groups and raw socket right given. Returns the child's exit code,
// No_Namespace where the system lets this user make no such network.
int in_own_network(const char* ping_groups, bool raw_sockets, const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::unshare(CLONE_NEWNET) != 0 || !bring_loopback_up()) ::_exit(No_Namespace);
    {
      std::ofstream groups("/proc/sys/net/ipv4/ping_group_range");
      groups << ping_groups;
      groups.close();
      if (!groups) ::_exit(No_Namespace);
    }
    if (!raw_sockets && !drop_raw_sockets()) ::_exit(No_Namespace);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// The services of the device update that talk to the system. Echoes go to
// the loopback address only.
class UpdateServicesTest : public sw48230::test::ScreenTest {
  Q_OBJECT

 private:
  // Opens an echo to 127.0.0.1, or skips where the system allows no ICMP
  // socket to this user.
  static bool open_loopback(SystemIcmpEcho& echo) {
    const std::optional<Failure> failure = echo.open("127.0.0.1");
    if (!failure) return true;
    qWarning("%s", failure->reason.c_str());
    return false;
  }

 private slots:
  void theLoopbackAddressIsFound() {
    SystemIcmpEcho echo;
    if (!open_loopback(echo)) QSKIP("no ICMP socket allowed here");
    echo.close();
    EventLoopClock clock;
    const Result<PingOutcome> result = Run_Ping(echo, clock, "127.0.0.1");
    QVERIFY2(result.ok(), result.ok() ? "" : result.failure().reason.c_str());
    QCOMPARE(int(*result), int(PingOutcome::Found));
  }

  void aReplyIsReportedOnceAndOnlyWhileOpen() {
    SystemIcmpEcho echo;
    if (!open_loopback(echo)) QSKIP("no ICMP socket allowed here");
    QVERIFY(!echo.send(7, "127.0.0.1", 1024));
    EchoReply reply = EchoReply::None;
    QElapsedTimer waited;
    waited.start();
    while ((reply = echo.poll()) == EchoReply::None && waited.elapsed() < 5000) QTest::qWait(10);
    QCOMPARE(int(reply), int(EchoReply::With_Data));
    // Reported once; nothing more until the next request.
    QCOMPARE(int(echo.poll()), int(EchoReply::None));

    echo.close();
    QCOMPARE(int(echo.poll()), int(EchoReply::None));
    const std::optional<Failure> closed = echo.send(10, "127.0.0.1", 64);
    QVERIFY(closed);
    QVERIFY(!closed->reason.empty());
    QCOMPARE(QString::fromStdString(closed->name), QStringLiteral("127.0.0.1"));
  }

  // Desktop systems allow ping sockets to every user; the raw socket is only
  // the fallback where they do not.
  void eachKindOfSocketIsUsedWhenAllowed_data() {
    QTest::addColumn<QByteArray>("ping_groups");
    QTest::addColumn<bool>("raw_sockets");
    QTest::addColumn<bool>("found");
    QTest::newRow("ping socket only") << QByteArray("0 2147483647") << false << true;
    QTest::newRow("raw socket only") << QByteArray("1 0") << true << true;
    QTest::newRow("neither") << QByteArray("1 0") << false << false;
  }
  void eachKindOfSocketIsUsedWhenAllowed() {
    QFETCH(QByteArray, ping_groups);
    QFETCH(bool, raw_sockets);
    QFETCH(bool, found);
    const int result = in_own_network(ping_groups.constData(), raw_sockets, [found] {
      SystemIcmpEcho echo;
      SteadyClock clock;
      const Result<PingOutcome> ping = Run_Ping(echo, clock, "127.0.0.1");
      if (found) return ping.ok() && *ping == PingOutcome::Found;
      // The reason tells the user both ways to allow it.
      return !ping.ok() && ping.failure().reason.find("ping_group_range") != std::string::npos &&
             ping.failure().reason.find("CAP_NET_RAW") != std::string::npos;
    });
    if (result == No_Namespace) QSKIP("no network namespace for this user");
    QCOMPARE(result, 0);
  }

  void serialDevicesAreListedByFamilyAndNumber() {
    QTemporaryDir dev;
    for (const char* name :
         {"ttyUSB1", "ttyS10", "ttyUSB0", "ttyS2", "ttyACM0", "tty0", "ttyUSBx", "console", "ttyS"}) {
      QFile file(dev.filePath(QString::fromLatin1(name)));
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // A device that cannot be opened (here a folder) is left out.
    QVERIFY(QDir(dev.path()).mkdir(QStringLiteral("ttyS3")));

    SystemSerialPorts ports(dev.path().toStdString());
    std::vector<SerialPort> expected;
    for (const char* name : {"ttyACM0", "ttyS2", "ttyS10", "ttyUSB0", "ttyUSB1"}) {
      expected.push_back({name, dev.filePath(QString::fromLatin1(name)).toStdString()});
    }
    QVERIFY(ports.EnumPorts() == expected);
    QVERIFY(SystemSerialPorts(dev.filePath(QStringLiteral("missing")).toStdString()).EnumPorts().empty());
  }

  void aPauseKeepsTheEventLoopRunning() {
    EventLoopClock clock;
    bool fired = false;
    QTimer::singleShot(5, this, [&] { fired = true; });
    const std::chrono::milliseconds before = clock.now();
    QVERIFY(clock.pause(50ms));
    QVERIFY(clock.now() - before >= 50ms);
    QVERIFY(fired);
  }

  // A termination signal quits the application while a ping waits: the
  // pause must say so at once instead of every later pause returning
  // immediately and the ping spinning through its ten seconds.
  void aPauseEndsWhenTheApplicationQuits() {
    EventLoopClock clock;
    bool completed = true;
    QElapsedTimer elapsed;
    QTimer::singleShot(0, this, [&] {
      QTimer::singleShot(50, qApp, &QCoreApplication::quit);
      elapsed.start();
      completed = clock.pause(60s);
    });
    QTimer fallback;  // only so that a broken pause fails instead of hanging
    fallback.setSingleShot(true);
    fallback.callOnTimeout([] { QCoreApplication::exit(1); });
    fallback.start(30000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!completed);
    QVERIFY(elapsed.elapsed() < 30000);
  }
};

QTEST_MAIN(UpdateServicesTest)
#include "update_services_test.moc"

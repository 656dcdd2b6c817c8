#include "platform/signal_bridge.h"

#include <atomic>

#ifdef _WIN32
#include <QMetaObject>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#endif

namespace sw48230 {

#ifdef _WIN32

namespace {

std::atomic<SignalBridge*> active_bridge{nullptr};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI on_console_event(DWORD type) {
  switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      break;
    default:
      return FALSE;
  }
  SignalBridge* bridge = active_bridge.load();
  if (bridge == nullptr) return FALSE;
  QMetaObject::invokeMethod(
      bridge, [bridge] { emit bridge->terminationRequested(); }, Qt::QueuedConnection);
  return TRUE;
}

}  // namespace

SignalBridge::SignalBridge(QObject* parent) : QObject(parent) {
  SignalBridge* expected = nullptr;
  if (active_bridge.compare_exchange_strong(expected, this)) SetConsoleCtrlHandler(on_console_event, TRUE);
}

SignalBridge::~SignalBridge() {
  SignalBridge* expected = this;
  if (active_bridge.compare_exchange_strong(expected, nullptr)) SetConsoleCtrlHandler(on_console_event, FALSE);
}

#else

namespace {

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free fd");

// The write end of the active bridge's socket pair, -1 when there is none.
std::atomic<int> signal_fd{-1};

void on_termination_signal(int signal_number) {
  const int saved_errno = errno;
  const int fd = signal_fd.load();
  if (fd != -1) {
    const char byte = static_cast<char>(signal_number);
    // When the socket is full, signals are already waiting to be handled.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = saved_errno;
}

bool make_nonblocking_cloexec(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  const int fd_flags = ::fcntl(fd, F_GETFD);
  return flags != -1 && fd_flags != -1 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != -1 &&
         ::fcntl(fd, F_SETFD, fd_flags | FD_CLOEXEC) != -1;
}

}  // namespace

SignalBridge::SignalBridge(QObject* parent) : QObject(parent) {
  // Only one bridge can own the process's handlers; a second one stays idle.
  if (signal_fd.load() != -1) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds_) != 0) {
    fds_[0] = fds_[1] = -1;
    return;
  }
  // Close-on-exec, or every updater we start would hold the socket open.
  if (!make_nonblocking_cloexec(fds_[0]) || !make_nonblocking_cloexec(fds_[1])) {
    ::close(fds_[0]);
    ::close(fds_[1]);
    fds_[0] = fds_[1] = -1;
    return;
  }

  notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::drain);
  signal_fd.store(fds_[0]);

  struct sigaction action {};
  action.sa_handler = on_termination_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, &previous_int_);
  ::sigaction(SIGTERM, &action, &previous_term_);
  installed_ = true;
}

SignalBridge::~SignalBridge() {
  if (!installed_) return;
  // Handlers first, so none can write to a socket about to close.
  ::sigaction(SIGINT, &previous_int_, nullptr);
  ::sigaction(SIGTERM, &previous_term_, nullptr);
  signal_fd.store(-1);
  delete notifier_;
  ::close(fds_[0]);
  ::close(fds_[1]);
}

void SignalBridge::drain() {
  // Signals that came in together ask for the same thing: one emission.
  char buffer[64];
  bool any = false;
  for (;;) {
    const ssize_t n = ::read(fds_[1], buffer, sizeof buffer);
    if (n > 0) {
      any = true;
      continue;
    }
    if (n == -1 && errno == EINTR) continue;
    break;
  }
  if (any) emit terminationRequested();
}

#endif

}  // namespace sw48230
